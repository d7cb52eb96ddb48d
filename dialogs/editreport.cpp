#include "dialogs/editreport.h"

#include "dialogs/completion.h"
#include "dialogs/dialogprovider.h"
#include "dialogs/reporttables.h"
#include "model/matchfields.h"
#include "model/matchstore.h"
#include "strings/texts.h"
#include "strings/windowtexts.h"

#include <QCompleter>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTableWidget>

#include <algorithm>
#include <tuple>
#include <utility>

namespace {

const QLatin1StringView dateFormat("dd.MM.yyyy");

QLabel *addLabel(QWidget *parent, const char *name, const QString &text, int x, int y, int w, int h)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1StringView(name));
    // Never narrower than its text, so that no caption is cut.
    label->setGeometry(x, y, std::max(w, label->sizeHint().width()), h);
    return label;
}

// A section heading of the line-up, events and comments tabs.
QLabel *addHeading(QWidget *parent, const char *name, const QString &text, int x, int y, int w,
                   int h)
{
    QLabel *label = addLabel(parent, name, text, x, y, w, h);
    QFont font = label->font();
    font.setPointSize(9);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLineEdit *addField(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1StringView(name));
    field->setGeometry(x, y, w, h);
    return field;
}

QTableWidget *addTable(QWidget *parent, const char *name, int x, int y, int w, int h)
{
    auto *table = new QTableWidget(parent);
    table->setObjectName(QLatin1StringView(name));
    table->setGeometry(x, y, w, h);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Compact rows, so that a full line-up of eleven shows without scrolling.
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    return table;
}

// The buttons under a table: add, remove, move up, move down.
void addRowButtons(QWidget *parent, QTableWidget *table, int x, int y)
{
    const Texts &t = texts();
    const std::tuple<const QString *, const char *, std::function<void()>> buttons[] = {
        {&t.editAddRow, "Add", [table] { reporttables::appendRow(table); }},
        {&t.editRemoveRows, "Remove", [table] { reporttables::removeSelectedRows(table); }},
        {&t.editMoveUp, "Up", [table] { reporttables::moveCurrentRow(table, -1); }},
        {&t.editMoveDown, "Down", [table] { reporttables::moveCurrentRow(table, 1); }}};
    for (const auto &[label, name, action] : buttons) {
        auto *button = new QPushButton(*label, parent);
        button->setObjectName(table->objectName() + QLatin1StringView(name));
        button->setGeometry(x, y, 86, 24);
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
        QObject::connect(button, &QPushButton::clicked, table, action);
        x += 90;
    }
}

} // namespace

EditReport::EditReport(MatchStore &store, const QString &fileName, DialogProvider &dialogs,
                       QWidget *parent)
    : QDialog(parent), m_store(store), m_fileName(fileName), m_dialogs(dialogs)
{
    buildForm();
    if (fileName.isNull())
        return;
    const std::optional<Match> match = store.find(fileName);
    m_newReport = !match;
    if (match)
        fill(**match);
    addCompleter();
}

