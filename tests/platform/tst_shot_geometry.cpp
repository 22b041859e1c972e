#include "colour/color_value.h"
#include "platform/portal/shot_geometry.h"

#include <QTest>

using platform::portal::LoupeRect;
using platform::portal::ShotPixel;

class tst_ShotGeometry : public QObject {
    Q_OBJECT

private slots:
    void pointerReachesEveryDevicePixel_data();
    void pointerReachesEveryDevicePixel();
    void loupeFlipsAtTheEdges_data();
    void loupeFlipsAtTheEdges();
    void desktopPickerChannelsRoundToNearest_data();
    void desktopPickerChannelsRoundToNearest();
};

void tst_ShotGeometry::pointerReachesEveryDevicePixel_data()
{
    QTest::addColumn<QRectF>("layout");
    QTest::addColumn<QSize>("shot");
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<QPoint>("pixel");

    const QRectF one(0, 0, 1920, 1080);
    QTest::newRow("scale 1") << one << QSize(1920, 1080) << QPointF(100.9, 7.0) << QPoint(100, 7);
    QTest::newRow("scale 1, last pixel")
        << one << QSize(1920, 1080) << QPointF(1919.99, 1079.99) << QPoint(1919, 1079);
    QTest::newRow("scale 2, even")
        << QRectF(0, 0, 960, 540) << QSize(1920, 1080) << QPointF(100.25, 3.0) << QPoint(200, 6);
    QTest::newRow("scale 2, odd") << QRectF(0, 0, 960, 540) << QSize(1920, 1080)
                                  << QPointF(100.75, 3.5) << QPoint(201, 7);
    QTest::newRow("scale 1.5, shot at 2")
        << QRectF(0, 0, 1280, 720) << QSize(2560, 1440) << QPointF(0.6, 639.75) << QPoint(1, 1279);
    // Outputs of scales 1 and 2 side by side: the image is at scale 2, the
    // first output upscaled in it.
    QTest::newRow("scales 1 and 2, on the second")
        << QRectF(0, 0, 1920 + 960, 1080) << QSize(5760, 2160) << QPointF(1920.5, 0.5)
        << QPoint(3841, 1);
    QTest::newRow("layout not at the origin") << QRectF(-1280, 0, 2560, 1024) << QSize(2560, 1024)
                                              << QPointF(-1.5, 10.0) << QPoint(1278, 10);
    QTest::newRow("beyond the edge clamps")
        << one << QSize(1920, 1080) << QPointF(-3, 2000) << QPoint(0, 1079);
}

void tst_ShotGeometry::pointerReachesEveryDevicePixel()
{
    QFETCH(QRectF, layout);
    QFETCH(QSize, shot);
    QFETCH(QPointF, pointer);
    QFETCH(QPoint, pixel);
    QCOMPARE(ShotPixel(pointer, layout, shot), pixel);
}

void tst_ShotGeometry::loupeFlipsAtTheEdges_data()
{
    QTest::addColumn<QPointF>("pointer");
    QTest::addColumn<QPoint>("corner");

    QTest::newRow("middle") << QPointF(500.5, 400.5) << QPoint(524, 424);
    QTest::newRow("right edge") << QPointF(1900, 400) << QPoint(1900 - 24 - 100, 424);
    QTest::newRow("bottom edge") << QPointF(500, 1070) << QPoint(524, 1070 - 24 - 120);
    QTest::newRow("bottom right corner")
        << QPointF(1919, 1079) << QPoint(1919 - 24 - 100, 1079 - 24 - 120);
}

void tst_ShotGeometry::loupeFlipsAtTheEdges()
{
    QFETCH(QPointF, pointer);
    QFETCH(QPoint, corner);
    const QRect loupe = LoupeRect(pointer, QSize(100, 120), QSize(1920, 1080));
    QCOMPARE(loupe.topLeft(), corner);
    QVERIFY(QRect(0, 0, 1920, 1080).contains(loupe));
    QVERIFY(!loupe.contains(pointer.toPoint()));
}

void tst_ShotGeometry::desktopPickerChannelsRoundToNearest_data()
{
    QTest::addColumn<double>("unit");
    QTest::addColumn<int>("channel");

    QTest::newRow("0") << 0.0 << 0;
    QTest::newRow("1") << 1.0 << 255;
    QTest::newRow("51/255 in float") << double(51.0f / 255.0f) << 51;
    QTest::newRow("just below 128/255") << 128.0 / 255.0 - 1e-9 << 128; // truncation gives 127
    QTest::newRow("half way up") << 0.5 << 128;
    QTest::newRow("below 0") << -0.2 << 0;
    QTest::newRow("above 1") << 1.7 << 255;
    QTest::newRow("not a number") << std::nan("") << 0;
}

void tst_ShotGeometry::desktopPickerChannelsRoundToNearest()
{
    QFETCH(double, unit);
    QFETCH(int, channel);
    QCOMPARE(colour::ChannelFromUnit(unit), channel);
}

QTEST_MAIN(tst_ShotGeometry)
#include "tst_shot_geometry.moc"
