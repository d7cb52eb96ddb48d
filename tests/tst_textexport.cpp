#include "pages/tabledata.h"
#include "pages/textexport.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestTextExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void alignedText_data();
    void alignedText();
    void snapshotFollowsTheTable();
    void csvAndTsv_data();
    void csvAndTsv();
};

void TestTextExport::alignedText_data()
{
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QString>("text");

    QTest::newRow("two columns") << QStringList{u"Игрок"_s, u"Команда"_s} << QList<int>{60, 90}
                                 << QList<QStringList>{{u"A"_s, u"BB"_s}}
                                 << u"---------------------------\n"
                                    "|    Игрок |      Команда | \n"
                                    "---------------------------\n"
                                    "|        A |           BB | \n"
                                    "---------------------------\n"_s;
    QTest::newRow("no rows") << QStringList{u"Игрок"_s} << QList<int>{60} << QList<QStringList>()
                             << u"------------\n|    Игрок | \n------------\n------------\n"_s;
    // Headers are cut to their column and lose their line feeds; cells are never cut.
    QTest::newRow("long header, long cell")
        << QStringList{u"Пен(не\nзаб)"_s, u"X"_s} << QList<int>{49, 14}
        << QList<QStringList>{{u"123456789"_s, u"y"_s}}
        << u"----------------\n"
           "| Пен(нез |  X | \n"
           "----------------\n"
           "| 123456789 |  y | \n"
           "----------------\n"_s;
    QTest::newRow("column narrower than a character")
        << QStringList{u"Hidden"_s, u"X"_s} << QList<int>{6, 7}
        << QList<QStringList>{{u"abc"_s, QString()}}
        << u"--------\n"
           "|  | X | \n"
           "--------\n"
           "| abc |   | \n"
           "--------\n"_s;
}

void TestTextExport::alignedText()
{
    QFETCH(QStringList, headers);
    QFETCH(QList<int>, widths);
    QFETCH(QList<QStringList>, rows);
    QFETCH(QString, text);

    QCOMPARE(exportText(TableSnapshot{headers, widths, rows}), text);
}

void TestTextExport::snapshotFollowsTheTable()
{
    TableData table;
    table.prepareTable({u"Name"_s, u"N"_s}, 60, 3);
    table.setColumnWidth(0, 120);
    const QStringList names{u"b"_s, u"a"_s, u"c"_s};
    for (int r = 0; r < 3; ++r) {
        table.setCell(r, 0, names.at(r));
        if (r != 2)
            table.setCell(r, 1, QString::number(r));
        table.setCell(r, 2, u"pl02_"_s + names.at(r));
    }
    table.sortByColumn(0, Qt::AscendingOrder);

    const TableSnapshot plain = snapshotOf(table);
    QCOMPARE(plain.headers, (QStringList{u"Name"_s, u"N"_s}));
    QCOMPARE(plain.widths, (QList<int>{120, 60}));
    // Display order, and a cell never set reads as an empty text.
    QCOMPARE(plain.rows, (QList<QStringList>{{u"a"_s, u"1"_s}, {u"b"_s, u"0"_s}, {u"c"_s, u""_s}}));
    QVERIFY(!plain.rows.at(2).at(1).isNull());

    table.resort(0, Qt::DescendingOrder);
    const TableSnapshot linked = snapshotOf(table, true);
    QCOMPARE(linked.headers, (QStringList{u"Name"_s, u"N"_s, u"link"_s}));
    QCOMPARE(linked.rows.first(), (QStringList{u"c"_s, u""_s, u"pl02_c"_s}));
    QCOMPARE(linked.widths.size(), 3);
    // The link column is wide enough for its texts, so its export is not cut.
    QVERIFY(exportText(linked).contains(u"| pl02_c | \n"_s));
}

void TestTextExport::csvAndTsv_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QString>("csv");
    QTest::addColumn<QString>("tsv");

    QTest::newRow("no rows") << QList<QStringList>() << u"H1,H2\r\n"_s << u"H1\tH2\n"_s;
    QTest::newRow("separators and quotes")
        << QList<QStringList>{{u"a,b"_s, u"say \"hi\""_s}, {u"line\nfeed"_s, u"cr\rx"_s}}
        << u"H1,H2\r\n\"a,b\",\"say \"\"hi\"\"\"\r\n\"line\nfeed\",\"cr\rx\"\r\n"_s
        << u"H1\tH2\na,b\tsay \"hi\"\nline\\nfeed\tcr\\rx\n"_s;
    QTest::newRow("tab and backslash")
        << QList<QStringList>{{u"a\tb"_s, u"C:\\x"_s}} << u"H1,H2\r\na\tb,C:\\x\r\n"_s
        << u"H1\tH2\na\\tb\tC:\\\\x\n"_s;
    QTest::newRow("empty and padded cells") << QList<QStringList>{{QString(), u"   7"_s}}
                                            << u"H1,H2\r\n,   7\r\n"_s << u"H1\tH2\n\t   7\n"_s;
}

void TestTextExport::csvAndTsv()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(QString, csv);
    QFETCH(QString, tsv);

    const TableSnapshot table{{u"H1"_s, u"H2"_s}, {60, 60}, rows};
    QCOMPARE(exportCsv(table), csv);
    QCOMPARE(exportTsv(table), tsv);
}

QTEST_GUILESS_MAIN(TestTextExport)
#include "tst_textexport.moc"
