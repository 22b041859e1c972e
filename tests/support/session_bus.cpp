#include "session_bus.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

SessionBus::SessionBus(const QProcessEnvironment& desktop)
    : environment_(desktop), daemon_(std::make_unique<QProcess>())
{
    // Other users may reach the socket, so that the bus itself refuses them.
    QFile::setPermissions(folder_.path(),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
            | QFile::ExeOther);
    const QString socket = folder_.filePath(QStringLiteral("bus"));
    const QString services = folder_.filePath(QStringLiteral("services"));
    QFile config(folder_.filePath(QStringLiteral("bus.conf")));
    if (!folder_.isValid() || !QDir().mkpath(services) || !config.open(QIODevice::WriteOnly))
        return;
    config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                 "1.0//EN\"\n \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                 "<busconfig>\n  <type>session</type>\n"
                 "  <listen>unix:path="
        + socket.toUtf8() + "</listen>\n  <auth>EXTERNAL</auth>\n  <servicedir>" + services.toUtf8()
        + "</servicedir>\n"
          "  <policy context=\"default\">\n"
          "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
          "    <allow eavesdrop=\"true\"/>\n    <allow own=\"*\"/>\n"
          "  </policy>\n"
          // A login's bus lets a client wait on this many answers, not 128.
          "  <limit name=\"max_replies_per_connection\">50000</limit>\n"
          "</busconfig>\n");
    config.close();

    environment_.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), "unix:path=" + socket);
    daemon_->setProcessEnvironment(environment_);
    daemon_->setProcessChannelMode(QProcess::SeparateChannels);
    daemon_->start(QStringLiteral("dbus-daemon"),
        {"--config-file=" + config.fileName(), "--nofork", "--print-address=1"});
    // The address is printed once the bus listens.
    const QDeadlineTimer deadline(10000);
    QByteArray said;
    while (!said.contains('\n') && !deadline.hasExpired() && daemon_->waitForReadyRead(500))
        said += daemon_->readAllStandardOutput();
    up_ = said.contains('\n');
}

SessionBus::~SessionBus()
{
    daemon_->terminate();
    if (!daemon_->waitForFinished(3000)) {
        daemon_->kill();
        daemon_->waitForFinished(3000);
    }
}

void SessionBus::ProvideService(const QString& busName, const QString& program) const
{
    // The bus looks for a service it does not know when it is called.
    QFile service(folder_.filePath(QStringLiteral("services/%1.service").arg(busName)));
    if (service.open(QIODevice::WriteOnly))
        service.write(
            "[D-BUS Service]\nName=" + busName.toUtf8() + "\nExec=" + program.toUtf8() + '\n');
}

qint64 SessionBus::OwnerOf(const QString& busName) const
{
    QProcess gdbus;
    gdbus.setProcessEnvironment(environment_);
    gdbus.start(QStringLiteral("gdbus"),
        {"call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
            "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.GetConnectionUnixProcessID",
            busName});
    gdbus.waitForFinished(10000);
    // "(uint32 1234,)"
    const QString answer = QString::fromUtf8(gdbus.readAllStandardOutput());
    return answer.section(u' ', 1).remove(u',').remove(u')').trimmed().toLongLong();
}
