// The document: its file on disk beside other processes (the lock, a file changed under it,
// read-only opening), the rules file that travels with it, and the undo history of its changes.

#include "history/documenthistory.h"
#include "model/document.h"
#include "model/documentchanges.h"
#include "testsupport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <utime.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// Five matches of two tournaments, with line-ups and events, so that a match put back in the
// wrong place or with the wrong line-up changes the file.
QList<Match> season()
{
    QList<Match> matches;
    for (int i = 0; i < 5; ++i) {
        Match m =
            withFields(makeMatch(u"m%1.xml"_s.arg(i), u"2020-03-0%1"_s.arg(i + 1), u"T%1"_s.arg(i),
                                 u"T%1"_s.arg(i + 1), QString::number(i), u"1"_s),
                       i % 2 ? u"tournament=Кубок"_s : u"tournament=Лига"_s);
        m.edit().players1 = lineup({u"Игрок %1#%1"_s.arg(i), u"Другой"_s});
        m.edit().events = makeEvents({u"G|Игрок %1|T%1|%1"_s.arg(i)});
        matches.append(m);
    }
    return matches;
}

RuleBook twoOneZero()
{
    RuleBook book;
    CompetitionRules rules;
    rules.win = 2;
    book.setRules(u"Лига"_s, rules);
    return book;
}

} // namespace

class DocumentTest : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    int serial = 0;

    // A fresh database file of the season (and rules bytes beside it, unless null).
    QString newFile(const QByteArray &rules = QByteArray())
    {
        const QString path = dir.filePath(u"db%1.swb"_s.arg(++serial));
        if (!writeDatabase(path, makeStore(season())).ok())
            return QString();
        if (!rules.isNull() && !writeFile(rulesFilePath(path), rules))
            return QString();
        return path;
    }

