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
    void clientGoneMidQuery();

private:
    // What the probe prints, by key: name, text, focus, told.
    QMap<QString, QString> Probe(const QStringList& arguments) const;
    int Opened() const { return ReadFile(bin_.filePath("opened.log")).count('\n'); }

    std::unique_ptr<XSession> x_;
    QTemporaryDir folder_;
    QTemporaryDir bin_;
    QProcessEnvironment env_;
    QProcess bus_;
    QProcess atspi_;
    std::unique_ptr<TinctorProcess> tinctor_;
};

void tst_Accessibility::initTestCase()
{
    x_ = std::make_unique<XSession>(true);
    QVERIFY(x_->IsUp());
    // A browser of our own, first on PATH, that writes down what it is given.
    WriteFile(bin_.filePath("xdg-open"),
        QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\n")
            .arg(bin_.filePath("opened.log"))
            .toUtf8());
    QVERIFY(QFile::setPermissions(bin_.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner));

    bus_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    QVERIFY(bus_.waitForReadyRead(5000));
    env_ = x_->Environment();
    env_.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(bus_.readLine().trimmed()));
    env_.insert("PATH", bin_.path() + ':' + env_.value("PATH"));
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

QMap<QString, QString> tst_Accessibility::Probe(const QStringList& arguments) const
{
    QProcess probe;
    probe.setProcessEnvironment(env_);
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start("/usr/bin/python3", QStringList{ATSPI_PROBE} + arguments);
    probe.waitForFinished(20000);
    QMap<QString, QString> said;
    for (const QString& line : QString::fromUtf8(probe.readAllStandardOutput()).split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            said.insert(line.left(equals), line.mid(equals + 1));
    }
    return said;
}

void tst_Accessibility::spoken_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("told"); // the last text a change event told of the control
    QTest::addColumn<QString>("focus"); // not checked where empty
    QTest::addColumn<int>("opened"); // web pages opened by the steps

    // The rows run in order on one program, each from where the last left it.
    QTest::newRow("red bar named after its channel") << QStringList{} << "scroll bar#0"
                                                     << "赤"
                                                     << ""
                                                     << ""
                                                     << "" << 0;
    QTest::newRow("blue box named after its caption") << QStringList{} << "text#2"
                                                      << "青"
                                                      << "255"
                                                      << ""
                                                      << "" << 0;
    QTest::newRow("model bar named after its channel") << QStringList{} << "scroll bar#4"
                                                       << "彩度"
                                                       << ""
                                                       << ""
                                                       << "" << 0;
    QTest::newRow("swatch named by its colour") << QStringList{} << "push button#4"
                                                << "Maroon"
                                                << ""
                                                << ""
                                                << "" << 0;
    QTest::newRow("preview says the colour") << QStringList{} << "label#0"
                                             << "色表示"
                                             << "#1e90ff"
                                             << ""
                                             << "" << 0;
    QTest::newRow("model bar renamed with the model")
        << QStringList{"press:menu item:HLS(L)"} << "scroll bar#4"
        << "明度"
        << ""
        << ""
        << "" << 0;
    QTest::newRow("preview tells a typed change") << QStringList{"keys:alt+r 2 5 5"} << "label#0"
                                                  << "色表示"
                                                  << "#ff90ff"
                                                  << "#ff90ff"
                                                  << "text#0" << 0;
    QTest::newRow("swatch pressed as if clicked")
        << QStringList{"keys:alt+b", "press:push button#4"} << "label#0"
        << "色表示"
        << "#800000"
        << "#800000"
        << "text#0" << 0;
    QTest::newRow("link reached by Tab") << QStringList{"keys:F10 h a", "keys:Tab"} << "link#0"
                                         << "サポートページへ"
                                         << ""
                                         << ""
                                         << "link#0" << 0;
    QTest::newRow("link pressed by action, Enter and Space")
        << QStringList{"press:link#0", "keys:Return", "keys:space"} << "link#0"
        << "サポートページへ"
        << ""
        << ""
        << "link#0" << 3;
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

    const int before = Opened();
    const QMap<QString, QString> heard = Probe(QStringList{control} + steps);
    QCOMPARE(heard.value("name"), name);
    QCOMPARE(heard.value("text"), text);
    QCOMPARE(heard.value("told"), told);
    if (!focus.isEmpty())
        QCOMPARE(heard.value("focus"), focus);
    QTRY_COMPARE_WITH_TIMEOUT(Opened() - before, opened, 5000);
}

void tst_Accessibility::clientGoneMidQuery()
{
    QProcess flood;
    flood.setProcessEnvironment(env_);
    flood.start("/usr/bin/python3", {ATSPI_PROBE, "flood"});
    // Killed in its second pass over the tree, with calls on the way.
    QByteArray said;
    while (said.count("reading") < 2 && flood.waitForReadyRead(10000))
        said += flood.readAllStandardOutput();
    QCOMPARE(said.count("reading"), 2);
    flood.kill();
    QVERIFY(flood.waitForFinished(3000));

    // The version dialog of the last rows goes; the window answers keys
    // and the next client as before.
    const QMap<QString, QString> heard = Probe({"label#0", "keys:Escape", "keys:alt+g 6 4"});
    QCOMPARE(heard.value("text"), QStringLiteral("#804000"));
    QCOMPARE(heard.value("told"), QStringLiteral("#804000"));
}

QTEST_GUILESS_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
