#pragma once

#include "model/competitionrules.h"
#include "model/match.h"
#include "model/matchstore.h"

#include <QList>
#include <QString>

class Document;

// One change to a document that can be taken back and made again exactly: after revert() the
// store holds the same matches in the same order as before apply(), so that the file written
// then equals the one written before. The undo history of the window keeps these.
class DocumentChange
{
public:
    virtual ~DocumentChange() = default;
    virtual void apply(Document &document) = 0;
    virtual void revert(Document &document) = 0;
};

// Matches appended at the end of the store from index `from` on: an import or a report typed
// whole. The matches are already in the store when the change is made, so the first apply() is
// a no-op.
class AppendedMatches : public DocumentChange
{
public:
    explicit AppendedMatches(qsizetype from) : m_from(from) {}
    void apply(Document &document) override;
    void revert(Document &document) override;

private:
    qsizetype m_from;
    QList<Match> m_matches; // kept while reverted
};

// One match replaced by an edited one, already in the store when the change is made.
class ReplacedMatch : public DocumentChange
{
public:
    ReplacedMatch(qsizetype index, Match before, Match after)
        : m_index(index), m_before(std::move(before)), m_after(std::move(after))
    {}
    void apply(Document &document) override;
    void revert(Document &document) override;

private:
    qsizetype m_index;
    Match m_before;
    Match m_after;
    bool m_applied = false;
};

// Matches removed from the store.
class RemovedMatches : public DocumentChange
{
public:
    // indices ascending, each once.
    explicit RemovedMatches(QList<qsizetype> indices) : m_indices(std::move(indices)) {}
    void apply(Document &document) override;
    void revert(Document &document) override;

private:
    QList<qsizetype> m_indices;
    QList<Match> m_matches; // kept while applied
};

// The competition rules replaced.
class ChangedRules : public DocumentChange
{
public:
    ChangedRules(RuleBook before, RuleBook after)
        : m_before(std::move(before)), m_after(std::move(after))
    {}
    void apply(Document &document) override;
    void revert(Document &document) override;

private:
    RuleBook m_before;
    RuleBook m_after;
};

// The indices of the matches whose file names are in names, ascending; the names no match
// carries go to unknown, in the order given. Equal file names all count.
QList<qsizetype> matchIndices(const MatchStore &store, const QStringList &names,
                              QStringList *unknown = nullptr);
