#pragma once

#include "model/documentchanges.h"

#include <QObject>
#include <QUndoStack>

#include <memory>

class Document;

// The undo history of a document: every change the window makes to it (an import, a report
// added, edited or deleted, the rules) is one step, named for the menu.
//
// Qt's QUndoStack lives in QtGui, and the core stays QtCore only, for the command line. So the
// changes themselves (how to make and take back each kind, exactly) are the core's
// (model/documentchanges.h), and only this sequencing of them is a library of its own beside the
// core, with no widgets; the window keeps one history for its document.
class DocumentHistory : public QObject
{
    Q_OBJECT

public:
    explicit DocumentHistory(Document &document, QObject *parent = nullptr);
    ~DocumentHistory() override;

    // Records change as a step named text, making it (a change already made stays as it is).
    void push(std::unique_ptr<DocumentChange> change, const QString &text);
    // The document was saved: this is its state on disk.
    void setClean();
    // A database was read or created: nothing to take back, and nothing changed.
    void clear();

    QUndoStack &stack() { return m_stack; }
    const QUndoStack &stack() const { return m_stack; }

private:
    Document &m_document;
    QUndoStack m_stack;
};
