#!/usr/bin/python3
"""Prints the accessible names a screen reader sees in Quillora, one a line:
role<TAB>name, walking the running application's tree through AT-SPI."""
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


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    try:
        role, name = node.getRoleName(), node.name
    except Exception:
        return
    if name:
        print(f"{role}\t{name}")
    for i in range(node.childCount):
        walk(node.getChildAtIndex(i), depth + 1)


app = find_app()
if app is None:
    print("no quillora on the accessibility bus", file=sys.stderr)
    sys.exit(1)
walk(app)
