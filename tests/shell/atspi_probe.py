#!/usr/bin/python3
"""Tinctor as a screen reader sees it, through AT-SPI.

atspi_probe.py CONTROL [STEP...] runs the steps, then prints the control's
name and text, the focused control and the last text that a change event
told of the control. A control is "role#n", the n-th of that role in the
tree, or "role:name". A step is "keys:KEY..." (xdotool), "press:CONTROL",
or "flood": another client that reads the tree over and over, killed in
the middle of its second pass.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib


def walk(root):
    seen = {}
    stack = [root]
    while stack:
        node = stack.pop()
        seen[node.getRoleName()] = seen.get(node.getRoleName(), -1) + 1
        yield '%s#%d' % (node.getRoleName(), seen[node.getRoleName()]), node
        stack.extend(reversed(list(node)))


def find(root, wanted):
    role, _, name = wanted.partition(':')
    return next(node for key, node in walk(root)
                if key == wanted or (node.getRoleName() == role and node.name == name))


def text_of(node):
    return node.queryText().getText(0, -1) if 'Text' in node.get_interfaces() else ''


def settle(events):
    """Until 0.3 s pass without an event, 5 s at most."""
    end, heard, quiet = time.monotonic() + 5, len(events), time.monotonic()
    while time.monotonic() < min(end, quiet + 0.3):
        if not GLib.MainContext.default().iteration(False):
            time.sleep(0.01)
        if len(events) != heard:
            heard, quiet = len(events), time.monotonic()


for _ in range(50):
    root = next((app for app in pyatspi.Registry.getDesktop(0)
                 if app and app.name == 'org.vantrel.Tinctor'), None)
    if root:
        break
    time.sleep(0.1)
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
    elif kind == 'press':
        action = find(root, what).queryAction()
        action.doAction([action.getName(i) for i in range(action.nActions)].index('Press'))
    else:
        flood = subprocess.Popen([sys.executable, __file__, 'flood'], stdout=subprocess.PIPE)
        flood.stdout.readline(), flood.stdout.readline()
        flood.kill()
        flood.wait()
    settle(events)
control = find(root, sys.argv[1])
print('name=' + control.name)
print('text=' + text_of(control))
print('focus=' + next((key for key, node in walk(root)
                       if node.getState().contains(pyatspi.STATE_FOCUSED)), ''))
print('told=' + next((event.any_data for event in reversed(events) if event.source == control
                      and event.type == 'object:text-changed:insert'), ''))
