#include "tinctor_process.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// What the real program keeps in its settings file between runs.
class tst_SettingsFile : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void firstStartWritesEveryKey();
    void roundTrip_data();
    void roundTrip();
    void othersLinesSurvive();
    void unusableValuesFallBack_data();
    void unusableValuesFallBack();
    void killedProgramWritesNothing();
    void renamedProgramHasItsOwnFile();
    void unwritableFolderStillRunsAndCloses();
    void readOnlyFolderKeepsSettingsForTheUser();
    void placeOffEveryScreenOpensCentred();
    void closingByTheDesktop_data();
    void closingByTheDesktop();
    void minimisedSavesTheRestoredPlace();
    void settingsPathIsADirectory();
    void settingsFileIsALink();
    void folderNameNotInUtf8();

private:
    // Starts the program in `folder`, waits for its window, ends it with
    // SIGTERM and returns the settings file's lines (blank ones dropped).
    QStringList RunOnce(
        const QTemporaryDir& folder, const QString& name = QStringLiteral("tinctor"));

    std::unique_ptr<XSession> x_;
};

namespace {

QStringList Lines(const QByteArray& bytes)
{
    QStringList lines;
    for (const QByteArray& line : bytes.split('\n')) {
        if (!line.trimmed().isEmpty())
            lines << QString::fromUtf8(line.trimmed());
    }
    return lines;
}

int Value(const QStringList& lines, const QString& key)
{
    for (const QString& line : lines) {
        if (line.startsWith(key + QLatin1Char('=')))
            return line.mid(key.size() + 1).toInt();
    }
    return std::numeric_limits<int>::min();
}

} // namespace

void tst_SettingsFile::initTestCase()
{
    x_ = std::make_unique<XSession>(false);
    QVERIFY(x_->IsUp());
}

QStringList tst_SettingsFile::RunOnce(const QTemporaryDir& folder, const QString& name)
{
    TinctorProcess tinctor(*x_, TinctorProcess::Install(folder, name));
    if (!x_->WaitForWindows(QStringLiteral("Tinctor"), 1))
        return {QStringLiteral("no window")};
    if (tinctor.Terminate() != 0)
        return {QStringLiteral("did not end normally")};
    return Lines(ReadFile(folder.filePath(name + QStringLiteral(".ini"))));
}

void tst_SettingsFile::firstStartWritesEveryKey()
{
    QTemporaryDir folder;
    const QStringList lines = RunOnce(folder);
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines[0], QStringLiteral("[Window]"));
    QVERIFY(lines[1].startsWith(QLatin1String("PosX=")));
    QVERIFY(lines[2].startsWith(QLatin1String("PosY=")));
    QCOMPARE(lines.mid(3),
        (QStringList{"[Color]", "Red=255", "Green=255", "Blue=255", "RGB=0", "Mode=0"}));
    // Centred on the 1280 x 1024 screen, to within the pixel it snaps to.
    QVERIFY(std::abs(Value(lines, "PosX") - (19200 - 273 * 15) / 2) <= 15);
}

void tst_SettingsFile::roundTrip_data()
{
    QTest::addColumn<QList<int>>("stored"); // PosX, PosY, Mode, RGB, Red, Green, Blue
    QTest::newRow("YUV, hexadecimal") << QList<int>{1500, 1200, 2, 1, 18, 52, 86};
    QTest::newRow("left of the screen") << QList<int>{-300, 0, 1, 0, 0, 0, 0};
    QTest::newRow("defaults written out") << QList<int>{3000, 4500, 0, 0, 255, 255, 255};
}

void tst_SettingsFile::roundTrip()
{
    QFETCH(QList<int>, stored);
    QTemporaryDir folder;
    WriteFile(folder.filePath("tinctor.ini"),
        QStringLiteral("[Window]\nPosX=%1\nPosY=%2\n[Color]\nMode=%3\nRGB=%4\nRed=%5\n"
                       "Green=%6\nBlue=%7\n")
            .arg(stored[0])
            .arg(stored[1])
            .arg(stored[2])
            .arg(stored[3])
            .arg(stored[4])
            .arg(stored[5])
            .arg(stored[6])
            .toLatin1());
    const QStringList lines = RunOnce(folder);
    const char* keys[] = {"PosX", "PosY", "Mode", "RGB", "Red", "Green", "Blue"};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(Value(lines, keys[i]), stored[i]);
}

