# Asks the running program for an action COUNT times on the session bus,
# without waiting between the calls, as a stuck shortcut or a runaway script
# would; then prints how many calls were answered and how many refused.
#
#   python3 - COUNT ACTION < bus_flood.py
import sys

from gi.repository import Gio, GLib

count, action = int(sys.argv[1]), sys.argv[2]
bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
loop = GLib.MainLoop()
told = {"answered": 0, "refused": 0}


def done(connection, result):
    try:
        connection.call_finish(result)
        told["answered"] += 1
    except GLib.Error:
        told["refused"] += 1
    if told["answered"] + told["refused"] == count:
        loop.quit()


for _ in range(count):
    bus.call("org.vantrel.Tinctor", "/org/vantrel/Tinctor", "org.freedesktop.Application",
             "ActivateAction", GLib.Variant("(sava{sv})", (action, [], {})), None,
             Gio.DBusCallFlags.NONE, 30000, None, done)
loop.run()
print(told["answered"], told["refused"])