void EditReport::buildForm()
{
    const Texts &t = texts();
    setObjectName(QStringLiteral("EditReport"));
    setWindowTitle(t.editorWindowTitle);
    resize(796, 550);
    setMinimumSize(796, 550);
    setMaximumSize(796, 550);

    auto *outer = new QGridLayout(this);
    outer->setObjectName(QStringLiteral("gridLayout_2"));
    auto *inner = new QGridLayout();
    inner->setObjectName(QStringLiteral("gridLayout"));
    outer->addLayout(inner, 0, 0);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabReport"));
    inner->addWidget(m_tabs, 0, 0);

    m_buttonBox =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Qt::Horizontal, this);
    m_buttonBox->setObjectName(QStringLiteral("buttonBox"));
    outer->addWidget(m_buttonBox, 1, 0);
    connect(m_buttonBox, &QDialogButtonBox::accepted, this, &EditReport::accept);
    connect(m_buttonBox, &QDialogButtonBox::rejected, this, &EditReport::reject);

    auto *general = new QWidget();
    general->setObjectName(QStringLiteral("tabGeneral"));
    addLabel(general, "label", t.lTournament, 10, 10, 111, 20);
    m_championship = bind(TournamentField, addField(general, "fChampionship", 130, 10, 281, 20));
    addLabel(general, "label_14", t.lRound, 10, 40, 111, 20);
    m_round = bind(RoundField, addField(general, "fRound", 130, 40, 281, 20));
    addLabel(general, "label_2", t.lFirstTeam, 10, 70, 111, 20);
    m_team1 = bind(Team1Field, addField(general, "fTeam1", 130, 70, 281, 20));
    addLabel(general, "label_3", t.lSecondTeam, 10, 100, 101, 20);
    m_team2 = bind(Team2Field, addField(general, "fTeam2", 130, 100, 281, 20));
    addLabel(general, "label_4", t.hScore, 10, 130, 101, 20);
    m_goals1 = bind(Goals1Field, addField(general, "fGoals1", 130, 130, 41, 20));
    addLabel(general, "label_5", t.lScoreColon, 180, 130, 16, 20);
    m_goals2 = bind(Goals2Field, addField(general, "fGoals2", 190, 130, 41, 20));
    QWidget *scoreRow[] = {
        addLabel(general, "label_6", t.lExtra, 240, 130, 31, 20),
        m_extra1 = bind(Extra1Field, addField(general, "fExtra1", 280, 130, 41, 20)),
        addLabel(general, "label_7", t.lScoreColon, 330, 130, 16, 20),
        m_extra2 = bind(Extra2Field, addField(general, "fExtra2", 350, 130, 41, 20)),
        addLabel(general, "label_8", t.lPenalties, 390, 130, 31, 20),
        m_penalty1 = bind(Penalties1Field, addField(general, "fPenalty1", 430, 130, 41, 20)),
        addLabel(general, "label_9", t.lScoreColon, 480, 130, 16, 20),
        m_penalty2 = bind(Penalties2Field, addField(general, "fPenalty2", 500, 130, 41, 20)),
        addLabel(general, "label_10", t.lScoreClose, 550, 130, 16, 20)};
    // The extra time and the shoot-out follow the score in a row whose captions show whole.
    int x = 240;
    for (QWidget *widget : scoreRow) {
        widget->move(x, widget->y());
        x += widget->width() + (qobject_cast<QLabel *>(widget) ? 3 : 6);
    }
    addLabel(general, "label_15", t.hCity, 10, 160, 101, 20);
    m_city = bind(CityField, addField(general, "fCity", 130, 160, 281, 20));
    addLabel(general, "label_16", t.hStadium, 10, 190, 101, 20);
    m_stadium = bind(StadiumField, addField(general, "fStadium", 130, 190, 281, 20));
    addLabel(general, "label_17", t.lSpectators, 430, 190, 90, 20);
    m_attendance = bind(AttendanceField, addField(general, "fAttendance", 510, 190, 121, 20));
    addLabel(general, "label_18", t.hDate, 10, 220, 101, 20);
    m_date = addField(general, "fDate", 130, 220, 121, 20);
    addLabel(general, "label_21", t.hTime, 270, 220, 90, 20);
    m_time = bind(TimeField, addField(general, "fTime", 380, 220, 121, 20));
    addLabel(general, "label_19", t.hReferee, 10, 250, 101, 20);
    m_referee = bind(RefereeField, addField(general, "fReferee", 130, 250, 281, 20));
    m_tabs->addTab(general, t.tabGeneral);

    auto *squad = new QWidget();
    squad->setObjectName(QStringLiteral("tabSquad"));
    addHeading(squad, "label_12", t.lLineups, 0, 10, 761, 20);
    m_squad1 = addTable(squad, "fSquad1", 10, 40, 371, 311);
    m_squad2 = addTable(squad, "fSquad2", 390, 40, 371, 311);
    for (QTableWidget *table : {m_squad1, m_squad2}) {
        reporttables::setUpSquad(table);
        addRowButtons(squad, table, table->x(), 356);
    }
    addHeading(squad, "label_11", t.lCoaches, 0, 390, 761, 20);
    m_coach1 = bind(Coach1Field, addField(squad, "fCoach1", 10, 420, 371, 20));
    m_coach2 = bind(Coach2Field, addField(squad, "fCoach2", 390, 420, 371, 20));
    m_tabs->addTab(squad, t.tabLineups);

    auto *events = new QWidget();
    events->setObjectName(QStringLiteral("tabEvents"));
    addHeading(events, "label_13", t.lEvents, 10, 10, 751, 20);
    m_events = addTable(events, "fEvents", 10, 40, 751, 371);
    reporttables::setUpEvents(m_events);
    m_events->setItemDelegate(new reporttables::EventDelegate(
        [this] {
            return QStringList{m_team1->text(), m_team2->text()};
        },
        [this](int side) { return reporttables::squadOf(side == 0 ? m_squad1 : m_squad2); },
        m_events));
    addRowButtons(events, m_events, 10, 416);
    m_tabs->addTab(events, t.tabEvents);

    auto *comments = new QWidget();
    comments->setObjectName(QStringLiteral("tabComments"));
    addHeading(comments, "label_20", t.lComments, 20, 10, 751, 20);
    m_comments = new QPlainTextEdit(comments);
    m_comments->setObjectName(QStringLiteral("fComments"));
    m_comments->setGeometry(20, 40, 741, 421);
    m_tabs->addTab(comments, t.tabComments);

    m_tabs->setCurrentIndex(0);

    for (const MatchFieldInfo &f : matchFields) {
        if (!f.key.isPlain && m_edits[f.key.text])
            m_bindings.append({f.member, m_edits[f.key.text]});
    }

    const QList<QWidget *> order = {
        m_tabs,    m_championship, m_round,  m_team1,    m_team2,    m_goals1,
        m_goals2,  m_extra1,       m_extra2, m_penalty1, m_penalty2, m_city,
        m_stadium, m_attendance,   m_date,   m_time,     m_referee,  m_buttonBox,
        m_squad1,  m_coach1,       m_squad2, m_coach2,   m_events,   m_comments};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));
}

