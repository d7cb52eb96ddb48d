#pragma once

#include "strings/plural.h"

#include <QString>

// The texts of the open database: undo and redo, deleting matches, the lock and changes on disk,
// and the start page's account of the file.
struct DocumentTexts
{
    const QString undo = QStringLiteral("Отменить");
    const QString redo = QStringLiteral("Повторить");
    const QString undoStep = QStringLiteral("Отменить: %1");
    const QString redoStep = QStringLiteral("Повторить: %1");

    // The steps of the undo history.
    const QString stepImport = QStringLiteral("импорт %1");
    const QString stepImportCsv = QStringLiteral("импорт %1 из «%2»");
    const QString stepAdd = QStringLiteral("добавление матча");
    const QString stepEdit = QStringLiteral("изменение матча");
    const QString stepDelete = QStringLiteral("удаление %1");
    const QString stepRules = QStringLiteral("изменение правил");

    // "импорт 64 отчётов", "импорт 21 отчёта".
    QString reports(qint64 n) const
    {
        return countWithNoun(n, Noun{QStringLiteral("отчёта"), QStringLiteral("отчётов"),
                                     QStringLiteral("отчётов")});
    }
    // "удаление 2 матчей", "импорт 1 матча".
    QString matchesOf(qint64 n) const
    {
        return countWithNoun(
            n, Noun{QStringLiteral("матча"), QStringLiteral("матчей"), QStringLiteral("матчей")});
    }
    // "Удалить из базы 2 матча?"
    QString matches(qint64 n) const { return countWithNoun(n, nouns().matches); }

    // Deleting matches.
    const QString actionDelete = QStringLiteral("Удалить матч");
    const QString deleteTitle = QStringLiteral("Удаление матчей");
    const QString deleteQuestion =
        QStringLiteral("Удалить из базы %1? Удаление можно отменить (Ctrl+Z).");
    const QString deleteNothing = QStringLiteral(
        "Выделите матчи в списке матчей или откройте отчёт о матче, чтобы его удалить.");
    const QString deleted = QStringLiteral("Удалено: %1.");

    // The lock of a database open elsewhere.
    const QString lockTitle = QStringLiteral("База уже открыта");
    const QString lockText = QStringLiteral(
        "Файл «%1» уже открыт программой %2 (процесс %3 на компьютере %4) с %5.\n\n"
        "Если открыть его и здесь, изменения одной из программ могут потеряться. Откройте файл "
        "только для чтения, или откройте всё равно, если уверены, что другая программа его не "
        "изменит.");
    const QString lockReadOnly = QStringLiteral("Только для чтения");
    const QString lockAnyway = QStringLiteral("Открыть всё равно");
    const QString cancel = QStringLiteral("Отмена");
    const QString lockedTarget = QStringLiteral(
        "Файл «%1» открыт программой %2 (процесс %3 на компьютере %4) с %5. Записать поверх "
        "него? Изменения той программы пропадут.");
    const QString readOnlyTitle = QStringLiteral("%1 (только чтение)");
    const QString readOnlySave =
        QStringLiteral("База «%1» открыта только для чтения: сохраните её под другим именем.");

    // The file changed by another program.
    const QString changedTitle = QStringLiteral("Файл изменён другой программой");
    const QString changedText = QStringLiteral(
        "Файл «%1» изменён другой программой после того, как он был открыт или сохранён здесь. "
        "Если записать его сейчас, её изменения пропадут.");
    const QString changedSaveAs = QStringLiteral("Сохранить под другим именем…");
    const QString changedOverwrite = QStringLiteral("Перезаписать");
    const QString changedReload = QStringLiteral("Загрузить заново");
    const QString changedNoticed =
        QStringLiteral("Файл «%1» изменён другой программой. При сохранении будет задан вопрос.");
    const QString removedNoticed =
        QStringLiteral("Файл «%1» удалён или переименован другой программой.");

    // The start page's account of the file.
    const QString startNew =
        QStringLiteral("<p><b>Новая база: она ещё не сохранена в файл.</b></p>");
    const QString startNewNamed =
        QStringLiteral("<p><b>Новая база: она будет сохранена в файл «%1».</b></p>");
    const QString startReadOnly =
        QStringLiteral("<p><b>Открыта только для чтения: файл открыт другой программой.</b></p>");
};

inline const DocumentTexts &documentTexts()
{
    static const DocumentTexts texts;
    return texts;
}
