#!/usr/bin/python3
"""A small screen-reader client for the end-to-end tests: finds the program's controls through the
accessibility bus (AT-SPI) by their accessible names and reads what they show.

  atspi.py --pid PID dump                 the tree: role, name, text of every showing control
  atspi.py --pid PID names                the accessible names, one a line
  atspi.py --pid PID text NAME            the text of the control named NAME
  atspi.py --pid PID line NAME            the line of that control's text that holds the caret
  atspi.py --pid PID selected NAME        the selected items (rows of a list), one a line
  atspi.py --pid PID count NAME           the number of child items (rows of a list)
  atspi.py --pid PID description NAME     the control's accessible description
  atspi.py --pid PID extents NAME         the control's place on the screen: x y width height
  atspi.py --pid PID inview NAME WHERE    whether a place of the control's text lies inside the
                                          control on the screen ("yes"/"no"); WHERE is "caret",
                                          a character offset, or "line:N" (the start of line N)
  atspi.py --pid PID wait NAME [SECONDS]  waits until a showing control has that name
  atspi.py --pid PID unnamed              showing controls that take input but have no name
  atspi.py --pid PID focused              role and name of the focused control

NAME matches an accessible name exactly; "--window TITLE" limits the search to the top-level
window of that title. Exit status 1 when the control is not found, 2 on a usage error.
"""

import sys
import time

import pyatspi

# Roles that a user operates and a screen reader must be able to name.
INPUT_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_LIST, pyatspi.ROLE_TEXT,
    pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_PAGE_TAB_LIST,
}


def application(pid, seconds=15.0):
    deadline = time.time() + seconds
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:  # an application that went away meanwhile
                pass
        if time.time() > deadline:
            return None
        time.sleep(0.2)


def showing(node):
    try:
        return node.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def walk(node, depth=0, only_showing=True):
    """Every descendant (depth first) with its depth; with only_showing, only those on screen.
    Hidden containers are still searched: Qt reports a document window of a multiple-document
    frame as not showing while its contents are."""
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        if child is None:
            continue
        if not only_showing or showing(child):
            yield child, depth
        yield from walk(child, depth + 1, only_showing)


def text_of(node):
    """What the control shows: its text, else its value, else the current item of a combo box."""
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except NotImplementedError:
        pass
    except Exception:
        pass
    # A control made of parts (an editable combo box, the word box) shows its edit's text.
    for child, _ in walk(node, only_showing=False):
        if child.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY):
            return text_of(child)
    if node.getRole() == pyatspi.ROLE_COMBO_BOX:
        # A plain combo box shows its current item.
        try:
            selection = node.querySelection()
            if selection.nSelectedChildren > 0:
                return selection.getSelectedChild(0).name
        except Exception:
            pass
    try:
        value = node.queryValue()
        number = value.currentValue
        return str(int(number)) if float(number).is_integer() else str(number)
    except Exception:
        pass
    # A container of labels (the status bar) shows what its labels say.
    labels = [child.name for child, _ in walk(node)
              if child.getRole() == pyatspi.ROLE_LABEL and child.name]
    if labels:
        return " ".join(labels)
    return node.name or ""


def roots(app, window):
    if window is None:
        return [app]
    found = []
    for i in range(app.childCount):
        child = app.getChildAtIndex(i)
        if child is not None and child.name == window:
            found.append(child)
    return found


def find(app, name, window=None):
    """The showing control of that name; where a control and its container share the name (the
    word box and its edit, a document window and its text), the part that takes input."""
    first = None
    for root in roots(app, window):
        for node, _ in walk(root):
            if node.name == name:
                if node.getRole() in INPUT_ROLES:
                    return node
                if first is None:
                    first = node
    return first


def items(node):
    """The rows of a list (a list, or a list inside a combo box)."""
    target = node
    if node.getRole() == pyatspi.ROLE_COMBO_BOX:
        for child, _ in walk(node, only_showing=False):
            if child.getRole() == pyatspi.ROLE_LIST:
                target = child
                break
    return [target.getChildAtIndex(i) for i in range(target.childCount)]


def main(argv):
    args = list(argv[1:])
    pid = None
    window = None
    while args and args[0].startswith("--"):
        option = args.pop(0)
        if option == "--pid" and args:
            pid = int(args.pop(0))
        elif option == "--window" and args:
            window = args.pop(0)
        else:
            print(__doc__, file=sys.stderr)
            return 2
    if pid is None or not args:
        print(__doc__, file=sys.stderr)
        return 2
    command = args.pop(0)
    app = application(pid)
    if app is None:
        print("atspi: the program is not on the accessibility bus", file=sys.stderr)
        return 1

    if command == "dump":
        for root in roots(app, window):
            print(f"{root.getRoleName()} '{root.name}'")
            for node, depth in walk(root):
                shown = text_of(node).replace("\n", "\\n")
                if len(shown) > 80:
                    shown = shown[:77] + "..."
                print(f"{'  ' * (depth + 1)}{node.getRoleName()} '{node.name}' = '{shown}'")
        return 0
    if command == "names":
        for root in roots(app, window):
            for node, _ in walk(root):
                if node.name:
                    print(node.name)
        return 0
    if command == "unnamed":
        missing = 0
        for root in roots(app, window):
            for node, _ in walk(root):
                if node.getRole() in INPUT_ROLES and not node.name:
                    parent = node.parent
                    print(f"{node.getRoleName()} in {parent.getRoleName()} '{parent.name}'")
                    missing += 1
        return 1 if missing else 0
    if command == "focused":
        for root in roots(app, window):
            for node, _ in walk(root):
                if node.getState().contains(pyatspi.STATE_FOCUSED):
                    print(f"{node.getRoleName()} '{node.name}'")
                    return 0
        return 1
    if not args:
        print(__doc__, file=sys.stderr)
        return 2
    name = args.pop(0)
    if command == "wait":
        seconds = float(args[0]) if args else 10.0
        deadline = time.time() + seconds
        while time.time() < deadline:
            if find(app, name, window) is not None:
                return 0
            time.sleep(0.2)
        print(f"atspi: no control named '{name}'", file=sys.stderr)
        return 1
    node = find(app, name, window)
    if node is None:
        print(f"atspi: no control named '{name}'", file=sys.stderr)
        return 1
    if command == "text":
        print(text_of(node))
        return 0
    if command == "line":
        text = node.queryText()
        caret = text.caretOffset
        whole = text.getText(0, text.characterCount)
        start = whole.rfind("\n", 0, caret) + 1
        end = whole.find("\n", caret)
        print(whole[start:] if end < 0 else whole[start:end])
        return 0
    if command == "extents":
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        print(box.x, box.y, box.width, box.height)
        return 0
    if command == "inview":
        if not args:
            print(__doc__, file=sys.stderr)
            return 2
        text = node.queryText()
        where = args[0]
        if where == "caret":
            offset = text.caretOffset
        elif where.startswith("line:"):
            whole = text.getText(0, text.characterCount)
            offset = 0
            for _ in range(int(where[5:])):
                offset = whole.index("\n", offset) + 1
        else:
            offset = int(where)
        box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        x, y, width, height = text.getCharacterExtents(offset, pyatspi.DESKTOP_COORDS)
        inside = box.y <= y and y + height <= box.y + box.height and height > 0
        print("yes" if inside else "no")
        return 0
    if command == "count":
        print(len(items(node)))
        return 0
    if command == "description":
        print(node.description)
        return 0
    if command == "selected":
        for item in items(node):
            if item.getState().contains(pyatspi.STATE_SELECTED):
                print(item.name)
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
