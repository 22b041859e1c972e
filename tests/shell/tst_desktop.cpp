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
    QFile ini(folder_.filePath("tinctor.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Color]\nRed=171\nGreen=12\nBlue=1\n");
    ini.close();
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

QTEST_GUILESS_MAIN(tst_Desktop)
#include "tst_desktop.moc"
