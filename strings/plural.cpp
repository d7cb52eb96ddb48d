#include "strings/plural.h"

PluralForm pluralForm(qint64 count)
{
    const qint64 n = count < 0 ? -(count % 100) : count % 100;
    if (n >= 11 && n <= 14)
        return PluralForm::Many;
    switch (n % 10) {
    case 1:
        return PluralForm::One;
    case 2:
    case 3:
    case 4:
        return PluralForm::Few;
    default:
        return PluralForm::Many;
    }
}

QString pluralWord(qint64 count, const Noun &noun)
{
    switch (pluralForm(count)) {
    case PluralForm::One:
        return noun.one;
    case PluralForm::Few:
        return noun.few;
    case PluralForm::Many:
        break;
    }
    return noun.many;
}

QString countWithNoun(qint64 count, const Noun &noun)
{
    return QString::number(count) + QLatin1Char(' ') + pluralWord(count, noun);
}

const Nouns &nouns()
{
    static const Nouns table;
    return table;
}
