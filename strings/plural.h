#pragma once

#include <QString>

// Russian nouns after a number take one of three forms: 1 файл, 2 файла, 5 файлов; 11–14 take the
// third whatever their last digit (11 файлов, 21 файл, 111 файлов).
enum class PluralForm { One, Few, Many };

PluralForm pluralForm(qint64 count);

// A noun's three forms, as they go after 1, 2 and 5.
struct Noun
{
    QString one;
    QString few;
    QString many;
};

// The form of the noun that goes after count.
QString pluralWord(qint64 count, const Noun &noun);
// The count and its noun: "21 матч", "22 матча", "25 матчей".
QString countWithNoun(qint64 count, const Noun &noun);

// The nouns the program counts.
struct Nouns
{
    const Noun files{QStringLiteral("файл"), QStringLiteral("файла"), QStringLiteral("файлов")};
    const Noun matches{QStringLiteral("матч"), QStringLiteral("матча"), QStringLiteral("матчей")};
    const Noun reports{QStringLiteral("отчёт"), QStringLiteral("отчёта"),
                       QStringLiteral("отчётов")};
    const Noun players{QStringLiteral("игрок"), QStringLiteral("игрока"),
                       QStringLiteral("игроков")};
    const Noun rows{QStringLiteral("строка"), QStringLiteral("строки"), QStringLiteral("строк")};
    const Noun teams{QStringLiteral("команда"), QStringLiteral("команды"),
                     QStringLiteral("команд")};
    const Noun seasons{QStringLiteral("сезон"), QStringLiteral("сезона"),
                       QStringLiteral("сезонов")};
    const Noun goals{QStringLiteral("гол"), QStringLiteral("гола"), QStringLiteral("голов")};
    const Noun points{QStringLiteral("очко"), QStringLiteral("очка"), QStringLiteral("очков")};
    const Noun spectators{QStringLiteral("зритель"), QStringLiteral("зрителя"),
                          QStringLiteral("зрителей")};
    const Noun repeats{QStringLiteral("повтор"), QStringLiteral("повтора"),
                       QStringLiteral("повторов")};
    const Noun symbols{QStringLiteral("символ"), QStringLiteral("символа"),
                       QStringLiteral("символов")};
};

const Nouns &nouns();
