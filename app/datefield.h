#pragma once

#include <QDate>
#include <QLineEdit>

class QCalendarWidget;
class QFrame;

// A date typed as written, dd.MM.yyyy: whatever is selected is replaced by what is typed, so that
// Ctrl+A or a double-click and "30.04.2024" give that date. The date is read when editing is
// finished (Enter, leaving the field) or picked in the calendar pop-up; only then dateChanged
// is emitted, once, and only for a new date. Text that is no date is put back to the last date.
class DateField : public QLineEdit
{
    Q_OBJECT

public:
    explicit DateField(const QDate &date, QWidget *parent = nullptr);

    QDate date() const { return m_date; }
    // Shows date; emits dateChanged when it differs from the one shown.
    void setDate(const QDate &date);

    // The date of text written as dd.MM.yyyy (a one-digit day or month is read too) or as
    // ddMMyyyy, or a null date for anything else.
    static QDate readDate(const QString &text);

    void showCalendar();

Q_SIGNALS:
    void dateChanged(const QDate &date);
    // Typed text that was no date and was put back; text is what was typed.
    void dateRefused(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // A double-click selects the whole date, not the digits between two dots.
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void finishEditing();

    QDate m_date;
    QFrame *m_popup = nullptr;
    QCalendarWidget *m_calendar = nullptr;
};
