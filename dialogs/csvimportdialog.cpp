#include "dialogs/csvimportdialog.h"

#include "strings/archivetexts.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// The season start is a day of a year without February 29, which not every year has.
constexpr int anyYear = 2001;

} // namespace

CsvImportDialog::CsvImportDialog(const QString &fileName, QWidget *parent)
    : QDialog(parent), m_baseName(QFileInfo(fileName).completeBaseName())
{
    const ArchiveTexts &t = archiveTexts();
    setWindowTitle(t.csvOptionsTitle);
    m_tournament = new QLineEdit(csvDefaultTournament, this);
    m_tournament->setObjectName(QStringLiteral("tournament"));
    m_tournament->setMinimumWidth(m_tournament->fontMetrics().horizontalAdvance(u'x') * 40);
    m_seasonStart = new QDateEdit(QDate(anyYear, 7, 1), this);
    m_seasonStart->setObjectName(QStringLiteral("seasonStart"));
    m_seasonStart->setDateRange(QDate(anyYear, 1, 1), QDate(anyYear, 12, 31));
    // "1 июля" whatever the system's language.
    m_seasonStart->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
    m_seasonStart->setDisplayFormat(QStringLiteral("d MMMM"));
    m_example = new QLabel(this);
    m_example->setObjectName(QStringLiteral("example"));
    const auto hint = [this](const QString &text) {
        auto *label = new QLabel(text, this);
        label->setWordWrap(true);
        QFont small = label->font();
        small.setPointSizeF(small.pointSizeF() * 0.9);
        label->setFont(small);
        return label;
    };

    auto *form = new QFormLayout;
    form->addRow(t.csvTournamentLabel, m_tournament);
    form->addRow(QString(), hint(t.csvTournamentHint));
    form->addRow(t.csvSeasonStartLabel, m_seasonStart);
    form->addRow(QString(), hint(t.csvSeasonHint));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_example);
    layout->addWidget(buttons);

    connect(m_tournament, &QLineEdit::textChanged, this, &CsvImportDialog::updateExample);
    connect(m_seasonStart, &QDateEdit::dateChanged, this, &CsvImportDialog::updateExample);
    updateExample();
}

CsvImportOptions CsvImportDialog::options() const
{
    CsvImportOptions options;
    options.tournament = m_tournament->text();
    options.seasonStart = SeasonStart{m_seasonStart->date().month(), m_seasonStart->date().day()};
    return options;
}

void CsvImportDialog::updateExample()
{
    const CsvImportOptions chosen = options();
    const QString season = csvSeason(QDate(2019, 8, 10), chosen.seasonStart);
    m_example->setText(
        archiveTexts().csvExample.arg(csvTournament(chosen.tournament, m_baseName, season)));
}
