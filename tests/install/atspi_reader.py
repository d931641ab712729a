#!/usr/bin/python3
"""Reads the editor's accessibility tree over AT-SPI and checks the document
view: a canvas named after the open file, whose children are the diagram's
blocks (kind and text) and links ("link from ... to ..."), each with a
rectangle on the screen. Usage: atspi_reader.py DIAGRAM"""
import sys
import time

import pyatspi


def walk(node, depth=0):
    if node is None or depth > 30:
        return
    yield node
    for i in range(node.childCount):
        try:
            yield from walk(node.getChildAtIndex(i), depth + 1)
        except Exception:  # a child that went away meanwhile
            continue


def find_view(diagram):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        for node in walk(app):
            try:
                if node.getRole() == pyatspi.ROLE_CANVAS and node.name == diagram:
                    return node
            except Exception:
                continue
    return None


def main():
    diagram = sys.argv[1]
    view = None
    deadline = time.time() + 30
    while view is None and time.time() < deadline:
        view = find_view(diagram)
        if view is None:
            time.sleep(0.5)
    if view is None:
        print("FAIL: no canvas named %s on the accessibility bus" % diagram)
        return 1
    names, rects = [], []
    for i in range(view.childCount):
        child = view.getChildAtIndex(i)
        names.append(child.name)
        ext = child.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        rects.append((ext.x, ext.y, ext.width, ext.height))
    print("children:", names)
    blocks = [n for n in names if ":" in n or n in ("Rectangle", "Ellipse", "Rhomb")]
    links = [n for n in names if n.startswith("link from ")]
    fails = 0
    if not blocks:
        print("FAIL: no block among the children")
        fails += 1
    if not links:
        print("FAIL: no link among the children")
        fails += 1
    if not any(r[2] > 0 and r[3] > 0 for r, n in zip(rects, names) if n in blocks):
        print("FAIL: the blocks have no rectangles on the screen")
        fails += 1
    for bar in ("Horizontal scroll bar", "Vertical scroll bar"):
        if bar not in names:
            print("FAIL: no %s" % bar)
            fails += 1
    return 1 if fails else 0


if __name__ == "__main__":
    sys.exit(main())
