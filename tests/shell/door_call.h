#pragma once

#include "tinctor_process.h"

#include <QProcess>
#include <QStringList>

#include <utility>

// One call of the running program's org.freedesktop.Application door, as
// the tables' situations make it: a thousand pick actions at once from a
// GLib client, the command a user binds to a key, or one gdbus call.
struct DoorCall {
    QStringList command; // the program first
    QByteArray input; // for its standard input

    DoorCall(const QString& situation, const QString& method, const QStringList& arguments)
    {
        if (situation == "a thousand calls") {
            command = QStringList{"/usr/bin/python3", "-", "1000", "pick"};
            input = ReadFile(QStringLiteral(BUS_FLOOD));
        } else if (situation == "shortcut") {
            command
                = QStringList{"gapplication", "action", "org.vantrel.Tinctor", arguments.first()};
        } else {
            command = QStringList{"gdbus", "call", "--session", "--dest", "org.vantrel.Tinctor",
                          "--object-path", "/org/vantrel/Tinctor", "--method",
                          "org.freedesktop.Application." + method}
                + arguments;
        }
    }

    // Hands the input to a client started with `command`, then waits for
    // it: whether every call was answered, and what the client said. The
    // thousand calls print how many were answered and refused ("1000 0").
    std::pair<bool, QByteArray> Answer(QProcess& client) const
    {
        client.write(input);
        client.closeWriteChannel();
        client.waitForFinished(60000);
        const QByteArray said = client.readAllStandardOutput() + client.readAllStandardError();
        return {client.exitCode() == 0 && !said.startsWith("0 "), said};
    }
};
