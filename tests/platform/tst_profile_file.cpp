#include "platform/services/profile_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <limits>
#include <memory>

using platform::GetPrivateProfileInt;
using platform::WritePrivateProfileString;

// The settings file as start-up reads it and shutdown rewrites it: whatever a
// user or another tool left in it must survive a write byte for byte.
class tst_ProfileFile : public QObject {
    Q_OBJECT

private slots:
    void init();
    void read_data();
    void read();
    void write_data();
    void write();
    void shutdownWritesIntoNewFile();
    void roundTrip_data();
    void roundTrip();
    void unusablePath_data();
    void unusablePath();
    void writeThroughSymlink_data();
    void writeThroughSymlink();
    void junkNeverHarms_data();
    void junkNeverHarms();

private:
    QString Path(const QString& name) const { return dir->filePath(name); }
    QString Store(const QByteArray& bytes, const QString& name = "settings.ini");

    std::unique_ptr<QTemporaryDir> dir;
};

namespace {

constexpr std::int32_t kDefault = 77;

// Keeps embedded NULs, which a plain const char* would cut short.
template <std::size_t N> QByteArray Bytes(const char (&s)[N])
{
    return QByteArray(s, N - 1);
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

} // namespace

void tst_ProfileFile::init()
{
    dir = std::make_unique<QTemporaryDir>();
    QVERIFY(dir->isValid());
}

QString tst_ProfileFile::Store(const QByteArray& bytes, const QString& name)
{
    QFile file(Path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot prepare %s", qPrintable(file.fileName()));
    return file.fileName();
}

void tst_ProfileFile::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<std::int32_t>("expected");
    // Every row reads "Color"/"Red" with the default 77.
    const auto red = [](const QByteArray& value) { return "[Color]\nRed=" + value + '\n'; };

    QTest::newRow("no section") << QByteArray("[Other]\nRed=5\n") << kDefault;
    QTest::newRow("no key") << QByteArray("[Color]\nGreen=5\n") << kDefault;
    QTest::newRow("key only in the next section")
        << QByteArray("[Color]\n[Window]\nRed=5\n") << kDefault;
    QTest::newRow("key before any section") << QByteArray("Red=5\n[Color]\n") << kDefault;
    QTest::newRow("names in other case") << QByteArray("[cOLOR]\nrED=5\n") << 5;
    QTest::newRow("blanks around names and value")
        << QByteArray(" [ Color ] \n\t Red \t= \t5 \t\n") << 5;
    QTest::newRow("comments and blank lines")
        << QByteArray("; [Color]\n[Color]\n;Red=1\n#Red=2\n\n  ; Red=3\nRed=4\n") << 4;
    QTest::newRow("first section wins")
        << QByteArray("[Color]\nGreen=1\n[color]\nRed=2\n") << kDefault;
    QTest::newRow("first key wins") << QByteArray("[Color]\nRed=1\nRED=2\n") << 1;
    QTest::newRow("CR LF line ends") << QByteArray("[Color]\r\nRed=5\r\n") << 5;
    QTest::newRow("UTF-8 BOM, no final line end") << QByteArray("\xEF\xBB\xBF[Color]\nRed=5") << 5;
    QTest::newRow("header without closing bracket") << QByteArray("[Color\nRed=5\n") << 5;
    QTest::newRow("NUL and high bytes in value") << Bytes("[Color]\nRed=\0\2007\n") << 0;

    QTest::newRow("letters") << red("abc") << 0;
    QTest::newRow("empty value") << red("") << 0;
    QTest::newRow("digits then letters") << red("12abc") << 12;
    QTest::newRow("negative") << red("-300") << -300;
    QTest::newRow("plus sign") << red("+42") << 42;
    QTest::newRow("sign then blank") << red("- 5") << 0;
    QTest::newRow("leading zeros") << red("007") << 7;
    QTest::newRow("hex prefix is not read") << red("0x1F") << 0;
    QTest::newRow("one above saturates")
        << red("2147483648") << std::numeric_limits<std::int32_t>::max();
    QTest::newRow("one below saturates")
        << red("-2147483649") << std::numeric_limits<std::int32_t>::min();
    QTest::newRow("2^32 does not wrap to 0")
        << red("4294967296") << std::numeric_limits<std::int32_t>::max();
    QTest::newRow("forty digits") << red(QByteArray(40, '9'))
                                  << std::numeric_limits<std::int32_t>::max();
}

void tst_ProfileFile::read()
{
    QFETCH(QByteArray, content);
    QFETCH(std::int32_t, expected);
    QCOMPARE(GetPrivateProfileInt("Color", "Red", kDefault, Store(content)), expected);
}

void tst_ProfileFile::write_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    // Every row sets "Color"/"Red" to 9.
    const QByteArray mixed = "; Tinctor\n[Window]\nRed=1\nExtra = keep \n\n# colour\n[Color]\n"
                             "Green=1\nRed=1\nUnknown\n\n";

