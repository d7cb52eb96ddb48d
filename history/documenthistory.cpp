#include "history/documenthistory.h"

#include "model/document.h"

namespace {

class ChangeCommand : public QUndoCommand
{
public:
    ChangeCommand(Document &document, std::unique_ptr<DocumentChange> change, const QString &text)
        : QUndoCommand(text), m_document(document), m_change(std::move(change))
    {}
    void redo() override { m_change->apply(m_document); }
    void undo() override { m_change->revert(m_document); }

private:
    Document &m_document;
    std::unique_ptr<DocumentChange> m_change;
};

} // namespace

DocumentHistory::DocumentHistory(Document &document, QObject *parent)
    : QObject(parent), m_document(document)
{
    // The modified marker follows the history: back at the saved step, nothing is unsaved.
    connect(&m_stack, &QUndoStack::indexChanged, this,
            [this] { m_document.setModified(!m_stack.isClean()); });
    connect(&m_stack, &QUndoStack::cleanChanged, this,
            [this](bool clean) { m_document.setModified(!clean); });
}

DocumentHistory::~DocumentHistory() = default;

void DocumentHistory::push(std::unique_ptr<DocumentChange> change, const QString &text)
{
    m_stack.push(new ChangeCommand(m_document, std::move(change), text));
}

void DocumentHistory::setClean()
{
    m_stack.setClean();
    m_document.setModified(false);
}

void DocumentHistory::clear()
{
    m_stack.clear();
    m_document.setModified(false);
}
