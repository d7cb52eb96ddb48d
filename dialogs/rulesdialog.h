#pragma once

#include "model/competitionrules.h"

#include <QDialog>
#include <QStringList>

#include <functional>

class QComboBox;
class QListWidget;
class QSpinBox;
class QTableWidget;

// "Турнир → Правила…": the rules of the tournaments, one at a time: a ready set to start from,
// the points for a win, a draw and a loss, the tie-break chain (checked entries, top to bottom)
// and the points deductions. OK keeps the edits of every tournament visited; a deduction row that
// is not complete keeps the dialog open with a message.
class RulesDialog : public QDialog
{
    Q_OBJECT

public:
    RulesDialog(const RuleBook &book, const QStringList &tournaments, const QString &current,
                QWidget *parent = nullptr);

    // Where the dialog's complaints go (a message box in the window, a recorder in tests).
    void setMessageSink(std::function<void(QWidget *, const QString &)> sink);
    // The teams of a tournament, offered while a deduction's team is typed.
    void setTeamNames(std::function<QStringList(const QString &tournament)> teams);

    // The rules as edited, valid after OK.
    const RuleBook &book() const { return m_book; }

public Q_SLOTS:
    void accept() override;

private:
    void load(const QString &tournament);
    // Shows the points and the chain of rules.
    void showScheme(const CompetitionRules &rules);
    // Writes the shown tournament's rules into the book; false (after a message) when a deduction
    // row is incomplete.
    bool keep();
    CompetitionRules shownRules(int *badRow) const;
    void choosePreset(int index);
    void showPresetOf(const CompetitionRules &rules);
    void moveCriterion(int step);
    void addDeduction(const Deduction &deduction);

    RuleBook m_book;
    QString m_current;
    std::function<void(QWidget *, const QString &)> m_sink;
    std::function<QStringList(const QString &)> m_teams;
    bool m_loading = false;

    QComboBox *m_tournament = nullptr;
    QComboBox *m_preset = nullptr;
    QSpinBox *m_win = nullptr;
    QSpinBox *m_draw = nullptr;
    QSpinBox *m_loss = nullptr;
    QListWidget *m_chain = nullptr;
    QTableWidget *m_deductions = nullptr;
};
