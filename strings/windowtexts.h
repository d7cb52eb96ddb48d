#pragma once

#include <QString>

// Texts added after the first table (strings/texts.h), most of them the window's: the date
// fields, the season chart's choices, the editor's questions, the report page's place line, the
// XML export's question and the undated matches.
struct WindowTexts
{
    // Date fields
    const QString dateFormatHint = QStringLiteral("ДД.ММ.ГГГГ");
    const QString dateCalendar = QStringLiteral("Выбрать дату в календаре");
    const QString dateNotRead =
        QStringLiteral("«%1» — не дата: нужна дата в виде ДД.ММ.ГГГГ (например, 30.04.2024).");
    const QString datesReversed = QStringLiteral(
        "Дата «С» (%1) позже даты «По» (%2): в такой промежуток не попадает ни один матч. "
        "Исправьте одну из дат.");

    // Season chart: the season choice of a tournament of several seasons
    const QString chartSeason = QStringLiteral("Сезон:");
    const QString chartSeasonItem = QStringLiteral("%1 (%2–%3)");
    const QString chartSeasonTitle = QStringLiteral("сезон %1");

    // Report editor
    const QString noReportTitle = QStringLiteral("Отчёт не открыт");
    const QString noReportText = QStringLiteral(
        "Сейчас не показан ни один отчёт, исправлять нечего. Чтобы исправить отчёт, откройте его "
        "(дважды щёлкните матч в списке). Добавить новый матч?");
    const QString badNumberTitle = QStringLiteral("Неверное число");
    const QString commentsNotKept = QStringLiteral(
        "Комментарии в базе не хранятся: текст с вкладки «Комментарии» не будет сохранён. "
        "Сохранить отчёт без комментариев?");
    const QString commentsTitle = QStringLiteral("Комментарии не сохраняются");
    const QString discardTitle = QStringLiteral("Закрыть без сохранения?");
    const QString discardText =
        QStringLiteral("В отчёте есть несохранённые изменения. Закрыть редактор и потерять их?");
    const QString commentsNote =
        QStringLiteral("Комментарии — только для заметок на время правки: в базе они не хранятся.");

    // Report page: the parts of the place line, each left out when its field is empty
    const QString reportStadium = QStringLiteral("%1.");
    const QString reportAttendance = QStringLiteral("%1 зрителей");
    const QString reportReferee = QStringLiteral("<b>Судья:</b> %1");
    const QString reportRefereeCity = QStringLiteral(" (%1)");

    // Files
    const QString chartSaveFailed = QStringLiteral("Не удалось записать изображение «%1».");
    const QString exportReplaceTitle = QStringLiteral("Заменить отчёты?");
    const QString exportReplaceText = QStringLiteral(
        "В папке «%1» уже есть %2 из %3 записываемых отчётов: они будут заменены. Продолжить?");

    // Undated matches
    const QString actionUndated = QStringLiteral("Матчи без даты");
    const QString captionUndated = QStringLiteral("Матчи без даты");
    const QString startPageUndated =
        QStringLiteral("<p>Без даты: <a href=\"%1\"><b>%2</b></a> (в страницы с датами они не "
                       "попадают).</p>");
    const QString undatedText = QStringLiteral("без даты");
};

const WindowTexts &windowTexts();
