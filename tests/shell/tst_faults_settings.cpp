#include "tinctor_process.h"

#include <QtTest>

#include <sys/stat.h>

// The settings file when the program cannot finish saving it, or may not
// read it: what is on disk afterwards must still be a settings file the
// next start can use, and nothing the user wrote in it may be lost.
class tst_FaultsSettings : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void killedWhileSaving_data();
    void killedWhileSaving();
    void unreadableFileIsNeitherUsedNorReplaced_data();
    void unreadableFileIsNeitherUsedNorReplaced();

private:
    // Types a whole new state (radix, model and colour) into the program's
    // window and waits until the preview shows it.
    void ChangeEverything();

    std::unique_ptr<XSession> x_;
    QByteArray saved_; // what a normal end writes over kOld after ChangeEverything
};

namespace {

// Written by hand on another system: CR LF ends, blanks around '=',
// comments, keys and a section the program does not know, and a "Red" key
// of someone else's. All seven keys of the program are present, so a save
// changes lines in place and never adds any.
const QByteArray kOld = "; Tinctor, set up by hand\r\n"
                        "[Window]\r\n"
                        "PosX=1507\r\n"
                        "PosY = 1207\r\n"
                        "\r\n"
                        "# the last colour\r\n"
                        "[Color]\r\n"
                        "Mode=1\r\n"
                        "Favourite=7\r\n"
                        "RGB=0\r\n"
                        "Red = 10\r\n"
                        "Green=20\r\n"
                        "Blue=30\r\n"
                        "\r\n"
                        "[Other]\r\n"
                        "Red=99\r\n"
                        "foo=bar\r\n";

// Keys typed in hexadecimal once the View menu has switched to it. The menu
// is reached with Alt+V while the model is HLS, where no box answers to V.
const QColor kTyped(0xab, 0xcd, 0xef);

QList<QByteArray> SplitLines(const QByteArray& bytes)
{
    return bytes.split('\n'); // each line keeps its '\r': compared byte for byte
}

// Empty when `now` is kOld with each line either as it was or as `saved`
// has it; otherwise what is wrong.
QString OldOrNewLineByLine(const QByteArray& now, const QByteArray& saved)
{
    const QList<QByteArray> old = SplitLines(kOld);
    const QList<QByteArray> fresh = SplitLines(saved);
    const QList<QByteArray> lines = SplitLines(now);
    if (lines.size() != old.size())
        return QStringLiteral("%1 lines instead of %2:\n%3")
            .arg(lines.size())
            .arg(old.size())
            .arg(QString::fromUtf8(now));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i] != old[i] && lines[i] != fresh[i])
            return QStringLiteral("line %1 is \"%2\", neither \"%3\" nor \"%4\"")
                .arg(i + 1)
                .arg(QString::fromUtf8(lines[i]), QString::fromUtf8(old[i]),
                    QString::fromUtf8(fresh[i]));
    }
    return {};
}

int Value(const QByteArray& settings, const QByteArray& section, const QByteArray& key)
{
    bool inSection = false;
    for (const QByteArray& line : SplitLines(settings)) {
        const QByteArray text = line.trimmed();
        if (text.startsWith('['))
            inSection = text == '[' + section + ']';
        else if (inSection && text.startsWith(key)
            && text.mid(key.size()).trimmed().startsWith('='))
            return text.mid(text.indexOf('=') + 1).trimmed().toInt();
    }
    return -1;
}

