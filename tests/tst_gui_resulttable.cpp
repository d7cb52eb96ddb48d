// A page's table in the window's widget: a header click orders integers and dates by value and
// any other column by code unit, and the exports take what the screen shows.

#include "app/resulttableview.h"
#include "pages/tabledata.h"
#include "pages/textexport.h"

#include <QtTest>
#include <QtWidgets>

using namespace Qt::Literals::StringLiterals;

namespace {

TableData pageTable(const QStringList &cells)
{
    TableData data;
    data.prepareTable({u"A"_s, u"B"_s}, 60, int(cells.size()));
    for (int r = 0; r < cells.size(); ++r) {
        data.setCell(r, 0, cells.at(r));
        data.setCell(r, 1, QString::number(r));
        data.setCell(r, 2, u"link"_s);
    }
    return data;
}

} // namespace

class TestResultTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void headerClickOrders_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("sorted"); // the column after an ascending click
        QTest::newRow("integers by value, empty first")
            << QStringList{u"9"_s, u"10"_s, QString(), u" -2"_s} << u"| -2|9|10"_s;
        QTest::newRow("dates of both forms by day")
            << QStringList{u"2020/03/01"_s, u"01.02.2020"_s, u"2019/12/31"_s}
            << u"2019/12/31|01.02.2020|2020/03/01"_s;
        QTest::newRow("integers mixed with dates as text")
            << QStringList{u"5"_s, u"2020/03/01"_s, u"10"_s} << u"10|2020/03/01|5"_s;
        QTest::newRow("names by code unit")
            << QStringList{u"б"_s, u"Я"_s, u"a"_s, u"B"_s} << u"B|a|Я|б"_s;
    }
    void headerClickOrders()
    {
        QFETCH(QStringList, cells);
        QTableWidget table;
        fillResultTable(&table, pageTable(cells));
        table.sortItems(0, Qt::AscendingOrder);
        // The exports take the screen's order, without the link column, and the footnote.
        const TableSnapshot snapshot = resultTableSnapshot(&table, {}, u"note"_s);
        QStringList shown;
        for (const QStringList &row : snapshot.rows)
            shown << row.first();
        QTEST(shown.join(u'|'), "sorted");
        QVERIFY(snapshot.rows.first().size() == 2 && snapshot.footnote == u"note"_s);
    }
};

QTEST_MAIN(TestResultTable)
#include "tst_gui_resulttable.moc"
