#pragma once

// What the commands that replace a database share: the lock the window takes too, and the check
// that the database read is still the one on disk when it is replaced.

#include <QString>

class DatabaseLock;
class Document;

// Takes the lock of the database out for as long as lock lives. When another program holds it,
// says who and returns false: two writers of one database would lose an update. An output that
// is no regular file (a device, a pipe) takes no lock.
bool lockForWriting(DatabaseLock &lock, const QString &out);

// Reads the database at path into document; a failure is reported.
bool openDocument(const QString &path, Document &document);

// Writes the document's database to out (the whole file replaced at once). When out is the file
// the document was read from and another program changed it since, nothing is written. Only the
// database is written: a rules file beside out stays as it is. Returns the exit code, having
// said why on failure.
int writeDocument(Document &document, const QString &out);