    QTest::newRow("replace keeps every other byte")
        << mixed << QByteArray(mixed).replace("[Color]\nGreen=1\nRed=1", "[Color]\nGreen=1\nRed=9");
    QTest::newRow("replace keeps spelling and blanks before the value")
        << QByteArray("[color]\n  rED =  12 ;x \n") << QByteArray("[color]\n  rED =  9\n");
    QTest::newRow("replace the first of two keys")
        << QByteArray("[Color]\nRed=1\nRed=2\n") << QByteArray("[Color]\nRed=9\nRed=2\n");
    QTest::newRow("replace in the first of two sections") << QByteArray(
        "[Color]\n[Color]\nRed=2\n") << QByteArray("[Color]\nRed=9\n[Color]\nRed=2\n");
    QTest::newRow("replace an empty value")
        << QByteArray("[Color]\nRed=\n") << QByteArray("[Color]\nRed=9\n");
    QTest::newRow("append after the last entry, before what leads on")
        << QByteArray("[Color]\nGreen=1\n\n; window next\n[Window]\n")
        << QByteArray("[Color]\nGreen=1\nRed=9\n\n; window next\n[Window]\n");
    QTest::newRow("append to a bare header at the end")
        << QByteArray("[Color]") << QByteArray("[Color]\nRed=9\n");
    QTest::newRow("key before any section is not the section's")
        << QByteArray("Red=1\n[Color]\n") << QByteArray("Red=1\n[Color]\nRed=9\n");
    QTest::newRow("empty file") << QByteArray() << QByteArray("[Color]\nRed=9\n");
    QTest::newRow("new section after a blank line")
        << QByteArray("[Window]\nPosX=1\n") << QByteArray("[Window]\nPosX=1\n\n[Color]\nRed=9\n");
    QTest::newRow("new section after no final line end")
        << QByteArray("[Window]\nPosX=1") << QByteArray("[Window]\nPosX=1\n\n[Color]\nRed=9\n");
    QTest::newRow("new section reuses a trailing blank line")
        << QByteArray("[Window]\n\n") << QByteArray("[Window]\n\n[Color]\nRed=9\n");
    QTest::newRow("CR LF kept when replacing") << QByteArray("[Color]\r\nRed=1\r\nGreen=2\r\n")
                                               << QByteArray("[Color]\r\nRed=9\r\nGreen=2\r\n");
    QTest::newRow("CR LF kept when appending")
        << QByteArray("[Color]\r\nGreen=1\r\n") << QByteArray("[Color]\r\nGreen=1\r\nRed=9\r\n");
    QTest::newRow("CR LF kept for a new section")
        << QByteArray("[Window]\r\n") << QByteArray("[Window]\r\n\r\n[Color]\r\nRed=9\r\n");
    QTest::newRow("lone CR at the end joins the added LF")
        << QByteArray("[Color]\nGreen=1\r") << QByteArray("[Color]\nGreen=1\r\nRed=9\n");
    QTest::newRow("BOM kept") << QByteArray("\xEF\xBB\xBF[Color]\nRed=1\n")
                              << QByteArray("\xEF\xBB\xBF[Color]\nRed=9\n");
}

