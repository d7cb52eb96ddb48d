// Printing and PDF: the pages of a long or wide table, a report on one page, and the window's
// "Печать…", "Экспорт в PDF…" and the caption line of its table saves. The PDF is read through
// its page objects and title; where pdftotext is installed, through its text too.
#include "tst_gui_mainwindow_fakes.h"

#include "testsupport.h"

#include "app/printing.h"
#include "pages/textexport.h"
#include "strings/archivetexts.h"

#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>

using namespace Qt::Literals::StringLiterals;

namespace {

int pageCount(const QByteArray &pdf)
{
    int pages = 0;
    for (auto it = QRegularExpression(u"/Type /Page[^s]"_s).globalMatch(QString::fromLatin1(pdf));
         it.hasNext(); it.next())
        ++pages;
    return pages;
}

bool landscape(const QByteArray &pdf)
{
    const QRegularExpressionMatch box =
        QRegularExpression(u"/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"_s)
            .match(QString::fromLatin1(pdf));
    return box.hasMatch() && box.captured(1).toDouble() > box.captured(2).toDouble();
}

// The document title: a literal string of UTF-16 after its byte order mark.
QString title(const QByteArray &pdf)
{
    qsizetype i = pdf.indexOf("/Title (");
    if (i < 0)
        return u"<none>"_s;
    i += 8;
    QByteArray bytes;
    while (i < pdf.size() && pdf.at(i) != ')') {
        if (pdf.at(i) == '\\')
            ++i;
        bytes += pdf.at(i++);
    }
    if (!bytes.startsWith("\xfe\xff"))
        return QString::fromLatin1(bytes);
    QString text;
    for (qsizetype k = 2; k + 1 < bytes.size(); k += 2)
        text += QChar(char16_t((uchar(bytes.at(k)) << 8) | uchar(bytes.at(k + 1))));
    return text;
}

// The text of each page, or nothing when pdftotext is not installed.
QStringList pageTexts(const QByteArray &pdf)
{
    const QString tool = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (tool.isEmpty())
        return {};
    QTemporaryFile file;
    if (!file.open() || file.write(pdf) != pdf.size())
        return {};
    file.flush();
    QProcess process;
    process.start(tool, {u"-layout"_s, file.fileName(), u"-"_s});
    process.waitForFinished();
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.constLast().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// A table of rows rows ("row-00001" …) and columns columns; long headers make it wide.
TableSnapshot sampleTable(int rows, int columns, bool longHeaders, const QString &footnote)
{
    TableSnapshot table;
    for (int c = 0; c < columns; ++c) {
        table.headers.append(longHeaders ? u"Очень длинный заголовок %1"_s.arg(c)
                                         : u"Столбец %1"_s.arg(c));
        table.widths.append(60);
    }
    for (int r = 1; r <= rows; ++r) {
        QStringList cells{u"row-%1"_s.arg(r, 5, 10, QLatin1Char('0'))};
        for (int c = 1; c < columns; ++c)
            cells.append(QString::number(r * c));
        table.rows.append(cells);
    }
    table.footnote = footnote;
    return table;
}

} // namespace

class PrintingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void table_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("columns");
        QTest::addColumn<bool>("longHeaders");
        QTest::addColumn<QString>("footnote");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<int>("minPages");
        QTest::addColumn<int>("maxPages");
        QTest::newRow("one row") << 1 << 3 << false << QString() << false << 1 << 1;
        QTest::newRow("no rows, a footnote")
            << 0 << 3 << false << u"Очки: 3-1-0"_s << false << 1 << 1;
        // About 50 rows a page: many pages, never a page per row.
        QTest::newRow("a long table")
            << 1200 << 4 << false << u"Очки: 3-1-0"_s << false << 15 << 40;
        QTest::newRow("wide: landscape") << 60 << 9 << true << QString() << true << 1 << 3;
        QTest::newRow("wider than landscape: scaled, as many rows a page or more")
            << 300 << 30 << true << QString() << true << 1 << 8;
    }

    void table()
    {
        QFETCH(int, rows);
        QFETCH(int, columns);
        QFETCH(bool, longHeaders);
        QFETCH(QString, footnote);
        const QString caption = u"Таблица «Высшая лига», 01.03.2024–30.10.2024"_s;
        const TableSnapshot table = sampleTable(rows, columns, longHeaders, footnote);
        int pages = 0;
        const QByteArray pdf = tablePdf(caption, table, &pages);
        QVERIFY(pdf.startsWith("%PDF-"));
        QCOMPARE(pageCount(pdf), pages);
        QFETCH(int, minPages);
        QFETCH(int, maxPages);
        QVERIFY2(pages >= minPages && pages <= maxPages, qPrintable(QString::number(pages)));
        QTEST(landscape(pdf), "landscape");
        QCOMPARE(title(pdf), caption);

        const QStringList texts = pageTexts(pdf);
        if (texts.isEmpty())
            QSKIP("pdftotext is not installed: the pages' text is not read");
        QCOMPARE(texts.size(), pages);
        QVERIFY(texts.constFirst().contains(caption));
        int next = 1; // every row once, in order, across the page breaks
        for (int p = 0; p < pages; ++p) {
            const QString &page = texts.at(p);
            if (p > 0)
                QVERIFY(!page.contains(caption));
            // The header on every page but one that holds the footnote alone.
            QVERIFY2(page.contains(table.headers.constFirst()) ||
                         (p > 0 && p == pages - 1 && !footnote.isEmpty()),
                     qPrintable(u"no header on page %1"_s.arg(p + 1)));
            // The page number at the foot, below the last row.
            const qsizetype number = page.indexOf(archiveTexts().pageNumber.arg(p + 1).arg(pages));
            QVERIFY(number > page.lastIndexOf(u"row-"_s));
            static const QRegularExpression rowKey(u"row-(\\d{5})"_s);
            for (auto it = rowKey.globalMatch(page); it.hasNext();)
                QCOMPARE(it.next().captured(1).toInt(), next++);
        }
        QCOMPARE(next, rows + 1);
        if (!footnote.isEmpty())
            QVERIFY(texts.constLast().contains(footnote));
    }

    // A report is one page however long: scaled down, never cut.
    void report_data()
    {
        QTest::addColumn<int>("paragraphs");
        QTest::newRow("short") << 5;
        QTest::newRow("three pages long") << 150;
    }

    void report()
    {
        QFETCH(int, paragraphs);
        QString html = u"<h2>Ракета — Звезда 2:1</h2>"_s;
        for (int i = 1; i <= paragraphs; ++i)
            html += u"<p>событие %1</p>"_s.arg(i);
        QTextDocument document;
        document.setHtml(html);
        const QByteArray pdf = documentPdf(document, u"Ракета — Звезда"_s);
        QCOMPARE(pageCount(pdf), 1);
        QCOMPARE(title(pdf), u"Ракета — Звезда"_s);
        const QStringList texts = pageTexts(pdf);
        if (!texts.isEmpty())
            QVERIFY(texts.constFirst().contains(u"событие %1"_s.arg(paragraphs)));
    }

    // The window prints and writes what it shows: the caption, the rows the filter keeps, the
    // report; and its table saves start with the caption when asked, the choice remembered.
    void window()
    {
        QTemporaryDir dir;
        isolateSettings(dir.path());
        QList<Match> matches;
        for (int i = 0; i < 40; ++i)
            matches.append(
                makeMatch(u"m%1"_s.arg(i), u"2020-03-%1"_s.arg(1 + i % 28, 2, 10, QLatin1Char('0')),
                          i % 2 ? u"Ракета"_s : u"Звезда"_s, u"Гость %1"_s.arg(i), u"1"_s, u"0"_s));
        const QString database = dir.filePath(u"db.swb"_s);
        QVERIFY(writeDatabase(database, makeStore(matches)).ok());
        FakeDialogs dialogs;
        auto window = startWindow(database, dialogs);
        QCOMPARE(window->matchStore().count(), 40);
        window->callCalculateMatches();
        window->findChild<QLineEdit *>(u"rowFilter"_s)->setText(u"Ракета"_s);
        const QString caption = window->findChild<QLabel *>(u"caption"_s)->text();
        QVERIFY(!caption.isEmpty());

        const QString pdfPath = dir.filePath(u"matches"_s);
        dialogs.fileAnswers = QStringList{pdfPath};
        window->findChild<QAction *>(u"actionExportPdf"_s)->trigger();
        const QByteArray pdf = readFile(pdfPath + u".pdf"_s);
        QCOMPARE(title(pdf), caption);
        const QStringList texts = pageTexts(pdf);
        if (!texts.isEmpty()) {
            QCOMPARE(texts.join(u'\n').count(u"Ракета"_s), 20);
            QVERIFY(!texts.join(u'\n').contains(u"Звезда"_s));
        }

        // "Печать…": the dialog's printer, sent to a PDF file.
        const QString printed = dir.filePath(u"printed.pdf"_s);
        dialogs.onExec = [&](QDialog &dialog) {
            auto *print = qobject_cast<QPrintDialog *>(&dialog);
            if (!print)
                return int(QDialog::Rejected);
            print->printer()->setOutputFormat(QPrinter::PdfFormat);
            print->printer()->setOutputFileName(printed);
            return int(QDialog::Accepted);
        };
        window->findChild<QAction *>(u"actionPrint"_s)->trigger();
        QCOMPARE(pageCount(readFile(printed)), 1);

        // The caption line: asked for, remembered, cleared.
        const QString csv = dir.filePath(u"t.csv"_s);
        const QString txt = dir.filePath(u"t.txt"_s);
        const auto startOf = [](const QString &path) { return QString::fromUtf8(readFile(path)); };
        dialogs.saveOptionAnswer = true;
        dialogs.fileAnswers = QStringList{csv};
        window->findChild<QAction *>(u"actionSaveAsCsv"_s)->trigger();
        QVERIFY(startOf(csv).startsWith(csvCaptionLine(caption) + u"Дата"_s));
        dialogs.saveOptionAnswer.reset();
        dialogs.fileAnswers = QStringList{txt};
        window->saveAsText();
        QVERIFY(startOf(txt).startsWith(caption + u"\n-"_s));
        dialogs.saveOptionAnswer = false;
        dialogs.fileAnswers = QStringList{csv};
        window->findChild<QAction *>(u"actionSaveAsCsv"_s)->trigger();
        QVERIFY(startOf(csv).startsWith(u"Дата"_s));

        // A report: one page, named after its first line.
        window->findChild<QLineEdit *>(u"rowFilter"_s)->clear();
        window->cellSelected(0, 0);
        QVERIFY(window->findChild<QTableWidget *>(u"table"_s)->isHidden());
        dialogs.fileAnswers = QStringList{dir.filePath(u"report.pdf"_s)};
        window->findChild<QAction *>(u"actionExportPdf"_s)->trigger();
        const QByteArray reportPdf = readFile(dir.filePath(u"report.pdf"_s));
        QCOMPARE(pageCount(reportPdf), 1);
        QVERIFY(title(reportPdf).contains(u"Гость"_s));
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_gui_printing.moc"
