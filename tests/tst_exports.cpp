// The table exports beyond the plain layouts: the caption line a saved table may start with, the
// standalone HTML page, and which columns line up on the right.
#include "pages/textexport.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class TestExports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void captionLines_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("csv");
        QTest::addColumn<QString>("tsv");
        QTest::newRow("plain") << u"Бомбардиры — Высшая лига"_s << u"Бомбардиры — Высшая лига\n"_s
                               << u"Бомбардиры — Высшая лига\r\n"_s
                               << u"Бомбардиры — Высшая лига\n"_s;
        QTest::newRow("a comma and quotes make one CSV field")
            << u"Матчи команды «A, \"B\"»"_s << u"Матчи команды «A, \"B\"»\n"_s
            << u"\"Матчи команды «A, \"\"B\"\"»\"\r\n"_s << u"Матчи команды «A, \"B\"»\n"_s;
        QTest::newRow("a tab stays inside the TSV line")
            << u"A\tB"_s << u"A\tB\n"_s << u"A\tB\r\n"_s << u"A\\tB\n"_s;
        QTest::newRow("no caption, no line") << QString() << QString() << QString() << QString();
    }

    void captionLines()
    {
        QFETCH(QString, caption);
        QTEST(textCaptionLine(caption), "text");
        QTEST(csvCaptionLine(caption), "csv");
        QTEST(tsvCaptionLine(caption), "tsv");
    }

    void numericColumns_data()
    {
        QTest::addColumn<QStringList>("column");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("counts, one padded") << QStringList{u"12"_s, u"  0"_s} << true;
        QTest::newRow("differences, scores, percentages, empty cells")
            << QStringList{u"+5"_s, u"-3"_s, u"2:1"_s, u"45.5%"_s, QString()} << true;
        QTest::newRow("one name among numbers") << QStringList{u"12"_s, u"Зенит"_s} << false;
        QTest::newRow("a name starting with a digit") << QStringList{u"1 Мая"_s, u"3"_s} << false;
        QTest::newRow("dates") << QStringList{u"1992/03/07"_s} << false;
    }

    void numericColumns()
    {
        QFETCH(QStringList, column);
        QFETCH(bool, numeric);
        TableSnapshot table;
        table.headers = {u"Команда"_s, u"X"_s};
        for (const QString &cell : column)
            table.rows.append({u"Зенит"_s, cell});
        QCOMPARE(::numericColumns(table), (QList<bool>{false, numeric}));
    }

    void html_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("footnote");
        QTest::addColumn<QStringList>("parts"); // in this order in the page
        QTest::newRow("caption as title and table caption; cells escaped")
            << u"Игроки <b>«A & B»</b>"_s << QString()
            << QStringList{u"<title>Игроки &lt;b&gt;«A &amp; B»&lt;/b&gt;</title>"_s,
                           u"<caption>Игроки &lt;b&gt;«A &amp; B»&lt;/b&gt;</caption>"_s,
                           u"<thead>\n<tr><th>Игрок &lt;1&gt;</th><th class=\"n\">Голы</th>"
                           "</tr>\n</thead>"_s,
                           u"<tr><td>&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;</td>"
                           "<td class=\"n\">12</td></tr>"_s,
                           u"<tr><td>O'Neil &amp;amp;</td><td class=\"n\"></td></tr>"_s,
                           u"</tbody>\n</table>\n</body>"_s};
        QTest::newRow("no caption element without a caption; the footnote escaped after the table")
            << QString() << u"Очки: 2 <за> победу"_s
            << QStringList{u"<title></title>"_s, u"<thead>"_s, u"</table>\n"_s,
                           u"<p>Очки: 2 &lt;за&gt; победу</p>"_s};
    }

    void html()
    {
        QFETCH(QString, caption);
        QFETCH(QString, footnote);
        QFETCH(QStringList, parts);
        TableSnapshot table;
        table.headers = {u"Игрок <1>"_s, u"Голы"_s};
        table.rows = {{u"<script>alert(\"x\")</script>"_s, u"12"_s},
                      {u"O'Neil &amp;"_s, QString()}};
        table.footnote = footnote;
        const QString page = exportHtml(table, caption);
        QVERIFY(page.startsWith(u"<!DOCTYPE html>\n"_s));
        QVERIFY(page.contains(u"<meta charset=\"utf-8\">"_s));
        QCOMPARE(page.contains(u"<caption>"_s), !caption.isEmpty());
        qsizetype from = 0;
        for (const QString &part : parts) {
            const qsizetype at = page.indexOf(part, from);
            QVERIFY2(at >= 0, qPrintable(part));
            from = at + part.size();
        }
        // Nothing of the cells' markup survives.
        QVERIFY(!page.contains(u"<script"_s) && !page.contains(u"<b>"_s));
    }
};

QTEST_GUILESS_MAIN(TestExports)
#include "tst_exports.moc"
