#include "tinctor_process.h"
#include "x_pixels.h"

#include <QElapsedTimer>
#include <QtTest>

#include <sys/stat.h>

// The desktop failing the program: a clipboard owner that never answers, a
// help file that cannot be opened, the X server itself going away.
class tst_Faults : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pasteFromAClipboardThatNeverAnswers();
    void helpFileThatCannotBeOpened_data();
    void helpFileThatCannotBeOpened();
    void displayGoesAway_data();
    void displayGoesAway();

private:
    std::unique_ptr<XSession> x_;
};

namespace {

const QString kHelpTitle = QStringLiteral("Tinctor ヘルプ");

} // namespace

void tst_Faults::initTestCase()
{
    x_ = std::make_unique<XSession>(true);
    QVERIFY(x_->IsUp());
}

void tst_Faults::pasteFromAClipboardThatNeverAnswers()
{
    QTemporaryDir folder;
    TinctorProcess tinctor(*x_, TinctorProcess::Install(folder));
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QTRY_COMPARE(PreviewOnScreen(*x_), QColor(Qt::white));

    QProcess owner;
    owner.setProcessEnvironment(x_->Environment());
    owner.start(QStringLiteral(SILENT_OWNER_EXE), {});
    QVERIFY(owner.waitForReadyRead(5000));
    const auto stopOwner = qScopeGuard([&owner] {
        owner.kill();
        owner.waitForFinished();
    });
    QCOMPARE(owner.readAllStandardOutput().trimmed(), QByteArray("owned"));

    // Ctrl+V waits for an answer that never comes; the digit typed behind
    // it shows when the program listens again.
    ActivateMainWindow(*x_);
    x_->Run("xdotool", {"key", "--delay", "80", "alt+r"});
    QElapsedTimer clock;
    clock.start();
    x_->Run("xdotool", {"key", "--delay", "80", "ctrl+v", "0"});
    QTRY_COMPARE_WITH_TIMEOUT(PreviewOnScreen(*x_), QColor(0, 255, 255), 30000);
    qInfo("a paste from a silent clipboard owner held the program for %lld ms", clock.elapsed());
    // It did ask, or nothing here was put to the test.
    const QByteArray asked = owner.readAllStandardOutput();
    QVERIFY2(asked.contains("request CLIPBOARD"), asked.constData());
    qInfo("requests left unanswered:\n%s", asked.constData());

    // Copying takes the clipboard without asking its owner, at once.
    clock.restart();
    x_->Run("xdotool", {"key", "--delay", "80", "alt+e", "d"});
    // Until the copy lands, xclip would wait on the silent owner: each look
    // is cut short.
    QTRY_COMPARE_WITH_TIMEOUT(x_->Run("timeout", {"1", "xclip", "-o", "-selection", "clipboard"}),
        QString("16776960"), 5000);
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));

    // A paste now reads our own text at once: the whole colour copied.
    x_->Run("xdotool", {"key", "--delay", "80", "alt+r", "9"});
    QTRY_COMPARE_WITH_TIMEOUT(PreviewOnScreen(*x_), QColor(9, 255, 255), 5000);
    clock.restart();
    x_->Run("xdotool", {"key", "ctrl+v"});
    QTRY_COMPARE_WITH_TIMEOUT(PreviewOnScreen(*x_), QColor(0, 255, 255), 5000);
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(tinctor.Terminate(), 0);
}

void tst_Faults::helpFileThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("a directory") << "directory";
    // Opening a pipe for reading waits for a writer: the program must not try.
    QTest::newRow("a named pipe") << "pipe";
    QTest::newRow("unreadable to the user") << "unreadable";
}

