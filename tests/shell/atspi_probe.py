#!/usr/bin/python3
"""Tinctor as a screen reader sees it, through AT-SPI.

atspi_probe.py CONTROL [STEP...]
    runs the steps, then prints the control's name and text, the focused
    control and the last text that a change event told of the control, as
    "key=value" lines.
atspi_probe.py flood
    reads the whole tree over and over, printing "reading" before each pass,
    until it is killed.

A control is "role#n", the n-th of that role in the program's tree, depth
first, or "role:name". A step is "keys:KEY ..." (sent by xdotool) or
"press:CONTROL" (the control's press action).
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib


def program():
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == 'org.vantrel.Tinctor':
                return app
        time.sleep(0.1)
    sys.exit('Tinctor is not on the accessibility bus')


def walk(root):
    """Every control with its "role#n" key, depth first."""
    seen = {}
    stack = [root]
    while stack:
        node = stack.pop()
        role = node.getRoleName()
        seen[role] = seen.get(role, -1) + 1
        yield '%s#%d' % (role, seen[role]), node
        stack.extend(reversed(list(node)))


def find(root, wanted):
    role, _, name = wanted.partition(':')
    for key, node in walk(root):
        if key == wanted or (name and node.getRoleName() == role and node.name == name):
            return node
    sys.exit('no control ' + wanted)


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except NotImplementedError:
        return ''


def settle(events):
    """Waits until 0.3 s pass without an event, 5 s at most."""
    context = GLib.MainContext.default()
    end = time.monotonic() + 5
    heard, quiet_from = len(events), time.monotonic()
    while time.monotonic() < min(end, quiet_from + 0.3):
        if not context.iteration(False):
            time.sleep(0.01)
        if len(events) != heard:
            heard, quiet_from = len(events), time.monotonic()


def main():
    root = program()
    if sys.argv[1] == 'flood':
        while True:
            print('reading', flush=True)
            for _, node in walk(root):
                node.name, node.description, text_of(node)
    # A change of the focus shows the program busy too, as when a dialog opens.
    events = []
    pyatspi.Registry.registerEventListener(
        events.append, 'object:text-changed:insert', 'object:state-changed:focused')
    settle(events)  # for the program to hear of the listener
    for step in sys.argv[2:]:
        kind, _, what = step.partition(':')
        if kind == 'keys':
            subprocess.run(['xdotool', 'key', '--delay', '60'] + what.split(), check=True)
        else:
            action = find(root, what).queryAction()
            names = [action.getName(i) for i in range(action.nActions)]
            action.doAction(names.index('Press'))
        settle(events)
    control = find(root, sys.argv[1])
    print('name=' + control.name)
    print('text=' + text_of(control))
    print('focus=' + next((key for key, node in walk(root)
                           if node.getState().contains(pyatspi.STATE_FOCUSED)), ''))
    print('told=' + next((event.any_data for event in reversed(events)
                          if event.type == 'object:text-changed:insert' and event.source == control), ''))


main()
