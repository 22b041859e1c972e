#include "platform/portal/png_shot.h"

#include <QDir>
#include <QTemporaryFile>
#include <QTest>

// Every kind of PNG a portal could write, each filter the fast path undoes
// (the fuzzer's seeds, made for this), and files cut short or lying about
// their size: the pick either gets Qt's own colours for them or nothing.
class tst_PngShot : public QObject {
    Q_OBJECT

private slots:
    void readsLikeQt_data();
    void readsLikeQt();
};

namespace {

QByteArray Seed(const QString& name)
{
    QFile file(QStringLiteral(PNG_SEEDS "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Where the chunk of `type` starts (its length field).
qsizetype Chunk(const QByteArray& png, const char* type)
{
    return png.indexOf(type) - 4;
}

QByteArray WithHeight(QByteArray png, quint32 height)
{
    const qsizetype at = Chunk(png, "IHDR") + 12;
    for (int i = 0; i < 4; ++i)
        png[at + i] = char(height >> (24 - 8 * i));
    return png;
}

} // namespace

void tst_PngShot::readsLikeQt_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("decodes");

    for (const QString& name : QDir(QStringLiteral(PNG_SEEDS)).entryList(QDir::Files))
        QTest::newRow(qPrintable(name)) << Seed(name) << true;

    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("not a picture") << QByteArray("P6 not a PNG at all") << false;
    // The fast path's kind, and libpng's.
    for (const char* name : {"rgb_every_filter", "grey_16_interlaced"}) {
        const QByteArray file = Seed(QLatin1String(name));
        const qsizetype pixels = Chunk(file, "IDAT") + 8;
        QTest::addRow("%s, cut in the header", name) << file.left(20) << false;
        QTest::addRow("%s, cut in the pixels", name) << file.left(pixels + 40) << false;
        QTest::addRow("%s, cut before the end", name) << file.left(Chunk(file, "IEND")) << false;
        QTest::addRow("%s, more rows than it holds", name) << WithHeight(file, 24) << false;
        QTest::addRow("%s, far too large", name) << WithHeight(file, 1u << 30) << false;
        QByteArray garbled = file;
        garbled[pixels + 2] = char(~garbled[pixels + 2]);
        QTest::addRow("%s, garbled pixels", name) << garbled << false;
    }
}

void tst_PngShot::readsLikeQt()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, decodes);

    QTemporaryFile written;
    QVERIFY(written.open());
    written.write(file);
    written.close();
    const QImage shot = platform::portal::ReadShot(written.fileName());
    if (!decodes) {
        QVERIFY(shot.isNull());
        return;
    }
    const QImage qt = QImage::fromData(file).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!qt.isNull());
    QCOMPARE(shot.format(), QImage::Format_RGB32);
    QCOMPARE(shot.size(), qt.size());
    for (int y = 0; y < shot.height(); ++y) {
        const auto* ours = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        const auto* theirs = reinterpret_cast<const QRgb*>(qt.constScanLine(y));
        // Opaque too: the overlays draw the picture as it is.
        for (int x = 0; x < shot.width(); ++x)
            QCOMPARE(QString::number(ours[x], 16), QString::number(theirs[x] | 0xFF000000, 16));
    }
}

QTEST_GUILESS_MAIN(tst_PngShot)
#include "tst_png_shot.moc"