void tst_Faults::helpFileThatCannotBeOpened()
{
    QFETCH(QString, kind);
    QTemporaryDir folder;
    const QString program = TinctorProcess::Install(folder);
    const QString help = folder.filePath("Tinctor.hlp");
    QStringList wrapper;
    QProcessEnvironment env = x_->Environment();
    if (kind == "directory") {
        QVERIFY(QDir(folder.path()).mkdir("Tinctor.hlp"));
    } else if (kind == "pipe") {
        QCOMPARE(::mkfifo(QFile::encodeName(help).constData(), 0644), 0);
    } else if (kind == "unreadable") {
        wrapper = AsNobody();
        if (wrapper.isEmpty())
            QSKIP("setpriv (util-linux) is not installed");
        QVERIFY(QFile::setPermissions(folder.path(),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                | QFile::ExeOther));
        QVERIFY(QFile::copy(QStringLiteral(TINCTOR_HELP), help));
        QVERIFY(QFile::setPermissions(help, {}));
        env = NobodysEnvironment(*x_);
    }

    TinctorProcess tinctor(*x_, program, wrapper, env);
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QTRY_COMPARE(PreviewOnScreen(*x_), QColor(Qt::white));
    ActivateMainWindow(*x_);
    x_->Run("xdotool", {"key", "F1"});
    QVERIFY(x_->WaitForWindows(kHelpTitle, 1));
    // The warning, a dialog; the help viewer would be a normal window.
    const QString box = x_->VisibleWindows(kHelpTitle).first();
    QVERIFY(x_->Run("xprop", {"-id", box, "_NET_WM_WINDOW_TYPE"})
                .contains("_NET_WM_WINDOW_TYPE_DIALOG"));
    x_->Run("xdotool", {"key", "Return"});
    QVERIFY(x_->WaitForWindows(kHelpTitle, 0));

    // Back in the main window, where typing still sets the colour.
    ActivateMainWindow(*x_);
    x_->Run("xdotool", {"key", "--delay", "80", "alt+g", "7"});
    QTRY_COMPARE_WITH_TIMEOUT(PreviewOnScreen(*x_), QColor(255, 7, 255), 5000);
    QCOMPARE(tinctor.Terminate(), 0);
}

void tst_Faults::displayGoesAway_data()
{
    QTest::addColumn<bool>("picking");
    QTest::newRow("idle") << false;
    // The pick's loop reads the pointer and the screen through Xlib.
    QTest::newRow("mid-pick") << true;
}

void tst_Faults::displayGoesAway()
{
    QFETCH(bool, picking);
    XSession desktop(true);
    QVERIFY(desktop.IsUp());
    QTemporaryDir folder;
    // Exactly what a save would write, so whole and unchanged look alike.
    const QByteArray before = "[Window]\nPosX=1500\nPosY=1200\n\n"
                              "[Color]\nRed=18\nGreen=52\nBlue=86\nRGB=0\nMode=0\n";
    WriteFile(folder.filePath("tinctor.ini"), before);
    TinctorProcess tinctor(
        desktop, TinctorProcess::Install(folder), {}, {}, QProcess::SeparateChannels);
    QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 1));
    QTRY_COMPARE(PreviewOnScreen(desktop), QColor(18, 52, 86));
    // The run's own colour, which a pick going on would not keep.
    ActivateMainWindow(desktop);
    desktop.Run("xdotool", {"key", "--delay", "80", "alt+g", "9"});
    QTRY_COMPARE(PreviewOnScreen(desktop), QColor(18, 9, 86));
    if (picking) {
        ActivateMainWindow(desktop);
        desktop.Run("xdotool", {"key", "--delay", "80", "alt+e", "p"});
        QTRY_VERIFY_WITH_TIMEOUT(!x_pixels::PointerIsFree(desktop.Display()), 5000);
    }

    QElapsedTimer clock;
    clock.start();
    desktop.KillServer();
    QVERIFY2(tinctor.Process().waitForFinished(5000), "still running without its display");
    const QByteArray said = tinctor.Process().readAllStandardError();
    qInfo("ended %lld ms after the display, exit code %d, saying: %s", clock.elapsed(),
        tinctor.Process().exitCode(), said.constData());
    QCOMPARE(tinctor.Process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(ReadFile(folder.filePath("tinctor.ini")),
        QByteArray(before).replace("Green=52", "Green=9"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), (QStringList{"tinctor", "tinctor.ini"}));
}

QTEST_GUILESS_MAIN(tst_Faults)
#include "tst_faults.moc"
