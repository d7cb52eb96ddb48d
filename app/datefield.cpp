#include "app/datefield.h"

#include "strings/windowtexts.h"

#include <QAction>
#include <QCalendarWidget>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

const QString displayFormat = QStringLiteral("dd.MM.yyyy");

} // namespace

DateField::DateField(const QDate &date, QWidget *parent) : QLineEdit(parent), m_date(date)
{
    const WindowTexts &t = windowTexts();
    setPlaceholderText(t.dateFormatHint);
    setToolTip(t.dateFormatHint);
    // Digits and dots only; the date itself is read when editing is finished.
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,2}\\.?[0-9]{0,2}\\.?[0-9]{0,4}")), this));
    setText(date.toString(displayFormat));
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("00.00.00000"));
    QAction *calendar =
        addAction(QIcon(QStringLiteral(":/icon/images/mode5.png")), TrailingPosition);
    calendar->setObjectName(QStringLiteral("calendar"));
    calendar->setToolTip(t.dateCalendar);
    connect(calendar, &QAction::triggered, this, &DateField::showCalendar);
    setMinimumWidth(width + 48);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QLineEdit::editingFinished, this, &DateField::finishEditing);
}

QDate DateField::readDate(const QString &text)
{
    // Also without the dots, as eight digits: 30042024.
    static const QRegularExpression form(QStringLiteral(
        "^\\s*(?:(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4})|(\\d{2})(\\d{2})(\\d{4}))\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return QDate();
    const int first = match.capturedLength(1) > 0 ? 1 : 4;
    return QDate(match.captured(first + 2).toInt(), match.captured(first + 1).toInt(),
                 match.captured(first).toInt());
}

void DateField::setDate(const QDate &date)
{
    if (!date.isValid())
        return;
    setText(date.toString(displayFormat));
    if (date == m_date)
        return;
    m_date = date;
    Q_EMIT dateChanged(m_date);
}

void DateField::finishEditing()
{
    const QString typed = text();
    const QDate date = readDate(typed);
    if (!date.isValid()) {
        setText(m_date.toString(displayFormat));
        if (typed.trimmed() != m_date.toString(displayFormat))
            Q_EMIT dateRefused(typed);
        return;
    }
    setDate(date);
}

void DateField::keyPressEvent(QKeyEvent *event)
{
    // Alt+Down opens the calendar, as in a date box; Escape puts the shown date back.
    if (event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier)) {
        showCalendar();
        return;
    }
    if (event->key() == Qt::Key_Escape && text() != m_date.toString(displayFormat)) {
        setText(m_date.toString(displayFormat));
        selectAll();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void DateField::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    selectAll();
}

void DateField::showCalendar()
{
    if (!m_popup) {
        // A pop-up frame holding the calendar, as a date box's own pop-up is made.
        m_popup = new QFrame(this, Qt::Popup);
        m_popup->setObjectName(QStringLiteral("calendarPopup"));
        m_popup->setFrameShape(QFrame::StyledPanel);
        m_calendar = new QCalendarWidget(m_popup);
        m_calendar->setGridVisible(true);
        auto *layout = new QVBoxLayout(m_popup);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_calendar);
        const auto pick = [this](const QDate &date) {
            m_popup->hide();
            setDate(date);
            setFocus();
        };
        connect(m_calendar, &QCalendarWidget::clicked, this, pick);
        connect(m_calendar, &QCalendarWidget::activated, this, pick);
    }
    const QDate typed = readDate(text());
    m_calendar->setSelectedDate(typed.isValid() ? typed : m_date);
    m_popup->adjustSize();
    m_popup->move(mapToGlobal(QPoint(0, height())));
    m_popup->show();
    m_calendar->setFocus();
}
