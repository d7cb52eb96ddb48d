#pragma once

#include <QString>

// The texts of printing, PDF, the CSV import's choices and the caption line of saved tables.
struct ArchiveTexts
{
    const QString actionPrint = QStringLiteral("Печать…");
    const QString actionExportPdf = QStringLiteral("Экспорт в PDF…");
    const QString pdfFilter = QStringLiteral("PDF (*.pdf)");
    const QString pageNumber = QStringLiteral("Страница %1 из %2");
    const QString printFailed = QStringLiteral("Не удалось напечатать: принтер не готов.");
    const QString pdfDone = QStringLiteral("Записан PDF: %1 (страниц: %2)");
    const QString nothingToPrint = QStringLiteral("Нечего печатать: откройте таблицу или отчёт.");
    const QString captionOption = QStringLiteral("Начать файл с подписи таблицы");

    const QString csvOptionsTitle = QStringLiteral("Импорт CSV");
    const QString csvTournamentLabel = QStringLiteral("Турнир:");
    const QString csvTournamentHint =
        QStringLiteral("{division} — дивизион из файла (без него — имя файла), {season} — сезон.");
    const QString csvSeasonStartLabel = QStringLiteral("Сезон начинается:");
    const QString csvSeasonHint =
        QStringLiteral("Сезон берётся из столбца Season, без него — из даты. Сезон с 1 июля "
                       "называется «2019/20», с 1 января — «2019».");
    const QString csvExample = QStringLiteral("Например: «%1»");
};

inline const ArchiveTexts &archiveTexts()
{
    static const ArchiveTexts texts;
    return texts;
}
