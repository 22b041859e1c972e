#include "shell/color_api.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

// The settings writer's gathered writes: one shutdown's keys land as one
// replacement of the file, byte for byte what the single writes would leave.
class tst_ColorApi : public QObject {
    Q_OBJECT

private slots:
    void gatheredWrites_data();
    void gatheredWrites();
};

namespace {

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A shutdown's keys, in its order.
void WriteTheSevenKeys()
{
    const struct {
        const char* section;
        const char* key;
        int value;
    } keys[] = {{"Window", "PosX", -300}, {"Window", "PosY", 1200}, {"Color", "Red", 18},
        {"Color", "Green", 52}, {"Color", "Blue", 86}, {"Color", "RGB", 1}, {"Color", "Mode", 2}};
    for (const auto& k : keys)
        ColorAPI::WriteIniValue(
            QString::fromLatin1(k.section), QString::fromLatin1(k.key), k.value);
}

} // namespace

void tst_ColorApi::gatheredWrites_data()
{
    QTest::addColumn<QByteArray>("before"); // empty: no file
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("no file yet") << QByteArray() << false;
    QTest::newRow("BOM, CR LF, comments and others' keys") << QByteArray(
        "\xEF\xBB\xBF; by hand\r\n[Color]\r\nred = 7\r\nFavourite=1\r\n\r\n"
        "# next\r\n[Other]\r\nRed=99\r\n") << false;
    QTest::newRow("only the window, no last line end")
        << QByteArray("[Window]\nPosX=1\nPosY=2") << false;
    QTest::newRow("the same keys again: the same bytes") << QByteArray(
        "[Window]\nPosX=-300\nPosY=1200\n\n[Color]\nRed=18\nGreen=52\nBlue=86\n"
        "RGB=1\nMode=2\n") << false;
    QTest::newRow("a write that fails leaves the old file")
        << QByteArray("[Color]\nRed=7\n" + QByteArray(4096, ';') + "\n") << true;
}

void tst_ColorApi::gatheredWrites()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, diskFull);
    QTemporaryDir single, gathered;
    const QString one = single.filePath("tinctor.ini");
    const QString all = gathered.filePath("tinctor.ini");
    if (!before.isEmpty()) {
        Write(one, before);
        Write(all, before);
    }

    ColorAPI::IniFile = one;
    WriteTheSevenKeys();

    // Root writes anywhere; a file size limit fails the write for anyone.
    rlimit unlimited{};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    if (diskFull) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = unlimited;
        small.rlim_cur = 1024;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ColorAPI::ChooseIniFile(gathered.path(), "tinctor");
    QCOMPARE(ColorAPI::IniFile, all);
    ColorAPI::BeginIniWrites();
    WriteTheSevenKeys();
    QCOMPARE(Read(all), before.isEmpty() ? QByteArray("(none)") : before); // nothing yet
    ColorAPI::EndIniWrites();
    setrlimit(RLIMIT_FSIZE, &unlimited);

    QCOMPARE(Read(all), diskFull ? before : Read(one));
    QCOMPARE(QDir(gathered.path()).entryList(QDir::Files), QStringList{"tinctor.ini"});
}

QTEST_GUILESS_MAIN(tst_ColorApi)
#include "tst_color_api.moc"