QLineEdit *EditReport::bind(MatchField field, QLineEdit *edit)
{
    m_edits[field] = edit;
    return edit;
}

void EditReport::fill(const MatchData &match)
{
    for (const Binding &binding : std::as_const(m_bindings))
        binding.edit->setText(match.*binding.field);
    m_date->setText(match.date.isValid() ? match.date.toString(dateFormat) : QString());

    reporttables::fillSquad(m_squad1, match.players1);
    reporttables::fillSquad(m_squad2, match.players2);
    reporttables::fillEvents(m_events, match.events);
}

void EditReport::addCompleter()
{
    // Names already in the database are offered as they are spelled there.
    completeFrom(m_championship, m_store.tournamentNames());
    completeFrom(m_round, namesIn(m_store, {RoundField}));
    const QStringList teams = namesIn(m_store, {Team1Field, Team2Field});
    completeFrom(m_team1, teams);
    completeFrom(m_team2, teams);
    completeFrom(m_city, namesIn(m_store, {CityField}));
    completeFrom(m_stadium, namesIn(m_store, {StadiumField}));
    completeFrom(m_referee, namesIn(m_store, {RefereeField}));
    const QStringList coaches = namesIn(m_store, {Coach1Field, Coach2Field});
    completeFrom(m_coach1, coaches);
    completeFrom(m_coach2, coaches);
}

bool EditReport::parseDate(const QString &text, QDate *date)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        *date = QDate();
        return true;
    }
    *date = QDate::fromString(trimmed, dateFormat);
    return date->isValid();
}

bool EditReport::differs(const MatchData &match, const QDate &date) const
{
    if (match.date != date)
        return true;
    if (match.players1 != reporttables::squadOf(m_squad1) ||
        match.players2 != reporttables::squadOf(m_squad2) ||
        match.events != reporttables::eventsOf(m_events))
        return true;
    for (const Binding &binding : m_bindings) {
        if (match.*binding.field != binding.edit->text())
            return true;
    }
    return false;
}

void EditReport::storeInto(MatchData &match, const QDate &date) const
{
    // Only changed fields are written: an untouched field keeps its exact value (null stays
    // null, as the database file tells null from empty).
    for (const Binding &binding : m_bindings) {
        const QString text = binding.edit->text();
        if (match.*binding.field != text)
            match.*binding.field = text;
    }
    match.date = date;
    match.players1 = reporttables::squadOf(m_squad1);
    match.players2 = reporttables::squadOf(m_squad2);
    match.events = reporttables::eventsOf(m_events);
}

void EditReport::refuse(const QString &title, const QString &text, QLineEdit *field)
{
    m_dialogs.warning(this, title, text);
    m_tabs->setCurrentIndex(0);
    field->setFocus();
    field->selectAll();
}

