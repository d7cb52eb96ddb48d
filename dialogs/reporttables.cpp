#include "dialogs/reporttables.h"

#include "strings/texts.h"

#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableWidget>

#include <algorithm>

namespace reporttables {

namespace {

// Item data of a row's first cell: the entry the row was filled from, as an index into the list
// kept on the table.
constexpr int originRole = Qt::UserRole + 1;
const char *const originsProperty = "reportOrigins";

void setUp(QTableWidget *table, const QStringList &headers)
{
    table->setColumnCount(int(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    table->setSelectionBehavior(QAbstractItemView::SelectItems);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setTabKeyNavigation(true);
    table->horizontalHeader()->setStretchLastSection(true);
    table->installEventFilter(new TableKeys(table));
}

void fillRow(QTableWidget *table, int row, const QStringList &cells, int origin)
{
    for (int column = 0; column < cells.size(); ++column) {
        auto *item = new QTableWidgetItem(cells.at(column));
        if (column == 0)
            item->setData(originRole, origin);
        table->setItem(row, column, item);
    }
}

QString cellText(const QTableWidget *table, int row, int column)
{
    const QTableWidgetItem *item = table->item(row, column);
    return item ? item->text() : QString();
}

int originOf(const QTableWidget *table, int row)
{
    const QTableWidgetItem *item = table->item(row, 0);
    return item && item->data(originRole).isValid() ? item->data(originRole).toInt() : -1;
}

bool blankRow(const QTableWidget *table, int row)
{
    for (int column = 0; column < table->columnCount(); ++column) {
        if (!cellText(table, row, column).trimmed().isEmpty())
            return false;
    }
    return true;
}

// The text of a cell as stored: the original value when the cell still reads the same (null
// stays null), else the typed text, an empty cell being a null text as an import leaves it.
QString stored(const QTableWidget *table, int row, int column, const QString *original)
{
    const QString text = cellText(table, row, column);
    if (original && *original == text)
        return *original;
    return text.isEmpty() ? QString() : text;
}

template <typename Entry> QList<Entry> originsOf(const QTableWidget *table)
{
    return table->property(originsProperty).value<QList<Entry>>();
}

} // namespace

void setUpSquad(QTableWidget *table)
{
    setUp(table, {texts().hPlayer, texts().hPlayerId});
    table->setRowCount(11);
}

void setUpEvents(QTableWidget *table)
{
    const Texts &t = texts();
    setUp(table, {t.hTime, t.hEventType, t.hTeam, t.hPlayer, t.hPlayerId, t.hPlayerOff,
                  t.hPlayer2Id, t.hComment});
    const int widths[] = {45, 140, 115, 105, 55, 105, 75};
    // Never narrower than the header, nor the kind column than the longest kind and the arrow of
    // its choice, so that no text is cut.
    const QFontMetrics metrics = table->fontMetrics();
    int kindWidth = 0;
    for (int kind = 0; kind < int(EventKind::Unknown); ++kind)
        kindWidth = std::max(kindWidth, metrics.horizontalAdvance(eventKindText(EventKind(kind))));
    for (int column = 0; column < 7; ++column) {
        int width = std::max(widths[column], table->horizontalHeader()->sectionSizeHint(column));
        if (column == EventType)
            width = std::max(width, kindWidth + 40);
        table->setColumnWidth(column, width);
    }
}

void fillSquad(QTableWidget *table, const QList<PlayerEntry> &players)
{
    table->setProperty(originsProperty, QVariant::fromValue(players));
    table->setRowCount(int(players.size()));
    for (int row = 0; row < players.size(); ++row)
        fillRow(table, row, {players.at(row).name, players.at(row).id}, row);
    table->setColumnWidth(SquadName, 230);
}

void fillEvents(QTableWidget *table, const QList<MatchEvent> &events)
{
    table->setProperty(originsProperty, QVariant::fromValue(events));
    table->setRowCount(int(events.size()));
    for (int row = 0; row < events.size(); ++row) {
        const MatchEvent &e = events.at(row);
        fillRow(table, row,
                {e.time, e.type, e.team, e.player, e.playerid, e.player2, e.playerid2, e.comment},
                row);
    }
}

QList<PlayerEntry> squadOf(const QTableWidget *table)
{
    const QList<PlayerEntry> origins = originsOf<PlayerEntry>(table);
    QList<PlayerEntry> players;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (blankRow(table, row))
            continue;
        const int origin = originOf(table, row);
        const PlayerEntry *was =
            origin >= 0 && origin < origins.size() ? &origins.at(origin) : nullptr;
        players.append({stored(table, row, SquadId, was ? &was->id : nullptr),
                        stored(table, row, SquadName, was ? &was->name : nullptr)});
    }
    return players;
}

QList<MatchEvent> eventsOf(const QTableWidget *table)
{
    const QList<MatchEvent> origins = originsOf<MatchEvent>(table);
    QList<MatchEvent> events;
    for (int row = 0; row < table->rowCount(); ++row) {
        if (blankRow(table, row))
            continue;
        const int origin = originOf(table, row);
        const MatchEvent *was =
            origin >= 0 && origin < origins.size() ? &origins.at(origin) : nullptr;
        const auto cell = [&](int column, QString MatchEvent::*field) {
            return stored(table, row, column, was ? &(was->*field) : nullptr);
        };
        MatchEvent e;
        e.time = cell(EventTime, &MatchEvent::time);
        e.type = cell(EventType, &MatchEvent::type);
        e.team = cell(EventTeam, &MatchEvent::team);
        e.player = cell(EventPlayer, &MatchEvent::player);
        e.playerid = cell(EventPlayerId, &MatchEvent::playerid);
        e.player2 = cell(EventPlayer2, &MatchEvent::player2);
        e.playerid2 = cell(EventPlayerId2, &MatchEvent::playerid2);
        e.comment = cell(EventComment, &MatchEvent::comment);
        events.append(e);
    }
    return events;
}

void appendRow(QTableWidget *table)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < table->columnCount(); ++column)
        table->setItem(row, column, new QTableWidgetItem());
    table->setCurrentCell(row, 0);
    table->setFocus();
    table->editItem(table->item(row, 0));
}

