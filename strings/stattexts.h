#pragma once

#include <QString>

// Texts of the statistics pages: minutes, starts and substitutes, penalties, a player's career,
// records, runs and the round choice's "up to".
struct StatTexts
{
    // Column headers
    const QString hStarts = QStringLiteral("Осн.");
    const QString hSubstitute = QStringLiteral("Зам.");
    const QString hMinutes = QStringLiteral("Мин.");
    const QString hPenalties = QStringLiteral("Пен.");
    const QString hId = QStringLiteral("ID");
    const QString hFirstMatch = QStringLiteral("Первый матч");
    const QString hLastMatch = QStringLiteral("Последний матч");
    const QString hRecord = QStringLiteral("Рекорд");
    const QString hPlace = QStringLiteral("М");
    const QString hValue = QStringLiteral("Значение");
    const QString hRun = QStringLiteral("Серия");
    const QString hLength = QStringLiteral("Матчей");
    const QString hFrom = QStringLiteral("С");
    const QString hTill = QStringLiteral("По");
    const QString hGoing = QStringLiteral("Идёт");
    const QString hGoingFrom = QStringLiteral("Идёт с");
    const QString runMatch = QStringLiteral("%1, %2");
    const QString total = QStringLiteral("Всего");

    // Footnote of the players page: reports whose minutes cannot be read.
    const QString minutesUnusable = QStringLiteral(
        "Отчётов без годных минут замен и удалений: %1 (матчи учтены, минуты — нет)");

    // Pages: menu entries and captions
    const QString actionCareer = QStringLiteral("Карьера");
    const QString captionCareer = QStringLiteral("Карьера игрока «%1»");
    const QString actionRecords = QStringLiteral("Рекорды");
    const QString actionRuns = QStringLiteral("Серии");
    const QString captionNamesakesApart =
        QStringLiteral(" (однофамильцы отдельно: «Учитывать ID» включено)");
    const QString captionById = QStringLiteral("ID %1");

    // Records: the group captions of the records page
    const QString recordBiggestWins = QStringLiteral("Крупнейшие победы");
    const QString recordMostGoals = QStringLiteral("Самые результативные матчи");
    const QString recordHighestAttendance = QStringLiteral("Больше всего зрителей");
    const QString recordLowestAttendance = QStringLiteral("Меньше всего зрителей");

    // Runs: the kinds of run
    const QString runWins = QStringLiteral("Победы");
    const QString runUnbeaten = QStringLiteral("Без поражений");
    const QString runWinless = QStringLiteral("Без побед");
    const QString runDefeats = QStringLiteral("Поражения");
    const QString runScoring = QStringLiteral("Забивает");
    const QString runCleanSheets = QStringLiteral("Не пропускает");

    // The round choice
    const QString upToRound = QStringLiteral("по тур включительно");
    const QString captionUpToRound = QStringLiteral("по тур %1 включительно");
};

inline const StatTexts &statTexts()
{
    static const StatTexts instance;
    return instance;
}