void EditReport::accept()
{
    if (editsMatch()) {
        const Texts &t = texts();
        QDate date;
        if (!parseDate(m_date->text(), &date)) {
            refuse(t.badDateTitle, t.badDateText.arg(m_date->text()), m_date);
            return;
        }
        // Counts are read as numbers by every page: a text there would silently count as 0.
        const std::pair<QLineEdit *, const QString *> counts[] = {
            {m_goals1, &t.hScore},           {m_goals2, &t.hScore},
            {m_extra1, &t.fieldExtra},       {m_extra2, &t.fieldExtra},
            {m_penalty1, &t.fieldPenalties}, {m_penalty2, &t.fieldPenalties},
            {m_attendance, &t.lSpectators}};
        for (const auto &[field, label] : counts) {
            const QString text = field->text();
            const bool digits = std::all_of(text.cbegin(), text.cend(),
                                            [](QChar c) { return c >= u'0' && c <= u'9'; });
            if (!digits) {
                refuse(windowTexts().badNumberTitle, t.notDigitsText.arg(*label, text), field);
                return;
            }
        }
        // A cell still being edited counts with what it shows.
        for (QTableWidget *table : {m_squad1, m_squad2, m_events}) {
            if (QWidget *editor = table->indexWidget(table->currentIndex()))
                QMetaObject::invokeMethod(table, "commitData", Q_ARG(QWidget *, editor));
        }
        if (!checkEvents())
            return;
        // The database has no place for comments: they go only when the user says so.
        if (!m_comments->toPlainText().trimmed().isEmpty() &&
            m_dialogs.question(this, windowTexts().commentsTitle, windowTexts().commentsNotKept,
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) != QMessageBox::Yes) {
            m_tabs->setCurrentWidget(m_comments->parentWidget());
            m_comments->setFocus();
            return;
        }
        if (m_newReport) {
            Match match;
            match.edit().fileName = m_fileName;
            storeInto(match.edit(), date);
            m_store.add(match);
            m_changed = true;
        } else {
            // Compare first, so that an OK without changes leaves the record shared and unmarked.
            const qsizetype index = m_store.indexOf(m_fileName);
            Match match = index >= 0 ? m_store.match(index) : Match();
            if (index >= 0 && differs(*match, date)) {
                storeInto(match.edit(), date);
                m_store.replace(index, match);
                m_changed = true;
            }
        }
    }
    QDialog::accept();
}

void EditReport::reject()
{
    // Typed data goes only after a question.
    if (hasEdits() &&
        m_dialogs.question(this, windowTexts().discardTitle, windowTexts().discardText,
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    QDialog::reject();
}

bool EditReport::hasEdits() const
{
    if (!editsMatch())
        return false;
    if (!m_comments->toPlainText().trimmed().isEmpty())
        return true;
    QDate date;
    const bool dateRead = parseDate(m_date->text(), &date);
    const std::optional<Match> match = m_newReport ? std::nullopt : m_store.find(m_fileName);
    if (!match)
        return !m_date->text().trimmed().isEmpty() || differs(MatchData(), QDate());
    return !dateRead || differs(**match, date);
}

bool EditReport::checkEvents()
{
    const Texts &t = texts();
    static const QRegularExpression minute(QStringLiteral("^\\s*\\d+\\s*(\\+\\s*\\d+\\s*)?$"));
    const QStringList teams{m_team1->text(), m_team2->text()};
    using namespace reporttables;
    for (int row = 0; row < m_events->rowCount(); ++row) {
        const auto text = [&](int column) {
            const QTableWidgetItem *item = m_events->item(row, column);
            return item ? item->text() : QString();
        };
        bool blank = true;
        for (int column = 0; column < EventColumns; ++column)
            blank = blank && text(column).trimmed().isEmpty();
        if (blank)
            continue;
        const QString number = QString::number(row + 1);
        const QString time = text(EventTime);
        if (!time.trimmed().isEmpty() && !minute.match(time).hasMatch()) {
            refuseCell(t.editBadMinute.arg(number, time), row, EventTime);
            return false;
        }
        const EventKind kind = eventKind(text(EventType));
        switch (kind) {
        case EventKind::Goal:
        case EventKind::PenaltyGoal:
        case EventKind::OwnGoal:
        case EventKind::Caution:
        case EventKind::SendingOff:
        case EventKind::SecondCaution:
            if (!teams.contains(text(EventTeam)) || text(EventTeam).isEmpty()) {
                refuseCell(t.editForeignTeam.arg(number, text(EventTeam)), row, EventTeam);
                return false;
            }
            break;
        case EventKind::Substitution:
            if (text(EventPlayer2).trimmed().isEmpty()) {
                refuseCell(t.editNoPlayerOn.arg(number), row, EventPlayer2);
                return false;
            }
            break;
        default:
            break;
        }
    }
    return true;
}

void EditReport::refuseCell(const QString &text, int row, int column)
{
    m_dialogs.warning(this, texts().editCheckTitle, text);
    m_tabs->setCurrentWidget(m_events->parentWidget());
    m_events->setCurrentCell(row, column);
    m_events->setFocus();
}
