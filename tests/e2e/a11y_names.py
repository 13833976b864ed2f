#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads Quillora as a screen reader sees it, through AT-SPI, from a fresh
client process.

  a11y_names.py          every accessible name, one a line: role<TAB>name
  a11y_names.py menus    every menu item under the menu bar, one a line:
                         path<TAB>role<TAB>name<TAB>states, where the path
                         names the menus above the item and states lists
                         "checked" and "disabled"; an item that cannot be
                         fetched prints as UNREADABLE
  a11y_names.py text     the text of the focused document's edit control
  a11y_names.py where CAPTION   "x y", the top left corner of a window
  a11y_names.py popup KEY       presses KEY (with xdotool), then Down, and
                         prints the items of the pop-up menu that took the
                         focus, as every name: role<TAB>name (a pop-up is
                         no child of the application, so it is found as a
                         screen reader finds it, by its focus event)"""
import sys
import time

import pyatspi


def find_app():
    for _ in range(50):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name and app.name.lower().startswith("quillora"):
                return app
        time.sleep(0.2)
    return None


def children(node):
    for i in range(node.childCount):
        yield node.getChildAtIndex(i)


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    try:
        role, name = node.getRoleName(), node.name
    except Exception:
        return
    if name:
        print(f"{role}\t{name}")
    for child in children(node):
        walk(child, depth + 1)


def find(node, wanted, depth=0):
    """The first node under `node`, itself included, for which wanted(node) holds."""
    if node is None or depth > 40:
        return None
    try:
        if wanted(node):
            return node
        for child in children(node):
            found = find(child, wanted, depth + 1)
            if found is not None:
                return found
    except Exception:
        pass
    return None


def states(node):
    s = node.getState()
    out = []
    if s.contains(pyatspi.STATE_CHECKED):
        out.append("checked")
    if not s.contains(pyatspi.STATE_ENABLED):
        out.append("disabled")
    if not s.contains(pyatspi.STATE_VISIBLE):
        out.append("hidden")
    elif s.contains(pyatspi.STATE_SHOWING):
        extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if extents.width > 0 and extents.height > 0:
            out.append("on-screen")
    return ",".join(out)


def keys(node):
    try:
        return node.queryAction().getKeyBinding(0)
    except Exception:
        return ""


def menu_items(node, path):
    """A menu item's own menu is its only child in Qt's tree, or its items are."""
    for child in children(node):
        if child is None:
            print(f"{path}\tUNREADABLE")
            continue
        role = child.getRoleName()
        if role in ("menu", "popup menu"):  # the menu widget of a menu item
            menu_items(child, path)
            continue
        print(f"{path}\t{role}\t{child.name}\t{states(child)}\t{keys(child)}")
        if child.childCount:
            menu_items(child, f"{path} > {child.name}")


app = find_app()
if app is None:
    print("no quillora on the accessibility bus", file=sys.stderr)
    sys.exit(1)
what = sys.argv[1] if len(sys.argv) > 1 else "names"
if what == "menus":
    bar = find(app, lambda n: n.getRole() == pyatspi.ROLE_MENU_BAR)
    if bar is None:
        sys.exit("no menu bar")
    for top in children(bar):
        if top is None:
            print("UNREADABLE")
        elif top.getState().contains(pyatspi.STATE_VISIBLE):
            menu_items(top, top.name)
elif what == "text":
    edit = find(app, lambda n: n.getRole() == pyatspi.ROLE_TEXT and n.getState().contains(pyatspi.STATE_FOCUSED))
    if edit is None:
        sys.exit("no focused text")
    sys.stdout.write(edit.queryText().getText(0, -1))
elif what == "popup":
    import subprocess

    from gi.repository import GLib

    focused = []
    pyatspi.Registry.registerEventListener(lambda event: focused.append(event.source),
                                           "object:state-changed:focused")

    def pump(seconds):
        end = time.time() + seconds
        context = GLib.MainContext.default()
        while time.time() < end:
            context.iteration(False)
            time.sleep(0.01)

    pump(0.3)
    subprocess.run(["xdotool", "key", "--clearmodifiers", sys.argv[2]], check=False)
    pump(0.5)
    subprocess.run(["xdotool", "key", "--clearmodifiers", "Down"], check=False)
    pump(1.0)
    items = [n for n in focused if n is not None and n.getRoleName() == "menu item"]
    if not items:
        sys.exit("no pop-up menu took the focus")
    for item in children(items[-1].parent):
        if item is not None and item.name:
            print(f"{item.getRoleName()}\t{item.name}")
elif what == "where":
    window = find(app, lambda n: n.getRole() == pyatspi.ROLE_FRAME and n.name == sys.argv[2])
    if window is None:
        sys.exit("no window " + sys.argv[2])
    extents = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    print(extents.x, extents.y)
else:
    walk(app)