void removeSelectedRows(QTableWidget *table)
{
    QList<int> rows;
    for (const QModelIndex &index : table->selectionModel()->selectedIndexes())
        rows.append(index.row());
    if (rows.isEmpty() && table->currentRow() >= 0)
        rows.append(table->currentRow());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        table->removeRow(*it);
}

void moveCurrentRow(QTableWidget *table, int step)
{
    const int row = table->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= table->rowCount())
        return;
    const int column = std::max(0, table->currentColumn());
    for (int c = 0; c < table->columnCount(); ++c) {
        QTableWidgetItem *a = table->takeItem(row, c);
        QTableWidgetItem *b = table->takeItem(target, c);
        table->setItem(row, c, b);
        table->setItem(target, c, a);
    }
    table->setCurrentCell(target, column);
}

TableKeys::TableKeys(QTableWidget *table) : QObject(table), m_table(table) {}

bool TableKeys::eventFilter(QObject *watched, QEvent *event)
{
    // Keys typed into a cell's editor reach the editor (and the delegate's own filter) first.
    if (watched != m_table || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    if (key->key() == Qt::Key_Delete) {
        removeSelectedRows(m_table);
        return true;
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (m_table->currentRow() < 0 || m_table->currentRow() == m_table->rowCount() - 1) {
            appendRow(m_table);
            return true;
        }
        m_table->setCurrentCell(m_table->currentRow() + 1, std::max(0, m_table->currentColumn()));
        return true;
    }
    return false;
}

EventDelegate::EventDelegate(std::function<QStringList()> teams,
                             std::function<QList<PlayerEntry>(int)> squad, QObject *parent)
    : QStyledItemDelegate(parent), m_teams(std::move(teams)), m_squad(std::move(squad))
{}

QList<PlayerEntry> EventDelegate::squadOfRow(const QModelIndex &index) const
{
    const QString team = index.model()->index(index.row(), EventTeam).data().toString();
    const int side = team.isEmpty() ? -1 : int(m_teams().indexOf(team));
    return side >= 0 ? m_squad(side) : QList<PlayerEntry>();
}

QStringList EventDelegate::playerNames(const QModelIndex &index) const
{
    const QAbstractItemModel *model = index.model();
    const QString team = model->index(index.row(), EventTeam).data().toString();
    QStringList names;
    for (const PlayerEntry &player : squadOfRow(index))
        names.append(player.name);
    // Players who came on earlier for the same team.
    const QString substitution = texts().substitution;
    for (int row = 0; row < index.row(); ++row) {
        if (model->index(row, EventType).data().toString() == substitution &&
            model->index(row, EventTeam).data().toString() == team) {
            const QString on = model->index(row, EventPlayer2).data().toString();
            if (!on.isEmpty())
                names.append(on);
        }
    }
    names.removeAll(QString());
    names.removeDuplicates();
    return names;
}

QWidget *EventDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const
{
    switch (index.column()) {
    case EventType: {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        for (int kind = 0; kind < int(EventKind::Unknown); ++kind)
            combo->addItem(eventKindText(EventKind(kind)));
        return combo;
    }
    case EventTeam: {
        auto *combo = new QComboBox(parent);
        combo->addItem(QString());
        for (const QString &team : m_teams())
            combo->addItem(team);
        return combo;
    }
    case EventPlayer:
    case EventPlayer2: {
        auto *edit = new QLineEdit(parent);
        auto *completer = new QCompleter(playerNames(index), edit);
        completer->setCaseSensitivity(Qt::CaseInsensitive);
        completer->setFilterMode(Qt::MatchContains);
        edit->setCompleter(completer);
        return edit;
    }
    default:
        return QStyledItemDelegate::createEditor(parent, option, index);
    }
}

void EventDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        const QString text = index.data(Qt::EditRole).toString();
        int found = combo->findText(text);
        if (found < 0 && !combo->isEditable()) {
            // A team of the report that is neither of the two stays a choice until changed.
            combo->addItem(text);
            found = combo->count() - 1;
        }
        if (combo->isEditable() && found < 0)
            combo->setEditText(text);
        else
            combo->setCurrentIndex(found);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void EventDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                 const QModelIndex &index) const
{
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        model->setData(index, combo->currentText(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
    const int idColumn = index.column() == EventPlayer    ? EventPlayerId
                         : index.column() == EventPlayer2 ? EventPlayerId2
                                                          : -1;
    if (idColumn < 0)
        return;
    const QModelIndex id = model->index(index.row(), idColumn);
    if (!id.data().toString().isEmpty())
        return;
    const QString name = index.data().toString();
    for (const PlayerEntry &player : squadOfRow(index)) {
        if (player.name == name && !player.id.isEmpty()) {
            model->setData(id, player.id, Qt::EditRole);
            return;
        }
    }
}

} // namespace reporttables