void tst_ProfileFile::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const QString path = Store(before);
    QVERIFY(WritePrivateProfileString(" Color ", "Red", "9", path));
    QCOMPARE(Contents(path), after);
}

void tst_ProfileFile::shutdownWritesIntoNewFile()
{
    const QString path = Path("Tinctor.ini");
    QCOMPARE(GetPrivateProfileInt("Window", "PosX", kDefault, path), kDefault);
    const auto shutdown = [&](const char* red) {
        const char* const writes[][3] = {{"Window", "PosX", "1500"}, {"Window", "PosY", "1200"},
            {"Color", "Red", red}, {"Color", "Green", "128"}, {"Color", "Blue", "0"},
            {"Color", "RGB", "1"}, {"Color", "Mode", "2"}};
        for (const auto& w : writes)
            QVERIFY(WritePrivateProfileString(w[0], w[1], w[2], path));
    };
    const auto layout = [](const QByteArray& red) {
        return "[Window]\nPosX=1500\nPosY=1200\n\n[Color]\nRed=" + red
            + "\nGreen=128\nBlue=0\nRGB=1\nMode=2\n";
    };

    shutdown("255");
    QCOMPARE(Contents(path), layout("255"));
    shutdown("-1"); // the next shutdown rewrites in place: same layout, nothing doubled
    QCOMPARE(Contents(path), layout("-1"));
}

void tst_ProfileFile::roundTrip_data()
{
    QTest::addColumn<std::int32_t>("value");
    QTest::newRow("0") << 0;
    QTest::newRow("255") << 255;
    QTest::newRow("1500") << 1500;
    QTest::newRow("-1200") << -1200;
    QTest::newRow("INT32_MIN") << std::numeric_limits<std::int32_t>::min();
    QTest::newRow("INT32_MAX") << std::numeric_limits<std::int32_t>::max();
}

void tst_ProfileFile::roundTrip()
{
    QFETCH(std::int32_t, value);
    const QString path = Store("[Window]\nPosX=3\n");
    QVERIFY(WritePrivateProfileString("Window", "PosX", QString::number(value), path));
    QVERIFY(WritePrivateProfileString("Color", "Red", QString::number(value), path));
    QCOMPARE(GetPrivateProfileInt("Window", "PosX", kDefault, path), value);
    QCOMPARE(GetPrivateProfileInt("Color", "Red", kDefault, path), value);
}

void tst_ProfileFile::unusablePath_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("key");
    const QString red = "Red";
    QTest::newRow("path is a directory") << QStringLiteral("directory") << red;
    QTest::newRow("parent is a regular file") << QStringLiteral("parent file") << red;
    QTest::newRow("folder missing") << QStringLiteral("missing folder") << red;
    QTest::newRow("named pipe") << QStringLiteral("pipe") << red;
    QTest::newRow("read-only folder") << QStringLiteral("read-only folder") << red;
    QTest::newRow("key that would not read back")
        << QStringLiteral("file") << QStringLiteral("Red=1");
    QTest::newRow("key with a line break") << QStringLiteral("file") << QStringLiteral("Red\n[X]");
    QTest::newRow("key that reads as a comment")
        << QStringLiteral("file") << QStringLiteral(";Red");
    QTest::newRow("key that reads as a header")
        << QStringLiteral("file") << QStringLiteral(" [Red");
    QTest::newRow("blank key") << QStringLiteral("file") << QStringLiteral(" \t");
}

