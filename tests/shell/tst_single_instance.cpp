#include "tinctor_process.h"

#include <QElapsedTimer>
#include <QtTest>

// One copy per user and display; a second start hands over to it.
class tst_SingleInstance : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void twoStartsAtOnceGiveOneWindow();
    void secondStartRestoresTheFirst();
    void displaysDoNotShareACopy();

private:
    std::unique_ptr<XSession> x_;
    QTemporaryDir folder_;
    QString program_;
};

void tst_SingleInstance::initTestCase()
{
    x_ = std::make_unique<XSession>(true);
    QVERIFY(x_->IsUp());
    program_ = TinctorProcess::Install(folder_);
}

void tst_SingleInstance::twoStartsAtOnceGiveOneWindow()
{
    for (int round = 0; round < 3; ++round) {
        TinctorProcess first(*x_, program_);
        TinctorProcess second(*x_, program_);
        QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
        // One of the two ends by itself, with success, the other runs on.
        QTRY_VERIFY_WITH_TIMEOUT(first.Process().state() == QProcess::NotRunning
                || second.Process().state() == QProcess::NotRunning,
            5000);
        TinctorProcess& loser = first.Process().state() == QProcess::NotRunning ? first : second;
        TinctorProcess& winner = &loser == &first ? second : first;
        QCOMPARE(loser.Finished(), 0);
        QCOMPARE(winner.Process().state(), QProcess::Running);
        QCOMPARE(x_->VisibleWindows(QStringLiteral("Tinctor")).size(), 1);
        QCOMPARE(winner.Terminate(), 0);
        QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 0));
    }
}

void tst_SingleInstance::secondStartRestoresTheFirst()
{
    TinctorProcess first(*x_, program_);
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    const QString window = x_->VisibleWindows(QStringLiteral("Tinctor")).first();
    x_->Run("xdotool", {"windowminimize", "--sync", window});
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 0));
    const QByteArray settings = ReadFile(folder_.filePath("tinctor.ini"));

    QElapsedTimer clock;
    clock.start();
    TinctorProcess second(*x_, program_);
    QCOMPARE(second.Finished(), 0);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));

    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QCOMPARE(x_->VisibleWindows(QStringLiteral("Tinctor")), QStringList{window});
    QTRY_COMPARE_WITH_TIMEOUT(x_->Run("xdotool", {"getactivewindow"}), window, 5000);
    QCOMPARE(ReadFile(folder_.filePath("tinctor.ini")), settings);
    QCOMPARE(first.Terminate(), 0);
}

void tst_SingleInstance::displaysDoNotShareACopy()
{
    XSession other(false);
    QVERIFY(other.IsUp());
    TinctorProcess here(*x_, program_);
    TinctorProcess there(other, program_);
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    QVERIFY(other.WaitForWindows(QStringLiteral("Tinctor"), 1));
    QCOMPARE(here.Terminate(), 0);
    QCOMPARE(there.Terminate(), 0);
}

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_single_instance.moc"