void tst_SettingsFile::othersLinesSurvive()
{
    QTemporaryDir folder;
    const QByteArray before = "; written by hand\n"
                              "[Other]\n"
                              "foo=bar\n"
                              "\n"
                              "[Color]\n"
                              "Favourite=7\n"
                              "Red=10\n"
                              "# note\n";
    WriteFile(folder.filePath("tinctor.ini"), before);
    const QStringList lines = RunOnce(folder);
    int at = 0;
    for (const QString& kept : Lines(before)) {
        const int found = int(lines.indexOf(kept, at));
        QVERIFY2(found >= at, qPrintable(kept));
        at = found;
    }
    QCOMPARE(Value(lines, "Red"), 10);
    QCOMPARE(Value(lines, "Favourite"), 7);
}

void tst_SettingsFile::unusableValuesFallBack_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("written");

    QTest::newRow("model 7") << QByteArray("[Color]\nMode=7\n") << "Mode" << 0;
    QTest::newRow("radix -1") << QByteArray("[Color]\nRGB=-1\n") << "RGB" << 0;
    QTest::newRow("red 300") << QByteArray("[Color]\nRed=300\n") << "Red" << 255;
    QTest::newRow("green no digits reads as 0")
        << QByteArray("[Color]\nGreen=abc\n") << "Green" << 0;
    QTest::newRow("blue beyond 32 bits")
        << QByteArray("[Color]\nBlue=99999999999\n") << "Blue" << 255;
    QTest::newRow("blue beyond 16 bits") << QByteArray("[Color]\nBlue=65538\n") << "Blue" << 255;
    // Split literals: "\x01" followed by "C" would read as one hex escape.
    static const char junk[] = "\x00\xff[\x01"
                               "Color\n=\x80\x80\n";
    QTest::newRow("binary junk") << QByteArray(junk, sizeof junk - 1) << "Red" << 255;
    QTest::newRow("only the window") << QByteArray("[Window]\nPosX=1500\n") << "Mode" << 0;
}

void tst_SettingsFile::unusableValuesFallBack()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, key);
    QFETCH(int, written);
    QTemporaryDir folder;
    WriteFile(folder.filePath("tinctor.ini"), content);
    QCOMPARE(Value(RunOnce(folder), key), written);
}

void tst_SettingsFile::killedProgramWritesNothing()
{
    QTemporaryDir folder;
    const QByteArray before = "[Color]\nRed=1\nGreen=2\nBlue=3\n";
    WriteFile(folder.filePath("tinctor.ini"), before);
    TinctorProcess tinctor(*x_, TinctorProcess::Install(folder));
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    tinctor.Process().kill();
    QVERIFY(tinctor.Process().waitForFinished(5000));
    QCOMPARE(ReadFile(folder.filePath("tinctor.ini")), before);
}

void tst_SettingsFile::renamedProgramHasItsOwnFile()
{
    QTemporaryDir folder;
    WriteFile(folder.filePath("tinctor.ini"), "[Color]\nRed=1\n");
    const QStringList lines = RunOnce(folder, QStringLiteral("farbe"));
    QCOMPARE(Value(lines, "Red"), 255); // started with the defaults
    QCOMPARE(ReadFile(folder.filePath("tinctor.ini")), QByteArray("[Color]\nRed=1\n"));
}

void tst_SettingsFile::unwritableFolderStillRunsAndCloses()
{
    // The program runs as "nobody" in a folder it may read but not write.
    const QStringList asNobody = AsNobody();
    if (asNobody.isEmpty())
        QSKIP("setpriv (util-linux) is not installed");
    QTemporaryDir folder;
    QFile::setPermissions(folder.path(),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
            | QFile::ExeOther);
    const QString program = TinctorProcess::Install(folder);
    TinctorProcess tinctor(*x_, program, asNobody, NobodysEnvironment(*x_));
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QCOMPARE(tinctor.Terminate(), 0);
    QVERIFY(!QFile::exists(folder.filePath("tinctor.ini")));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"tinctor"}); // no leftovers
}

