#pragma once

#include "model/matchstore.h"

class DialogProvider;

#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>

#include <array>

class QDialogButtonBox;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class QTableWidget;

// The report editor: corrects the single-valued fields and the date of the match of the store
// named fileName; for a file name no match carries it shows an empty form, and OK adds a new
// report of that name (Cancel adds nothing). A null fileName edits nothing. Line-ups and events
// are editable tables (dialogs/reporttables.h): rows are added, removed and moved; blank rows are
// left out; a cell left as it was keeps its exact value.
//
// The dialog writes into the store itself; the caller re-shows the page afterwards when
// storedChanges() says something changed.
class EditReport : public QDialog
{
    Q_OBJECT
public:
    // Refusals are shown through dialogs, the window's seam for every question to the user.
    EditReport(MatchStore &store, const QString &fileName, DialogProvider &dialogs,
               QWidget *parent = nullptr);

    // True when the form shows a stored match (the link names one); OK then writes into it.
    bool editsMatch() const { return !m_fileName.isNull(); }
    // True after an OK that changed at least one field of the match.
    bool storedChanges() const { return m_changed; }

    // The date text of the form as a date: true with a null date for an empty (or blank) text,
    // true with the date for a valid "dd.MM.yyyy" text, false for anything else.
    static bool parseDate(const QString &text, QDate *date);

public Q_SLOTS:
    void accept() override;
    // Asks before typed data is dropped.
    void reject() override;

private:
    void buildForm();
    void fill(const MatchData &match);
    void addCompleter();
    // Makes edit the form field of the record's field; returns edit.
    QLineEdit *bind(MatchField field, QLineEdit *edit);
    // One single-valued text field of the record and the form field that edits it, in the order
    // of the field table (model/matchfields.h).
    struct Binding
    {
        QString MatchData::*field;
        QLineEdit *edit;
    };
    bool differs(const MatchData &match, const QDate &date) const;
    // Shows text under title and puts the cursor in field; the dialog stays open.
    void refuse(const QString &title, const QString &text, QLineEdit *field);
    // Whether the form holds anything Cancel would drop.
    bool hasEdits() const;
    // The checks of the event table: false, with a message naming the row, for a minute that is
    // no number ("45+2" is one), a goal or card of neither team, a substitution without the
    // player coming on.
    bool checkEvents();
    void refuseCell(const QString &text, int row, int column);
    void storeInto(MatchData &match, const QDate &date) const;

    MatchStore &m_store;
    QString m_fileName; // null: the form edits nothing
    bool m_newReport = false;
    bool m_changed = false;
    DialogProvider &m_dialogs;

    std::array<QLineEdit *, TextFieldCount> m_edits{}; // by field; null for fields not shown
    QList<Binding> m_bindings;

    QTabWidget *m_tabs = nullptr;
    QDialogButtonBox *m_buttonBox = nullptr;
    QLineEdit *m_championship = nullptr;
    QLineEdit *m_round = nullptr;
    QLineEdit *m_team1 = nullptr;
    QLineEdit *m_team2 = nullptr;
    QLineEdit *m_goals1 = nullptr;
    QLineEdit *m_goals2 = nullptr;
    QLineEdit *m_extra1 = nullptr;
    QLineEdit *m_extra2 = nullptr;
    QLineEdit *m_penalty1 = nullptr;
    QLineEdit *m_penalty2 = nullptr;
    QLineEdit *m_city = nullptr;
    QLineEdit *m_stadium = nullptr;
    QLineEdit *m_attendance = nullptr;
    QLineEdit *m_date = nullptr;
    QLineEdit *m_time = nullptr;
    QLineEdit *m_referee = nullptr;
    QLineEdit *m_coach1 = nullptr;
    QLineEdit *m_coach2 = nullptr;
    QTableWidget *m_squad1 = nullptr;
    QTableWidget *m_squad2 = nullptr;
    QTableWidget *m_events = nullptr;
    QPlainTextEdit *m_comments = nullptr;
};

// A file name for a report typed in the editor that no match of the store carries ("new-1",
// "new-2" ...), so that each new report has its own report page and its own rows.
inline QString unusedReportName(const MatchStore &store)
{
    return store.unusedFileName(QStringLiteral("new"), true);
}
