// The icons compiled into the program: every one is present under ":/icon/images/" at the size
// its place in the window needs, so that a missing or misnamed file is caught.

#include <QImage>
#include <QtTest>

class TestIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void icon_data();
    void icon();
};

void TestIcons::icon_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");

    QTest::newRow("window") << QStringLiteral("window") << 32;
    for (const char *mark :
         {"goal", "pen", "autogoal", "missed", "subs", "yellow", "yellow2", "red"})
        QTest::newRow(mark) << QString::fromLatin1(mark) << 16;
    for (int mode = 0; mode < 9; ++mode)
        QTest::newRow(qPrintable(QStringLiteral("mode%1").arg(mode)))
            << QStringLiteral("mode%1").arg(mode) << 64;
}

void TestIcons::icon()
{
    QFETCH(QString, name);
    QFETCH(int, size);

    const QImage image(QStringLiteral(":/icon/images/%1.png").arg(name));
    QVERIFY2(!image.isNull(), qPrintable(name));
    QCOMPARE(image.size(), QSize(size, size));
}

QTEST_MAIN(TestIcons)
#include "tst_gui_icons.moc"