// A failed write must leave whatever was at the path (and beside it) exactly
// as it was, and reading the same path must give the default.
void tst_ProfileFile::unusablePath()
{
    QFETCH(QString, setting);
    QFETCH(QString, key);
    const QByteArray old = "[Color]\nRed=5\n";
    QString path;
    QString witness; // a file whose bytes must not change
    if (setting == "directory") {
        QVERIFY(QDir(dir->path()).mkdir("settings.ini"));
        path = Path("settings.ini");
        witness = Store(old, "settings.ini/inside");
    } else if (setting == "parent file") {
        witness = Store(old, "folder");
        path = Path("folder/settings.ini");
    } else if (setting == "missing folder") {
        path = Path("missing/settings.ini");
    } else if (setting == "pipe") {
        path = Path("settings.ini"); // must neither hang nor be replaced
        QCOMPARE(::mkfifo(qPrintable(path), 0600), 0);
    } else if (setting == "read-only folder") {
        if (::geteuid() == 0)
            QSKIP("root writes into read-only folders; the other rows force failure without "
                  "permissions");
        QVERIFY(QDir(dir->path()).mkdir("ro"));
        path = witness = Store(old, "ro/settings.ini");
        QVERIFY(QFile::setPermissions(Path("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    } else {
        path = witness = Store(old);
    }

    const bool written = WritePrivateProfileString("Color", key, "9", path);
    QFile::setPermissions(
        Path("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!written);
    if (!witness.isEmpty())
        QCOMPARE(Contents(witness), old);
    QVERIFY(!QFileInfo::exists(Path("missing")));
    QCOMPARE(GetPrivateProfileInt("Color", "Red", kDefault, path), witness == path ? 5 : kDefault);
}

void tst_ProfileFile::writeThroughSymlink_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("link to a file") << true;
    QTest::newRow("dangling link creates its target") << false;
}

void tst_ProfileFile::writeThroughSymlink()
{
    QFETCH(bool, targetExists);
    if (targetExists)
        Store("[Color]\nRed=1\n", "real.ini");
    QVERIFY(QFile::link("real.ini", Path("settings.ini"))); // relative, as users make them

    QVERIFY(WritePrivateProfileString("Color", "Red", "9", Path("settings.ini")));
    QVERIFY(QFileInfo(Path("settings.ini")).isSymLink());
    QCOMPARE(Contents(Path("real.ini")), QByteArray("[Color]\nRed=9\n"));
}

void tst_ProfileFile::junkNeverHarms_data()
{
    QTest::addColumn<QByteArray>("junk");
    QByteArray random(64 * 1024, '\0');
    QRandomGenerator generator(2024);
    for (char& c : random)
        c = static_cast<char>(generator.bounded(256));
    random.replace('[', '{'); // so the junk cannot open a section of its own

    QTest::newRow("NUL bytes") << Bytes("\0\0=\0\n\0;\0");
    QTest::newRow("invalid UTF-8") << QByteArray("\xC0\xAF\xFF\xFE=\xED\xA0\x80");
    QTest::newRow("lone CRs") << QByteArray("a=1\rRed=2\r\r");
    QTest::newRow("1 MiB line") << QByteArray(1024 * 1024, '=');
    QTest::newRow("random bytes") << random;
}

// Junk ahead of a real section: the section still reads, and a write still
// changes only its own line.
void tst_ProfileFile::junkNeverHarms()
{
    QFETCH(QByteArray, junk);
    const QString path = Store(junk + "\n[Color]\nRed=12\n");
    QCOMPARE(GetPrivateProfileInt("Color", "Red", kDefault, path), 12);
    QCOMPARE(GetPrivateProfileInt("Color", "Blue", kDefault, path), kDefault);
    QVERIFY(WritePrivateProfileString("Color", "Red", "34", path));
    QCOMPARE(Contents(path), junk + "\n[Color]\nRed=34\n");
}

QTEST_GUILESS_MAIN(tst_ProfileFile)
#include "tst_profile_file.moc"
