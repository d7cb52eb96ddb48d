// The icons compiled into the program: every one is present under ":/icon/images/", has the size
// its place in the window needs, and shows what it stands for (a green caption on the mode tiles,
// the right colours on the cards and marks), so that a missing, misnamed or swapped file is caught.

#include <QImage>
#include <QtTest>

namespace {

enum Colour { Green = 1, Red = 2, Yellow = 4, Dark = 8 };

int colourOf(QRgb pixel)
{
    if (qAlpha(pixel) < 128)
        return 0;
    const int r = qRed(pixel), g = qGreen(pixel), b = qBlue(pixel);
    if (r < 70 && g < 70 && b < 70)
        return Dark;
    if (g > r + 50 && g > b + 50)
        return Green;
    if (r > 150 && g < 90 && b < 90)
        return Red;
    if (r > 200 && g > 160 && b < 90)
        return Yellow;
    return 0;
}

// The colours that cover at least `minimum` pixels of the given rows.
int coloursIn(const QImage &image, int firstRow, int lastRow, int minimum = 3)
{
    QHash<int, int> counts;
    for (int y = firstRow; y <= lastRow; ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[colourOf(image.pixel(x, y))];
    int found = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.key() != 0 && it.value() >= minimum)
            found |= it.key();
    return found;
}

} // namespace

class TestIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void icon_data();
    void icon();
    void modeTile_data();
    void modeTile();
};

void TestIcons::icon_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("colours"); // colours the icon must show
    QTest::addColumn<int>("absent");  // colours it must not show
    QTest::addColumn<bool>("clearCorners");

    QTest::newRow("window") << QStringLiteral("window") << 32 << int(Dark) << 0 << true;
    QTest::newRow("goal") << QStringLiteral("goal") << 16 << int(Dark) << (Red | Yellow | Green)
                          << true;
    QTest::newRow("pen") << QStringLiteral("pen") << 16 << int(Red) << (Yellow | Green) << true;
    QTest::newRow("autogoal") << QStringLiteral("autogoal") << 16 << (Dark | Red)
                              << (Yellow | Green) << true;
    QTest::newRow("missed") << QStringLiteral("missed") << 16 << (Dark | Red) << (Yellow | Green)
                            << true;
    QTest::newRow("subs") << QStringLiteral("subs") << 16 << (Red | Green) << (Yellow | Dark)
                          << true;
    QTest::newRow("yellow") << QStringLiteral("yellow") << 16 << int(Yellow) << (Red | Green)
                            << true;
    QTest::newRow("yellow2") << QStringLiteral("yellow2") << 16 << (Yellow | Red) << int(Green)
                             << true;
    QTest::newRow("red") << QStringLiteral("red") << 16 << int(Red) << (Yellow | Green) << true;
    for (int mode = 0; mode < 9; ++mode)
        QTest::newRow(qPrintable(QStringLiteral("mode%1").arg(mode)))
            << QStringLiteral("mode%1").arg(mode) << 64 << int(Green) << (Red | Yellow) << false;
}

void TestIcons::icon()
{
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(int, colours);
    QFETCH(int, absent);
    QFETCH(bool, clearCorners);

    const QImage image(QStringLiteral(":/icon/images/%1.png").arg(name));
    QVERIFY2(!image.isNull(), qPrintable(name));
    QCOMPARE(image.size(), QSize(size, size));
    QVERIFY(image.hasAlphaChannel());

    const int shown = coloursIn(image, 0, size - 1);
    QCOMPARE(shown & colours, colours);
    QCOMPARE(shown & absent, 0);
    if (clearCorners) {
        // drawn on a transparent ground, so that it sits on any page or title bar
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)})
            QCOMPARE(qAlpha(image.pixel(corner)), 0);
    }
}

void TestIcons::modeTile_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("twoLines");

    QTest::newRow("start page") << 0 << true;
    for (int mode = 1; mode < 9; ++mode)
        QTest::newRow(qPrintable(QStringLiteral("mode%1").arg(mode))) << mode << false;
}

// A white tile: the caption in green along the bottom, black pictogram lines above it.
void TestIcons::modeTile()
{
    QFETCH(int, mode);
    QFETCH(bool, twoLines);

    const QImage image(QStringLiteral(":/icon/images/mode%1.png").arg(mode));
    QVERIFY(!image.isNull());
    QCOMPARE(qGray(image.pixel(32, 4)), 255);

    const int captionTop = twoLines ? 38 : 48;
    QCOMPARE(coloursIn(image, captionTop, 63) & Green, int(Green));
    QCOMPARE(coloursIn(image, 0, captionTop - 1) & Green, 0);
    QCOMPARE(coloursIn(image, 0, captionTop - 1, 20) & Dark, int(Dark));
}

QTEST_MAIN(TestIcons)
#include "tst_gui_icons.moc"