QStringList FilesIn(const QTemporaryDir& folder)
{
    return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

void tst_FaultsSettings::initTestCase()
{
    x_ = std::make_unique<XSession>(true);
    QVERIFY(x_->IsUp());

    // An uninterrupted run gives every key's new value.
    QTemporaryDir folder;
    WriteFile(folder.filePath("tinctor.ini"), kOld);
    TinctorProcess tinctor(*x_, TinctorProcess::Install(folder));
    ChangeEverything();
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(tinctor.Terminate(), 0);
    saved_ = ReadFile(folder.filePath("tinctor.ini"));
    const QList<QByteArray> old = SplitLines(kOld);
    const QList<QByteArray> fresh = SplitLines(saved_);
    QCOMPARE(fresh.size(), old.size());
    int changed = 0;
    for (qsizetype i = 0; i < old.size(); ++i)
        changed += old[i] != fresh[i];
    QVERIFY2(changed == 7, saved_.constData()); // every key changes: a mix of the two would show
    QCOMPARE(Value(saved_, "Color", "Red"), kTyped.red());
}

void tst_FaultsSettings::ChangeEverything()
{
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QTRY_COMPARE(PreviewOnScreen(*x_), QColor(10, 20, 30));
    ActivateMainWindow(*x_);
    x_->Run("xdotool",
        {"key", "--delay", "80", "alt+v", "h", "alt+v", "y", "alt+r", "a", "b", "alt+g", "c", "d",
            "alt+b", "e", "f"});
    QTRY_COMPARE_WITH_TIMEOUT(PreviewOnScreen(*x_), kTyped, 5000);
}

void tst_FaultsSettings::killedWhileSaving_data()
{
    QTest::addColumn<QString>("when");
    // The seven keys are saved as one whole new file renamed over the old
    // one: there is no moment between two keys to be killed at.
    QTest::newRow("before the rename") << "before";
    QTest::newRow("after the rename") << "after";
}

void tst_FaultsSettings::killedWhileSaving()
{
    QFETCH(QString, when);
    QTemporaryDir folder;
    const QString settings = folder.filePath("tinctor.ini");
    WriteFile(settings, kOld);
    const QString program = TinctorProcess::Install(folder);

    QProcessEnvironment env = x_->Environment();
    env.insert("LD_PRELOAD", QStringLiteral(KILL_AT_RENAME_LIB));
    env.insert("KILL_AT_RENAME_NAME", "tinctor.ini");
    env.insert("KILL_AT_RENAME_COUNT", "1");
    env.insert("KILL_AT_RENAME_WHEN", when);
    // A sanitized build wants its runtime first among the loaded libraries;
    // the shim only forwards to the C library, so the order does not matter.
    const QString asan = env.value("ASAN_OPTIONS");
    env.insert("ASAN_OPTIONS", (asan.isEmpty() ? asan : asan + ':') + "verify_asan_link_order=0");
    {
        TinctorProcess tinctor(*x_, program, {}, env);
        ChangeEverything();
        if (QTest::currentTestFailed())
            return;
        tinctor.Process().terminate();
        QVERIFY(tinctor.Process().waitForFinished(10000));
        // Killed by the shim, not ended by the program: else nothing was cut short.
        QCOMPARE(tinctor.Process().exitStatus(), QProcess::CrashExit);
    }
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 0));

    // The old file or the new one, never a mix.
    const QByteArray left = ReadFile(settings);
    QCOMPARE(left, when == QLatin1String("before") ? kOld : saved_);

    // Killed before its rename, the next file stays under its temporary
    // name; nothing else is left behind.
    QStringList strays = FilesIn(folder);
    strays.removeAll("tinctor");
    strays.removeAll("tinctor.ini");
    QCOMPARE(strays.size(), when == QLatin1String("before") ? 1 : 0);
    for (const QString& stray : strays) {
        QVERIFY2(stray.startsWith("tinctor.ini."), qPrintable(stray));
        const QString unfinished = OldOrNewLineByLine(ReadFile(folder.filePath(stray)), saved_);
        QVERIFY2(unfinished.isEmpty(), qPrintable(unfinished));
    }

    // The next start takes the file as it is and saves it whole again.
    TinctorProcess next(*x_, program);
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QTRY_COMPARE(PreviewOnScreen(*x_),
        QColor(Value(left, "Color", "Red"), Value(left, "Color", "Green"),
            Value(left, "Color", "Blue")));
    QCOMPARE(next.Terminate(), 0);
    const QString resaved = OldOrNewLineByLine(ReadFile(settings), saved_);
    QVERIFY2(resaved.isEmpty(), qPrintable(resaved));
    QCOMPARE(FilesIn(folder).size(), 2 + strays.size());
}

void tst_FaultsSettings::unreadableFileIsNeitherUsedNorReplaced_data()
{
    QTest::addColumn<uint>("mode");
    QTest::newRow("no access at all") << 0u;
    // A file that may be replaced but not read: only the program's own
    // care keeps it, where the one above is refused by QSaveFile too.
    QTest::newRow("write only") << 0222u;
}

void tst_FaultsSettings::unreadableFileIsNeitherUsedNorReplaced()
{
    QFETCH(uint, mode);
    // The program runs as "nobody", in a folder it may write.
    const QStringList asNobody = AsNobody();
    if (asNobody.isEmpty())
        QSKIP("setpriv (util-linux) is not installed");
    QTemporaryDir folder;
    QVERIFY(QFile::setPermissions(folder.path(),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
            | QFile::WriteOther | QFile::ExeOther));
    const QString settings = folder.filePath("tinctor.ini");
    WriteFile(settings, kOld);
    QCOMPARE(::chmod(QFile::encodeName(settings).constData(), mode), 0);
    const QString program = TinctorProcess::Install(folder);

    TinctorProcess tinctor(*x_, program, asNobody, NobodysEnvironment(*x_));
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QTRY_COMPARE(PreviewOnScreen(*x_), QColor(Qt::white)); // the defaults, not 10, 20, 30
    ActivateMainWindow(*x_);
    // A state to save that differs from both the file and the defaults.
    x_->Run("xdotool", {"key", "--delay", "80", "alt+r", "1", "2"});
    QTRY_COMPARE_WITH_TIMEOUT(PreviewOnScreen(*x_), QColor(12, 255, 255), 5000);
    QCOMPARE(tinctor.Terminate(), 0);

    struct stat status { };
    QCOMPARE(::stat(QFile::encodeName(settings).constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, mode);
    QCOMPARE(status.st_uid, 0u);
    QCOMPARE(ReadFile(settings), kOld);
    QCOMPARE(FilesIn(folder), (QStringList{"tinctor", "tinctor.ini"}));
}

QTEST_GUILESS_MAIN(tst_FaultsSettings)
#include "tst_faults_settings.moc"