private Q_SLOTS:
    // Each kind of change, and runs of them, taken back leave the file byte for byte as it was
    // opened; made again, as it was after the changes. The modified state follows the history.
    void undoRedo_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("import") << QStringList{u"import 3"_s};
        QTest::newRow("edit the last") << QStringList{u"edit 4"_s};
        QTest::newRow("delete first, middle, last") << QStringList{u"delete 0 2 4"_s};
        QTest::newRow("delete all") << QStringList{u"delete 0 1 2 3 4"_s};
        QTest::newRow("rules") << QStringList{u"rules"_s};
        QTest::newRow("import, edit, delete, rules")
            << QStringList{u"import 2"_s, u"edit 5"_s, u"delete 1 5 6"_s, u"rules"_s};
        QTest::newRow("delete then import")
            << QStringList{u"delete 0 1"_s, u"import 2"_s, u"edit 0"_s};
    }
    void undoRedo()
    {
        QFETCH(QStringList, steps);
        const QString path = newFile();
        const QByteArray opened = readFile(path);
        Document document;
        QVERIFY(document.open(path).ok());
        DocumentHistory history(document);
        int imported = 0;
        for (const QString &step : std::as_const(steps)) {
            const QStringList words = step.split(u' ');
            MatchStore &store = document.store();
            if (words[0] == u"import"_s) {
                const qsizetype from = store.count();
                for (int i = 0; i < words[1].toInt(); ++i)
                    store.add(makeMatch(u"new%1.xml"_s.arg(++imported), u"2021-01-01"_s, u"Новые"_s,
                                        u"T1"_s, u"9"_s));
                history.push(std::make_unique<AppendedMatches>(from), step);
            } else if (words[0] == u"edit"_s) {
                const qsizetype i = words[1].toInt();
                const Match before = store.match(i);
                Match after = before;
                after.edit().goals1 = u"7"_s;
                after.edit().players1 = lineup({u"Замена"_s});
                store.replace(i, after);
                history.push(std::make_unique<ReplacedMatch>(i, before, after), step);
            } else if (words[0] == u"delete"_s) {
                QList<qsizetype> indices;
                for (const QString &i : words.mid(1))
                    indices.append(i.toInt());
                history.push(std::make_unique<RemovedMatches>(indices), step);
            } else {
                history.push(std::make_unique<ChangedRules>(document.rules(), twoOneZero()), step);
            }
            QVERIFY(document.isModified());
        }
        const QByteArray changed = databaseBytes(document.store());
        const RuleBook changedRules = document.rules();
        QVERIFY(changed != opened || document.rules() != RuleBook());

        while (history.stack().canUndo())
            history.stack().undo();
        QVERIFY(!document.isModified());
        QCOMPARE(document.rules(), RuleBook());
        QVERIFY(document.save().ok());
        QCOMPARE(readFile(path), opened);
        QCOMPARE(document.store().tournamentNames(), (QStringList{u"Кубок"_s, u"Лига"_s}));
        QCOMPARE(document.store().dateSpan().till, QDate(2020, 3, 5));

        while (history.stack().canRedo())
            history.stack().redo();
        QVERIFY(document.isModified());
        QCOMPARE(databaseBytes(document.store()), changed);
        QCOMPARE(document.rules(), changedRules);
    }

    // The marker follows the history's saved state: back at the step saved, nothing is unsaved;
    // a save in the middle of the history moves that state.
    void savedState()
    {
        const QString path = newFile();
        Document document;
        QVERIFY(document.open(path).ok());
        DocumentHistory history(document);
        history.push(std::make_unique<RemovedMatches>(QList<qsizetype>{0}), u"a"_s);
        history.push(std::make_unique<RemovedMatches>(QList<qsizetype>{0}), u"b"_s);
        history.stack().undo();
        QVERIFY(document.isModified());
        QVERIFY(document.save().ok());
        history.setClean();
        QVERIFY(!document.isModified());
        const QByteArray saved = readFile(path);
        history.stack().undo();
        QVERIFY(document.isModified());
        history.stack().redo();
        QVERIFY(!document.isModified());
        history.stack().redo();
        QVERIFY(document.isModified());
        history.stack().undo();
        QVERIFY(!document.isModified());
        QCOMPARE(databaseBytes(document.store()), saved);
    }

    // Another process that changes the file between this document's read and its save is
    // caught: the save writes nothing until told to overwrite.
    void changedOnDisk_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("saved by a second document") << u"document"_s;
        QTest::newRow("rewritten in place, same size") << u"in place"_s;
        QTest::newRow("touched") << u"touched"_s;
        QTest::newRow("removed") << u"removed"_s;
        QTest::newRow("nothing") << QString();
    }
    void changedOnDisk()
    {
        QFETCH(QString, how);
        const QString path = newFile();
        Document first;
        QVERIFY(first.open(path).ok());
        first.store().add(makeMatch(u"mine.xml"_s, u"2022-01-01"_s, u"A"_s, u"B"_s));
        first.setModified(true);
        if (how == u"document"_s) {
            Document second;
            QVERIFY(second.open(path).ok());
            second.store().remove({0});
            QVERIFY(second.save().ok());
        } else if (how == u"in place"_s) {
            QByteArray bytes = readFile(path);
            bytes[bytes.size() - 1] = 'x';
            QVERIFY(writeFile(path, bytes));
        } else if (how == u"touched"_s) {
            struct utimbuf times
            {
                1000000000, 1000000000
            };
            QVERIFY(::utime(QFile::encodeName(path).constData(), &times) == 0);
        } else if (how == u"removed"_s) {
            QVERIFY(QFile::remove(path));
        }
        const QByteArray theirs = readFile(path);
        QCOMPARE(first.changedOnDisk(), !how.isEmpty());
        const Document::SaveResult refused = first.save();
        if (how.isEmpty()) {
            QVERIFY(refused.ok());
            return;
        }
        QCOMPARE(refused.status, Document::SaveResult::ChangedOnDisk);
        QCOMPARE(readFile(path), theirs);
        QVERIFY(first.isModified());
        QVERIFY(first.save(true).ok());
        QCOMPARE(readFile(path), databaseBytes(first.store()));
        QVERIFY(!first.changedOnDisk() && !first.isModified());
    }

    // One lock per database: a second holder is told who holds it; a lock left by a process that
    // died is taken over; releasing lets the next one in.
    void locks()
    {
        const QString path = newFile();
        Document first;
        Document second;
        QVERIFY(first.open(path).ok() && second.open(path).ok());
        QVERIFY(first.lock().locked());
        QVERIFY(first.lock().locked()); // held already
        const LockResult held = second.lock();
        QCOMPARE(held.status, LockResult::Held);
        QCOMPARE(held.holder.pid, QCoreApplication::applicationPid());
        QVERIFY(!held.holder.host.isEmpty());
        QVERIFY(qAbs(held.holder.since.secsTo(QDateTime::currentDateTime())) < 600);
        first.unlock();
        QVERIFY(second.lock().locked());
        second.unlock();

        // A lock file as a dead process leaves it: the holder's lines with a pid no process has.
        QByteArray lines;
        {
            DatabaseLock probe;
            QVERIFY(probe.take(dir.filePath(u"probe.swb"_s)).locked());
            lines = readFile(lockFilePath(dir.filePath(u"probe.swb"_s)));
        }
        QProcess gone;
        gone.start(u"true"_s, {});
        QVERIFY(gone.waitForStarted());
        const qint64 deadPid = gone.processId();
        QVERIFY(gone.waitForFinished());
        lines = QByteArray::number(deadPid) + lines.mid(lines.indexOf('\n'));
        QVERIFY(writeFile(lockFilePath(path), lines));
        QVERIFY(first.lock().locked());
        QCOMPARE(second.lock().status, LockResult::Held);
    }

    // Read-only: the own file is never written; Save As writes elsewhere and ends read-only.
    void readOnly()
    {
        const QString path = newFile();
        const QByteArray before = readFile(path);
        Document document;
        QVERIFY(document.open(path).ok());
        document.setReadOnly(true);
        document.store().remove({0});
        document.setModified(true);
        QCOMPARE(document.save().status, Document::SaveResult::ReadOnly);
        QCOMPARE(document.save(true).status, Document::SaveResult::ReadOnly);
        QCOMPARE(readFile(path), before);
        const QString copy = dir.filePath(u"copy-ro.swb"_s);
        QVERIFY(document.saveAs(copy).ok());
        QCOMPARE(document.path(), copy);
        QVERIFY(!document.isReadOnly());
        QCOMPARE(readFile(copy), databaseBytes(document.store()));
    }

    // The rules file goes with the database: Save As carries it, a save writes it only when the
    // rules differ from it, and a file that could not be read stays until the rules change here.
    void rulesFile_data()
    {
        QTest::addColumn<QByteArray>("rulesBefore"); // null: no rules file
        QTest::addColumn<QString>("action");
        QTest::addColumn<QByteArray>("rulesAfter"); // at the path saved to; null: none there
        const QByteArray book = rulesFileBytes(twoOneZero());
        QTest::newRow("readable, save") << book << u"save"_s << book;
        QTest::newRow("unreadable, save") << QByteArray("{") << u"save"_s << QByteArray("{");
        QTest::newRow("unreadable, change undone, save")
            << QByteArray("{") << u"change, undo, save"_s << QByteArray("{");
        QTest::newRow("unreadable, change, save") << QByteArray("{") << u"change, save"_s << book;
        QTest::newRow("none, change, save") << QByteArray() << u"change, save"_s << book;
        QTest::newRow("readable, cleared, save") << book << u"clear, save"_s << QByteArray();
        QTest::newRow("readable, save as") << book << u"save as"_s << book;
        QTest::newRow("none, save as over a stale one")
            << QByteArray() << u"save as over"_s << QByteArray();
        QTest::newRow("unreadable, save as") << QByteArray("{") << u"save as"_s << QByteArray();
    }
    void rulesFile()
    {
        QFETCH(QByteArray, rulesBefore);
        QFETCH(QString, action);
        QFETCH(QByteArray, rulesAfter);
        const QString path = newFile(rulesBefore);
        Document document;
        const Document::OpenResult opened = document.open(path);
        QVERIFY(opened.ok());
        QCOMPARE(opened.rules.ok(), rulesBefore != "{");
        DocumentHistory history(document);
        if (action.startsWith(u"change"_s))
            history.push(std::make_unique<ChangedRules>(document.rules(), twoOneZero()), action);
        if (action.startsWith(u"clear"_s))
            history.push(std::make_unique<ChangedRules>(document.rules(), RuleBook()), action);
        if (action.contains(u"undo"_s))
            history.stack().undo();
        QString target = path;
        if (action.startsWith(u"save as"_s)) {
            target = dir.filePath(u"as%1.swb"_s.arg(serial));
            if (action.endsWith(u"over"_s))
                QVERIFY(writeFile(rulesFilePath(target), "stale"));
            QVERIFY(document.saveAs(target).ok());
            QCOMPARE(readFile(rulesFilePath(path)), rulesBefore); // the old one stays
        } else {
            QVERIFY(document.save().ok());
        }
        QCOMPARE(QFile::exists(rulesFilePath(target)), !rulesAfter.isNull());
        QCOMPARE(readFile(rulesFilePath(target)), rulesAfter.isNull() ? QByteArray() : rulesAfter);
        QCOMPARE(readFile(target), readFile(path));
    }

    // A new database named at creation: rules beside a file of that name are not its own.
    void newDocument()
    {
        const QString path = newFile(rulesFileBytes(twoOneZero()));
        Document document;
        document.reset(path);
        QVERIFY(!document.hasFile() && !document.changedOnDisk());
        document.store().add(makeMatch(u"a.xml"_s, u"2020-01-01"_s, u"A"_s, u"B"_s));
        QVERIFY(document.saveAs(path).ok());
        QVERIFY(!QFile::exists(rulesFilePath(path)));
        QVERIFY(document.hasFile());
    }
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "tst_document.moc"