void tst_SettingsFile::readOnlyFolderKeepsSettingsForTheUser()
{
    // Installed where the user may not write (a package under /usr), with
    // settings left beside it from before: the user's configuration folder
    // takes over from them and keeps what the user does.
    const QStringList asNobody = AsNobody();
    if (asNobody.isEmpty())
        QSKIP("setpriv (util-linux) is not installed");
    XSession desktop(true); // the keys need a window manager to activate the window
    QVERIFY(desktop.IsUp());
    QTemporaryDir folder;
    QTemporaryDir config;
    WriteFile(
        folder.filePath("tinctor.ini"), "; kept\n[Color]\nMode=1\nRed=10\nGreen=20\nBlue=30\n");
    QFile::setPermissions(folder.path(),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
            | QFile::ExeOther);
    QFile::setPermissions(config.path(),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
            | QFile::WriteOther | QFile::ExeOther);
    const QString program = TinctorProcess::Install(folder);
    QProcessEnvironment env = NobodysEnvironment(desktop);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    {
        TinctorProcess tinctor(desktop, program, asNobody, env);
        QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 1));
        QTRY_COMPARE(PreviewOnScreen(desktop), QColor(10, 20, 30));
        ActivateMainWindow(desktop);
        // HLS is in force, where no box answers to Alt+V: it opens the menu.
        desktop.Run("xdotool",
            {"key", "--delay", "80", "alt+v", "y", "alt+r", "1", "8", "alt+g", "5", "2", "alt+b",
                "8", "6"});
        QTRY_COMPARE_WITH_TIMEOUT(PreviewOnScreen(desktop), QColor(18, 52, 86), 5000);
        QCOMPARE(tinctor.Terminate(), 0);
    }
    const QString kept = config.filePath(QStringLiteral("tinctor/tinctor.ini"));
    QVERIFY2(ReadFile(kept).startsWith("; kept\n"), ReadFile(kept).constData());
    QCOMPARE(Value(Lines(ReadFile(kept)), "Mode"), 2);

    TinctorProcess again(desktop, program, asNobody, env);
    QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 1));
    QTRY_COMPARE(PreviewOnScreen(desktop), QColor(18, 52, 86));
    QCOMPARE(again.Terminate(), 0);
    const QStringList lines = Lines(ReadFile(kept));
    QCOMPARE(Value(lines, "Mode"), 2);
    QCOMPARE(Value(lines, "Green"), 52);
    QCOMPARE(Value(Lines(ReadFile(folder.filePath("tinctor.ini"))), "Red"), 10); // left alone
}

void tst_SettingsFile::placeOffEveryScreenOpensCentred()
{
    // Saved on a monitor that has gone since. A window manager draws the
    // frame that centring takes in.
    XSession desktop(true);
    QTemporaryDir folder;
    const QString settings = folder.filePath("tinctor.ini");
    WriteFile(settings, "[Window]\nPosX=-90000\nPosY=-90000\n");
    TinctorProcess tinctor(desktop, TinctorProcess::Install(folder));
    QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 1));
    const QString window = desktop.VisibleWindows(QStringLiteral("Tinctor")).first();
    // The whole window, title bar and all, centred on the 1280 x 1024
    // screen. Before the window is mapped openbox counts a resize handle
    // that a window of fixed size then does not get: 4 pixels, half of them
    // off the centre.
    const QStringList frame
        = desktop.Run("xprop", {"-id", window, "_NET_FRAME_EXTENTS"}).section(u'=', 1).split(u',');
    QCOMPARE(frame.size(), 4); // left, right, top, bottom
    const QRect outer = desktop.WindowGeometry(window).adjusted(
        -frame[0].toInt(), -frame[2].toInt(), frame[1].toInt(), frame[3].toInt());
    const QPoint offCentre = outer.center() - QPoint(640, 512);
    QVERIFY2(std::abs(offCentre.x()) <= 1 && std::abs(offCentre.y()) <= 3,
        qPrintable(QStringLiteral("%1, %2").arg(offCentre.x()).arg(offCentre.y())));
    QVERIFY(QRect(0, 0, 1280, 1024).contains(outer));
    QCOMPARE(Value(Lines(ReadFile(settings)), "PosX"), -90000); // until a save
    QCOMPARE(tinctor.Terminate(), 0);
    QVERIFY(std::abs(Value(Lines(ReadFile(settings)), "PosX") - (19200 - 273 * 15) / 2) <= 15);
}

void tst_SettingsFile::closingByTheDesktop_data()
{
    QTest::addColumn<QStringList>("keys");
    QTest::newRow("close box") << QStringList{"alt+F4"};
    QTest::newRow("exit command") << QStringList{"alt+f", "x"};
}

void tst_SettingsFile::closingByTheDesktop()
{
    QFETCH(QStringList, keys);
    XSession desktop(true);
    QVERIFY(desktop.IsUp());
    QTemporaryDir folder;
    TinctorProcess tinctor(desktop, TinctorProcess::Install(folder));
    QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 1));
    const QString window = desktop.VisibleWindows(QStringLiteral("Tinctor")).first();
    // A busy machine can lose a key to the window manager: try again then.
    for (int attempt = 0; attempt < 3; ++attempt) {
        desktop.Run("xdotool", {"windowactivate", "--sync", window});
        desktop.Run("xdotool", QStringList{"key", "--delay", "100"} + keys);
        if (tinctor.Process().waitForFinished(3000))
            break;
    }
    QCOMPARE(tinctor.Finished(), 0);
    QCOMPARE(Lines(ReadFile(folder.filePath("tinctor.ini"))).size(), 9);
}

