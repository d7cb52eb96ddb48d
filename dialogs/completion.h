#pragma once

#include "model/matchstore.h"

#include <QStringList>

#include <initializer_list>

class QLineEdit;

// The names the store already holds in some fields of its matches (both teams, both coaches ...),
// each once, sorted, without the empty one; with a tournament given, of its matches only.
QStringList namesIn(const MatchStore &store, std::initializer_list<MatchField> fields,
                    const QString &tournament = QString());

// Completes what is typed into edit from names: any part of a name, any case.
void completeFrom(QLineEdit *edit, const QStringList &names);
