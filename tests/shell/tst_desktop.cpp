#include "tinctor_process.h"

#include <QElapsedTimer>
#include <QtTest>

// What other programs on the desktop see of Tinctor.
class tst_Desktop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void copiedTextIsOnTheClipboard_data();
    void copiedTextIsOnTheClipboard();
    void clipboardOwnedByAnotherProgram();
    void webPageAndLinkOpenTheSameAddress();

private:
    std::unique_ptr<XSession> x_;
    QTemporaryDir folder_;
    std::unique_ptr<TinctorProcess> tinctor_;
    QString window_;
};

void tst_Desktop::initTestCase()
{
    x_ = std::make_unique<XSession>(true);
    QVERIFY(x_->IsUp());
    WriteFile(folder_.filePath("tinctor.ini"), "[Color]\nRed=171\nGreen=12\nBlue=1\n");
    tinctor_ = std::make_unique<TinctorProcess>(*x_, TinctorProcess::Install(folder_));
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    window_ = x_->VisibleWindows(QStringLiteral("Tinctor")).first();
}

void tst_Desktop::cleanupTestCase()
{
    if (tinctor_)
        QCOMPARE(tinctor_->Terminate(), 0);
}

void tst_Desktop::copiedTextIsOnTheClipboard_data()
{
    QTest::addColumn<QString>("accessKey");
    QTest::addColumn<QString>("text");
    QTest::newRow("HTML") << "h"
                          << "#ab0c01";
    QTest::newRow("VB") << "v"
                        << "&H10CAB&";
    QTest::newRow("C") << "c"
                       << "0x010cab";
    QTest::newRow("DWORD") << "d"
                           << "68779";
    QTest::newRow("RGB function") << "r"
                                  << "RGB(171,12,1)";
}

void tst_Desktop::copiedTextIsOnTheClipboard()
{
    QFETCH(QString, accessKey);
    QFETCH(QString, text);
    x_->Run("xdotool", {"windowactivate", "--sync", window_});
    x_->Run("xdotool", {"key", "--delay", "100", "alt+e", accessKey});
    QTRY_COMPARE_WITH_TIMEOUT(x_->Run("xclip", {"-o", "-selection", "clipboard"}), text, 5000);
}

void tst_Desktop::clipboardOwnedByAnotherProgram()
{
    // xclip holds the clipboard, serving it, until someone takes it over.
    QProcess owner;
    owner.setProcessEnvironment(x_->Environment());
    owner.start("xclip", {"-selection", "clipboard", "-i", "-quiet"});
    QVERIFY(owner.waitForStarted());
    owner.write("theirs");
    owner.closeWriteChannel();
    QTRY_COMPARE_WITH_TIMEOUT(
        x_->Run("xclip", {"-o", "-selection", "clipboard"}), QString("theirs"), 5000);

    QElapsedTimer clock;
    clock.start();
    x_->Run("xdotool", {"windowactivate", "--sync", window_});
    x_->Run("xdotool", {"key", "--delay", "100", "alt+e", "d"});
    QTRY_COMPARE_WITH_TIMEOUT(
        x_->Run("xclip", {"-o", "-selection", "clipboard"}), QString("68779"), 5000);
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(owner.waitForFinished(5000)); // it lost the clipboard to us
}

void tst_Desktop::webPageAndLinkOpenTheSameAddress()
{
    // A browser of our own, first on PATH, that writes down what it is given.
    QTemporaryDir bin;
    const QString log = bin.filePath("opened.log");
    QFile browser(bin.filePath("xdg-open"));
    QVERIFY(browser.open(QIODevice::WriteOnly));
    browser.write(QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\n").arg(log).toUtf8());
    browser.close();
    browser.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    XSession desktop(true);
    QVERIFY(desktop.IsUp());
    QTemporaryDir folder;
    // YUV: no channel caption shares Alt+H with the Help menu.
    WriteFile(folder.filePath("tinctor.ini"), "[Color]\nMode=2\n");
    QProcessEnvironment env = desktop.Environment();
    env.insert("PATH", bin.path() + ':' + env.value("PATH"));
    TinctorProcess tinctor(desktop, TinctorProcess::Install(folder), {}, env);
    QVERIFY(desktop.WaitForWindows(QStringLiteral("Tinctor"), 1));
    const QString main = desktop.VisibleWindows(QStringLiteral("Tinctor")).first();
    const auto readLog
        = [&] { return QString::fromUtf8(ReadFile(log)).split('\n', Qt::SkipEmptyParts); };

    desktop.Run("xdotool", {"windowactivate", "--sync", main});
    desktop.Run("xdotool", {"key", "--delay", "100", "alt+h", "w"});
    QTRY_COMPARE_WITH_TIMEOUT(readLog().size(), 1, 5000);
    QVERIFY(readLog()[0].startsWith("http"));

    desktop.Run("xdotool", {"key", "--delay", "100", "alt+h", "a"});
    QVERIFY(desktop.WaitForWindows(QStringLiteral("バージョン情報"), 1));
    const QString dialog = desktop.VisibleWindows(QStringLiteral("バージョン情報")).first();
    QVERIFY(desktop.Run("xprop", {"-id", dialog, "_NET_WM_STATE"}).contains("_NET_WM_STATE_MODAL"));
    // Centred over the main window, to within the frames' difference.
    const auto centre = [&](const QString& id) { return desktop.WindowGeometry(id).center(); };
    QVERIFY((centre(dialog) - centre(main)).manhattanLength() < 40);

    // The link: Frame1 at 16, 8 and Label4 at 21, 96 in it, 191 x 12.
    desktop.Run("xdotool", {"mousemove", "--window", dialog, "132", "110", "click", "1"});
    QTRY_COMPARE_WITH_TIMEOUT(readLog().size(), 2, 5000);
    QCOMPARE(readLog()[1], readLog()[0]);
    desktop.Run("xdotool", {"key", "Escape"});
    QVERIFY(desktop.WaitForWindows(QStringLiteral("バージョン情報"), 0));

    // A logout while the dialog is open still ends the program, and saves.
    desktop.Run("xdotool", {"key", "--delay", "100", "alt+h", "a"});
    QVERIFY(desktop.WaitForWindows(QStringLiteral("バージョン情報"), 1));
    QCOMPARE(tinctor.Terminate(5000), 0);
    QFile saved(folder.filePath("tinctor.ini"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().contains("PosX="));
}

QTEST_GUILESS_MAIN(tst_Desktop)
#include "tst_desktop.moc"
