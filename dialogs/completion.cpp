#include "dialogs/completion.h"

#include <QCompleter>
#include <QLineEdit>
#include <QSet>

#include <algorithm>

QStringList namesIn(const MatchStore &store, std::initializer_list<MatchField> fields,
                    const QString &tournament)
{
    const TextTable &texts = store.texts();
    const TextId wanted = tournament.isNull() ? TextTable::noText : texts.find(tournament);
    if (!tournament.isNull() && wanted == TextTable::noText)
        return {};
    // Counted by text number first: a large store holds few distinct names.
    QSet<TextId> ids;
    for (qsizetype i = 0; i < store.count(); ++i) {
        const MatchRecord &record = store.record(i);
        if (wanted != TextTable::noText && record.texts[TournamentField] != wanted)
            continue;
        for (const MatchField field : fields)
            ids.insert(record.texts[field]);
    }
    QStringList names;
    names.reserve(ids.size());
    for (const TextId id : std::as_const(ids)) {
        QString name = texts.text(id);
        if (!name.trimmed().isEmpty())
            names.append(name);
    }
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return a.localeAwareCompare(b) < 0; });
    names.removeDuplicates();
    return names;
}

void completeFrom(QLineEdit *edit, const QStringList &names)
{
    auto *completer = new QCompleter(names, edit);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setFilterMode(Qt::MatchContains);
    edit->setCompleter(completer);
}