void tst_SettingsFile::minimisedSavesTheRestoredPlace()
{
    XSession desktop(true);
    QVERIFY(desktop.IsUp());
    QTemporaryDir folder;
    WriteFile(folder.filePath("tinctor.ini"), "[Window]\nPosX=1500\nPosY=1200\n");
    const QString program = TinctorProcess::Install(folder);
    QStringList saved[2];
    for (bool minimise : {false, true}) {
        TinctorProcess tinctor(desktop, program);
        QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 1));
        if (minimise) {
            const QString window = desktop.VisibleWindows(QStringLiteral("Tinctor")).first();
            desktop.Run("xdotool", {"windowminimize", "--sync", window});
            QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 0));
        }
        QCOMPARE(tinctor.Terminate(), 0);
        QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 0));
        saved[minimise] = Lines(ReadFile(folder.filePath("tinctor.ini"))).mid(0, 3);
    }
    // The same place both times: where the window comes back to.
    QCOMPARE(saved[1], saved[0]);
    QCOMPARE(Value(saved[1], "PosX"), Value(saved[0], "PosX"));
}

void tst_SettingsFile::settingsPathIsADirectory()
{
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir("tinctor.ini"));
    TinctorProcess tinctor(*x_, TinctorProcess::Install(folder));
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QCOMPARE(tinctor.Terminate(), 0);
    QVERIFY(QFileInfo(folder.filePath("tinctor.ini")).isDir()); // left as it was
}

void tst_SettingsFile::settingsFileIsALink()
{
    // Settings kept elsewhere, reached through a link: the link stays.
    QTemporaryDir folder, elsewhere;
    const QString target = elsewhere.filePath("shared.ini");
    WriteFile(target, "; mine\n[Color]\nRed=7\n");
    QVERIFY(QFile::link(target, folder.filePath("tinctor.ini")));
    const QStringList lines = RunOnce(folder);
    QVERIFY(QFileInfo(folder.filePath("tinctor.ini")).isSymLink());
    QCOMPARE(Value(lines, "Red"), 7);
    QCOMPARE(Lines(ReadFile(target)).first(), QStringLiteral("; mine"));
    QCOMPARE(Lines(ReadFile(target)).size(), 10);
}

namespace {

// Raw bytes, for a path that no QString can name.
bool WriteRaw(const QByteArray& path, const QByteArray& bytes, mode_t mode)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, mode);
    if (fd < 0)
        return false;
    const bool whole = ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
    return ::close(fd) == 0 && whole;
}

QByteArray ReadRaw(const QByteArray& path)
{
    QByteArray bytes;
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, n);
    ::close(fd);
    return bytes;
}

} // namespace

void tst_SettingsFile::folderNameNotInUtf8()
{
    // "色" in Shift_JIS, as an archive made on a Japanese Windows machine
    // unpacks: not UTF-8, so not a name Qt can decode and encode again.
    QTemporaryDir parent;
    const QByteArray folder = QFile::encodeName(parent.path()) + "/\x90\x46";
    QVERIFY(::mkdir(folder.constData(), 0755) == 0);
    QVERIFY(WriteRaw(folder + "/tinctor", ReadFile(QStringLiteral(TINCTOR_EXE)), 0755));
    QVERIFY(WriteRaw(folder + "/tinctor.ini", "; mine\n[Color]\nRed=7\n", 0644));
    // Started through a link with a plain name; the program still finds
    // its real folder.
    const QByteArray link = QFile::encodeName(parent.filePath("start"));
    QVERIFY(::symlink("\x90\x46/tinctor", link.constData()) == 0);

    TinctorProcess tinctor(*x_, parent.filePath("start"));
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QCOMPARE(tinctor.Terminate(), 0);
    const QStringList lines = Lines(ReadRaw(folder + "/tinctor.ini"));
    QCOMPARE(lines.first(), QStringLiteral("; mine"));
    QCOMPARE(Value(lines, "Red"), 7); // read at the start, written at the end
    QCOMPARE(lines.size(), 10);
}

QTEST_GUILESS_MAIN(tst_SettingsFile)
#include "tst_settings_file.moc"
