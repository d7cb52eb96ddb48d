#pragma once

#include "model/match.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStyledItemDelegate>

#include <functional>

class QTableWidget;
class QWidget;

// The editable line-up and event tables of the report editor. Each row remembers the entry it was
// filled from, so that a cell left as it was keeps its exact value (a null text stays null) while
// rows are added, removed and moved around it.
namespace reporttables {

enum SquadColumn { SquadName, SquadId, SquadColumns };
enum EventColumn {
    EventTime,
    EventType,
    EventTeam,
    EventPlayer,
    EventPlayerId,
    EventPlayer2,
    EventPlayerId2,
    EventComment,
    EventColumns
};

void setUpSquad(QTableWidget *table);
void setUpEvents(QTableWidget *table);
void fillSquad(QTableWidget *table, const QList<PlayerEntry> &players);
void fillEvents(QTableWidget *table, const QList<MatchEvent> &events);
// The entries of the tables; rows with every cell blank are left out.
QList<PlayerEntry> squadOf(const QTableWidget *table);
QList<MatchEvent> eventsOf(const QTableWidget *table);

// Appends an empty row after the last and starts editing its first cell.
void appendRow(QTableWidget *table);
// Removes the rows that hold a selected cell.
void removeSelectedRows(QTableWidget *table);
// Moves the current row one place up (-1) or down (+1), keeping it current.
void moveCurrentRow(QTableWidget *table, int step);

// The keys of a table: Enter on the last row adds a row after it, Delete removes the selected
// rows (neither while a cell is being edited).
class TableKeys : public QObject
{
    Q_OBJECT
public:
    explicit TableKeys(QTableWidget *table);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTableWidget *m_table;
};

// The editors of the event cells: the kind as a choice of the eight kinds or free text, the team
// as a choice of the match's two teams, players completed from that team's line-up and earlier
// substitutes; a player of the line-up chosen into a row without an ID brings his ID along.
class EventDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // teams gives the two team names as the form holds them now; squad(0 or 1) a line-up.
    EventDelegate(std::function<QStringList()> teams, std::function<QList<PlayerEntry>(int)> squad,
                  QObject *parent);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

private:
    QStringList playerNames(const QModelIndex &index) const;
    // The line-up of the team named in the row of index, or none.
    QList<PlayerEntry> squadOfRow(const QModelIndex &index) const;

    std::function<QStringList()> m_teams;
    std::function<QList<PlayerEntry>(int)> m_squad;
};

} // namespace reporttables
