#include "dialogs/rulesdialog.h"

#include "dialogs/completion.h"
#include "strings/texts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString dateForm = u"dd.MM.yyyy"_s;

enum DeductionColumn { TeamColumn, PointsColumn, ReasonColumn, FromColumn };

QSpinBox *pointsBox(QWidget *parent, const char *name)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1StringView(name));
    box->setRange(0, 99);
    return box;
}

QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text().trimmed() : QString();
}

// The team cell of a deduction completes from the tournament's teams.
class TeamDelegate : public QStyledItemDelegate
{
public:
    TeamDelegate(std::function<QStringList()> teams, QObject *parent)
        : QStyledItemDelegate(parent), m_teams(std::move(teams))
    {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *edit = qobject_cast<QLineEdit *>(editor))
            completeFrom(edit, m_teams());
        return editor;
    }

private:
    std::function<QStringList()> m_teams;
};

} // namespace

RulesDialog::RulesDialog(const RuleBook &book, const QStringList &tournaments,
                         const QString &current, QWidget *parent)
    : QDialog(parent), m_book(book)
{
    const Texts &t = texts();
    setWindowTitle(t.rulesTitle);
    setObjectName(u"RulesDialog"_s);

    m_tournament = new QComboBox(this);
    m_tournament->setObjectName(u"tournament"_s);
    m_tournament->addItems(tournaments);
    m_preset = new QComboBox(this);
    m_preset->setObjectName(u"preset"_s);
    m_preset->addItem(t.presetCustom);
    for (const RulesPreset &preset : rulesPresets())
        m_preset->addItem(preset.name);

    m_win = pointsBox(this, "win");
    m_draw = pointsBox(this, "draw");
    m_loss = pointsBox(this, "loss");
    auto *points = new QHBoxLayout;
    for (QSpinBox *box : {m_win, m_draw, m_loss})
        points->addWidget(box);
    points->addStretch();

    m_chain = new QListWidget(this);
    m_chain->setObjectName(u"chain"_s);
    auto *up = new QPushButton(t.rulesUp, this);
    auto *down = new QPushButton(t.rulesDown, this);
    up->setObjectName(u"up"_s);
    down->setObjectName(u"down"_s);
    auto *chainButtons = new QVBoxLayout;
    chainButtons->addWidget(up);
    chainButtons->addWidget(down);
    chainButtons->addStretch();
    auto *chainRow = new QHBoxLayout;
    chainRow->addWidget(m_chain);
    chainRow->addLayout(chainButtons);

    m_deductions = new QTableWidget(0, 4, this);
    m_deductions->setObjectName(u"deductions"_s);
    m_deductions->setHorizontalHeaderLabels(
        {t.hDeductionTeam, t.hDeductionPoints, t.hDeductionReason, t.hDeductionFrom});
    m_deductions->horizontalHeader()->setStretchLastSection(true);
    m_deductions->setItemDelegateForColumn(
        TeamColumn,
        new TeamDelegate([this] { return m_teams ? m_teams(m_current) : QStringList(); }, this));
    m_deductions->setColumnWidth(TeamColumn, 160);
    m_deductions->setColumnWidth(PointsColumn, 50);
    m_deductions->setColumnWidth(ReasonColumn, 220);
    auto *add = new QPushButton(t.rulesAddDeduction, this);
    auto *remove = new QPushButton(t.rulesRemoveDeduction, this);
    add->setObjectName(u"addDeduction"_s);
    remove->setObjectName(u"removeDeduction"_s);
    auto *deductionButtons = new QHBoxLayout;
    deductionButtons->addWidget(add);
    deductionButtons->addWidget(remove);
    deductionButtons->addStretch();

    auto *form = new QFormLayout;
    form->addRow(t.lRulesTournament, m_tournament);
    form->addRow(t.lRulesPreset, m_preset);
    form->addRow(t.lRulesPoints, points);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(t.lRulesChain, this));
    layout->addLayout(chainRow);
    layout->addWidget(new QLabel(t.lRulesDeductions, this));
    layout->addWidget(m_deductions);
    layout->addLayout(deductionButtons);
    layout->addWidget(buttons);
    resize(640, 600);

    connect(buttons, &QDialogButtonBox::accepted, this, &RulesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &RulesDialog::reject);
    connect(m_preset, &QComboBox::activated, this, &RulesDialog::choosePreset);
    for (QSpinBox *box : {m_win, m_draw, m_loss}) {
        connect(box, &QSpinBox::valueChanged, this, [this] {
            if (!m_loading)
                showPresetOf(shownRules(nullptr));
        });
    }
    connect(m_chain, &QListWidget::itemChanged, this, [this] {
        if (!m_loading)
            showPresetOf(shownRules(nullptr));
    });
    connect(up, &QPushButton::clicked, this, [this] { moveCriterion(-1); });
    connect(down, &QPushButton::clicked, this, [this] { moveCriterion(1); });
    connect(add, &QPushButton::clicked, this, [this] {
        addDeduction(Deduction());
        m_deductions->setCurrentCell(m_deductions->rowCount() - 1, TeamColumn);
        m_deductions->editItem(m_deductions->item(m_deductions->rowCount() - 1, TeamColumn));
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (m_deductions->currentRow() >= 0)
            m_deductions->removeRow(m_deductions->currentRow());
    });
    connect(m_tournament, &QComboBox::currentTextChanged, this, [this](const QString &name) {
        if (m_loading || name == m_current)
            return;
        if (!keep()) {
            // The incomplete row stays in view to be mended.
            const QSignalBlocker blocker(m_tournament);
            m_tournament->setCurrentText(m_current);
            return;
        }
        load(name);
    });

    const QString first = tournaments.contains(current) ? current : tournaments.value(0);
    m_tournament->setCurrentText(first);
    load(first);
}

