#!/usr/bin/python3
"""Reads the keys of the running quimbel-demo over AT-SPI, as a screen reader does, and presses
keys: prints every key's name, presses "q" through its action and checks that the demo's edit
box shows it, then presses Shift and checks that Shift reads as checked and the key reads "Q".
Exit 0 when all of that holds."""
import sys
import time

import pyatspi

WANTED = ["q", "a", "Enter", "Backspace", "Tab", "Shift", "Caps Lock", "Space", "Left arrow",
          "Right arrow", "Up arrow", "Down arrow"]


def walk(node, depth=0):
    if depth > 12:
        return
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def find_demo():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and "quimbel-demo" in (app.name or ""):
            return app
    return None


def main():
    app = None
    for _ in range(100):
        app = find_demo()
        if app is not None and any(n.getRole() == pyatspi.ROLE_PUSH_BUTTON for n in walk(app)):
            break
        time.sleep(0.2)
    if app is None:
        print("quimbel-demo is not on the accessibility bus")
        return 1
    buttons = [n for n in walk(app) if n.getRole() == pyatspi.ROLE_PUSH_BUTTON]
    names = [b.name for b in buttons]
    print("%d keys: %s" % (len(names), " | ".join(names)))
    missing = [w for w in WANTED if w not in names]
    unnamed = names.count("")
    if missing or unnamed:
        print("missing: %s, unnamed: %d" % (missing, unnamed))
        return 1
    key = buttons[names.index("q")]
    ext = key.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    print("q at %d,%d %dx%d" % (ext.x, ext.y, ext.width, ext.height))
    action = key.queryAction()
    print("q actions: %s" % [action.getName(i) for i in range(action.nActions)])
    action.doAction(0)
    edits = [n for n in walk(app) if n.getRole() == pyatspi.ROLE_TEXT]
    for _ in range(50):
        texts = [e.queryText().getText(0, -1) for e in edits]
        if any(t.endswith("q") for t in texts):
            print("edit box after pressing q: %r" % texts)
            break
        time.sleep(0.1)
    else:
        print("the press typed nothing: %r" % texts)
        return 1
    shift = buttons[names.index("Shift")]
    shift.queryAction().doAction(0)
    for _ in range(50):
        checked = shift.getState().contains(pyatspi.STATE_CHECKED)
        if checked and key.name == "Q":
            print("after pressing Shift: Shift checked, the key reads %r" % key.name)
            return 0
        time.sleep(0.1)
    print("after pressing Shift: checked=%s, the key reads %r" % (checked, key.name))
    return 1


sys.exit(main())
