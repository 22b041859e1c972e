#include "tinctor_process.h"

#include <QtTest>

// Tinctor as a screen reader hears it, through a real AT-SPI client
// (atspi_probe.py, on Debian's pyatspi) on an accessibility bus of the
// suite's own.
class tst_Accessibility : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void spoken_data();
    void spoken();

private:
    std::unique_ptr<XSession> x_;
    QTemporaryDir folder_;
    QProcessEnvironment env_;
    QProcess bus_;
    QProcess atspi_;
    std::unique_ptr<TinctorProcess> tinctor_;
};

void tst_Accessibility::initTestCase()
{
    x_ = std::make_unique<XSession>(true);
    QVERIFY(x_->IsUp());
    bus_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    QVERIFY(bus_.waitForReadyRead(5000));
    env_ = x_->Environment();
    env_.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(bus_.readLine().trimmed()));
    // A browser of our own, first on PATH, that writes down what it is given.
    WriteFile(folder_.filePath("xdg-open"), "#!/bin/sh\necho \"$@\" >> \"$0.log\"\n");
    QVERIFY(
        QFile::setPermissions(folder_.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner));
    env_.insert("PATH", folder_.path() + ':' + env_.value("PATH"));
    // The bus's launcher would ask dconf, which nothing serves; with no
    // desktop to turn accessibility on, Qt is told to serve it anyway.
    env_.insert("GSETTINGS_BACKEND", "memory");
    env_.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    atspi_.setProcessEnvironment(env_);
    atspi_.start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately"});
    QVERIFY(atspi_.waitForStarted());

    WriteFile(folder_.filePath("tinctor.ini"), "[Color]\nRed=30\nGreen=144\nBlue=255\nMode=0\n");
    tinctor_ = std::make_unique<TinctorProcess>(
        *x_, TinctorProcess::Install(folder_), QStringList{}, env_);
    QVERIFY(x_->WaitForWindows(QStringLiteral("Tinctor"), 1));
    ActivateMainWindow(*x_);
}

void tst_Accessibility::cleanupTestCase()
{
    if (tinctor_)
        QCOMPARE(tinctor_->Terminate(), 0);
    // The launcher ends its bus, and the registry goes with the bus.
    for (QProcess* process : {&atspi_, &bus_}) {
        process->terminate();
        if (!process->waitForFinished(5000))
            process->kill();
        process->waitForFinished(3000);
    }
}

void tst_Accessibility::spoken_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("told"); // the last text a change event told of the control
    QTest::addColumn<QString>("focus"); // not checked where empty
    QTest::addColumn<int>("opened"); // web pages opened so far

    // The rows run in order on one program, each from where the last left it.
    const auto row
        = [](const char* name, QStringList steps, const char* control, const char* spoken,
              const char* text, const char* told = "", const char* focus = "", int opened = 0) {
              QTest::newRow(name) << steps << control << spoken << text << told << focus << opened;
          };
    row("red bar named after its channel", {}, "scroll bar#0", "赤", "");
    row("blue box named after its caption", {}, "text#2", "青", "255");
    row("model bar named after its channel", {}, "scroll bar#4", "彩度", "");
    row("swatch named by its colour", {}, "push button#4", "Maroon", "");
    row("preview says the colour", {}, "label#0", "色表示", "#1e90ff");
    row("model bar renamed with the model", {"press:menu item:HLS(L)"}, "scroll bar#4", "明度", "");
    row("preview tells a typed change", {"keys:alt+r 2 5 5"}, "label#0", "色表示", "#ff90ff",
        "#ff90ff", "text#0");
    row("swatch pressed as if clicked", {"keys:alt+b", "press:push button#4"}, "label#0", "色表示",
        "#800000", "#800000", "text#0");
    row("link reached by Tab", {"keys:F10 h a", "keys:Tab"}, "link#0", "サポートページへ", "", "",
        "link#0");
    row("link pressed by action, Enter and Space", {"press:link#0", "keys:Return", "keys:space"},
        "link#0", "サポートページへ", "", "", "link#0", 3);
    // Bad input: a client gone in the middle of its calls.
    row("answers after a client is killed", {"keys:Escape", "flood", "keys:alt+g 6 4"}, "label#0",
        "色表示", "#804000", "#804000", "text#1", 3);
}

void tst_Accessibility::spoken()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, told);
    QFETCH(QString, focus);
    QFETCH(int, opened);

    QProcess probe;
    probe.setProcessEnvironment(env_);
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start("/usr/bin/python3", QStringList{ATSPI_PROBE, control} + steps);
    QVERIFY(probe.waitForFinished(30000));
    QMap<QString, QString> heard;
    for (const QString& line : QString::fromUtf8(probe.readAllStandardOutput()).split('\n'))
        heard.insert(line.section('=', 0, 0), line.section('=', 1));
    QCOMPARE(heard.value("name"), name);
    QCOMPARE(heard.value("text"), text);
    QCOMPARE(heard.value("told"), told);
    if (!focus.isEmpty())
        QCOMPARE(heard.value("focus"), focus);
    QTRY_COMPARE_WITH_TIMEOUT(ReadFile(folder_.filePath("xdg-open.log")).count('\n'), opened, 5000);
}

QTEST_GUILESS_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