void RulesDialog::setMessageSink(std::function<void(QWidget *, const QString &)> sink)
{
    m_sink = std::move(sink);
}

void RulesDialog::setTeamNames(std::function<QStringList(const QString &)> teams)
{
    m_teams = std::move(teams);
}

void RulesDialog::accept()
{
    if (keep())
        QDialog::accept();
}

void RulesDialog::load(const QString &tournament)
{
    m_loading = true;
    m_current = tournament;
    const CompetitionRules rules = m_book.rulesFor(tournament);
    showScheme(rules);
    m_deductions->setRowCount(0);
    for (const Deduction &deduction : rules.deductions)
        addDeduction(deduction);
    showPresetOf(rules);
    m_loading = false;
}

void RulesDialog::showScheme(const CompetitionRules &rules)
{
    m_win->setValue(rules.win);
    m_draw->setValue(rules.draw);
    m_loss->setValue(rules.loss);

    // The chain first, checked, in its order; then the criteria it leaves out.
    m_chain->clear();
    QList<TieBreak> order;
    for (TieBreak criterion : rules.tieBreaks) {
        if (criterion != TieBreak::Points && !order.contains(criterion))
            order.append(criterion);
    }
    const qsizetype used = order.size();
    for (TieBreak criterion : allTieBreaks()) {
        if (criterion != TieBreak::Points && !order.contains(criterion))
            order.append(criterion);
    }
    for (qsizetype i = 0; i < order.size(); ++i) {
        auto *item = new QListWidgetItem(tieBreakName(order.at(i)), m_chain);
        item->setData(Qt::UserRole, int(order.at(i)));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(i < used ? Qt::Checked : Qt::Unchecked);
    }
}

CompetitionRules RulesDialog::shownRules(int *badRow) const
{
    CompetitionRules rules;
    rules.win = m_win->value();
    rules.draw = m_draw->value();
    rules.loss = m_loss->value();
    rules.tieBreaks.clear();
    for (int i = 0; i < m_chain->count(); ++i) {
        const QListWidgetItem *item = m_chain->item(i);
        if (item->checkState() == Qt::Checked)
            rules.tieBreaks.append(TieBreak(item->data(Qt::UserRole).toInt()));
    }
    for (int row = 0; row < m_deductions->rowCount(); ++row) {
        Deduction d;
        d.team = cellText(m_deductions, row, TeamColumn);
        const QString points = cellText(m_deductions, row, PointsColumn);
        d.reason = cellText(m_deductions, row, ReasonColumn);
        const QString from = cellText(m_deductions, row, FromColumn);
        if (d.team.isEmpty() && points.isEmpty() && d.reason.isEmpty() && from.isEmpty())
            continue; // an untouched new row
        bool number = false;
        d.points = points.toInt(&number);
        d.from = QDate::fromString(from, dateForm);
        if (d.team.isEmpty() || !number || d.points < 1 || d.points > 999 ||
            (!from.isEmpty() && !d.from.isValid())) {
            if (badRow && *badRow < 0)
                *badRow = row;
            continue;
        }
        rules.deductions.append(d);
    }
    return rules;
}

bool RulesDialog::keep()
{
    if (m_current.isEmpty())
        return true;
    int badRow = -1;
    const CompetitionRules rules = shownRules(&badRow);
    if (badRow >= 0) {
        m_deductions->setCurrentCell(badRow, TeamColumn);
        if (m_sink)
            m_sink(this, texts().badDeductionText.arg(badRow + 1));
        return false;
    }
    m_book.setRules(m_current, rules);
    return true;
}

void RulesDialog::choosePreset(int index)
{
    const QList<RulesPreset> presets = rulesPresets();
    if (index < 1 || index > presets.size())
        return;
    // A ready set replaces the points and the chain; the deductions stay as typed.
    m_loading = true;
    showScheme(presets.at(index - 1).rules);
    m_loading = false;
    showPresetOf(shownRules(nullptr));
}

void RulesDialog::showPresetOf(const CompetitionRules &rules)
{
    const QList<RulesPreset> presets = rulesPresets();
    int index = 0;
    for (qsizetype i = 0; i < presets.size(); ++i) {
        if (presets.at(i).rules.sameScheme(rules)) {
            index = int(i) + 1;
            break;
        }
    }
    const QSignalBlocker blocker(m_preset);
    m_preset->setCurrentIndex(index);
}

void RulesDialog::moveCriterion(int step)
{
    const int row = m_chain->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_chain->count())
        return;
    QListWidgetItem *item = m_chain->takeItem(row);
    m_chain->insertItem(target, item);
    m_chain->setCurrentRow(target);
    showPresetOf(shownRules(nullptr));
}

void RulesDialog::addDeduction(const Deduction &deduction)
{
    const int row = m_deductions->rowCount();
    m_deductions->insertRow(row);
    m_deductions->setItem(row, TeamColumn, new QTableWidgetItem(deduction.team));
    m_deductions->setItem(
        row, PointsColumn,
        new QTableWidgetItem(deduction.points ? QString::number(deduction.points) : QString()));
    m_deductions->setItem(row, ReasonColumn, new QTableWidgetItem(deduction.reason));
    m_deductions->setItem(row, FromColumn, new QTableWidgetItem(deduction.from.toString(dateForm)));
}
