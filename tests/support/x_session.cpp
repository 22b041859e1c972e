#include "x_session.h"

#include <QDeadlineTimer>
#include <QMap>
#include <QThread>

XSession::XSession(bool withWindowManager, const QString& screenSize)
    : server_(std::make_unique<QProcess>())
{
    // -displayfd picks a free display and reports its number on stdout.
    server_->start(QStringLiteral("Xvfb"),
        {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
            QStringLiteral("0"), screenSize, QStringLiteral("-nolisten"), QStringLiteral("tcp"),
            QStringLiteral("-noreset")});
    if (!server_->waitForStarted(5000))
        return;
    QByteArray number;
    const QDeadlineTimer deadline(10000);
    while (!number.contains('\n') && !deadline.hasExpired() && server_->waitForReadyRead(500))
        number += server_->readAllStandardOutput();
    if (!number.contains('\n'))
        return;
    display_ = QLatin1Char(':') + QString::fromLatin1(number.trimmed());

    if (!withWindowManager)
        return;
    windowManager_ = std::make_unique<QProcess>();
    windowManager_->setProcessEnvironment(Environment());
    windowManager_->start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    // The manager is ready once it announces itself on the root window.
    const QDeadlineTimer ready(10000);
    while (!ready.hasExpired()) {
        if (Run(QStringLiteral("xprop"),
                {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                .contains(QLatin1String("window id")))
            return;
        QThread::msleep(50);
    }
    display_.clear();
}

XSession::~XSession()
{
    for (QProcess* process : {windowManager_.get(), server_.get()}) {
        if (!process)
            continue;
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
}

QProcessEnvironment XSession::Environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

QString XSession::Run(const QString& program, const QStringList& arguments) const
{
    QProcess client;
    client.setProcessEnvironment(Environment());
    client.start(program, arguments);
    if (!client.waitForFinished(10000)) {
        client.kill();
        client.waitForFinished();
    }
    return QString::fromLocal8Bit(client.readAllStandardOutput()).trimmed();
}

QStringList XSession::VisibleWindows(const QString& title) const
{
    const QString found = Run(QStringLiteral("xdotool"),
        {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
            QStringLiteral("^%1$").arg(title)});
    return found.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QRect XSession::WindowGeometry(const QString& window) const
{
    QMap<QString, int> values;
    for (const QString& line :
        Run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window}).split('\n'))
        values[line.section(':', 0, 0).trimmed()] = line.section(':', 1).trimmed().toInt();
    return QRect(values["Absolute upper-left X"], values["Absolute upper-left Y"], values["Width"],
        values["Height"]);
}

bool XSession::WaitForWindows(const QString& title, int count, int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    do {
        if (VisibleWindows(title).size() == count)
            return true;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

void XSession::KillServer()
{
    server_->kill();
    server_->waitForFinished(5000);
}
