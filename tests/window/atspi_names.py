"""What a screen reader hears from the running Linux program, read over AT-SPI.

Run on a session bus with the accessibility bus started, while the program
runs; exits 1 on the first difference."""
import sys
import time

import pyatspi


def find_program(seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name.lower() == "ravelon" and app.childCount > 0:
                return app
        time.sleep(0.2)
    sys.exit("the program did not appear on the accessibility bus: "
             + ", ".join(repr(a.name) for a in pyatspi.Registry.getDesktop(0) if a is not None))


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def labelled_by(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return []


app = find_program()
nodes = list(walk(app))
for node in nodes:
    print(f"{node.getRoleName()!r:22} {node.name!r}")

failures = []


def expect(what, ok):
    print(("ok: " if ok else "FAILED: ") + what)
    if not ok:
        failures.append(what)


def named(name, roles):
    return [n for n in nodes if n.name == name and n.getRole() in roles]


text_roles = (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)
window_roles = (pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW)
expect('the window is named "Ravelon "', bool(named("Ravelon ", window_roles)))
email = named("Please enter the email address here:", text_roles)
code = named("Please paste the encrypted code here:", text_roles)
expect("the address box is editable text named by its label", len(email) == 1)
expect("the code box is editable text named by its label", len(code) == 1)
if email:
    state = email[0].getState()
    print("address box states:", [pyatspi.stateToString(s) for s in state.getStates()])
    expect("the address box is editable, on one line",
           state.contains(pyatspi.STATE_EDITABLE) and not state.contains(pyatspi.STATE_MULTI_LINE))
    expect("the address box is labelled by its label",
           labelled_by(email[0]) == ["Please enter the email address here:"])
if code:
    state = code[0].getState()
    expect("the code box is editable, on many lines",
           state.contains(pyatspi.STATE_EDITABLE) and state.contains(pyatspi.STATE_MULTI_LINE))
    expect("the code box is labelled by its label", labelled_by(code[0]) == ["Please paste the encrypted code here:"])
for caption in ("Decrypt", "Copy", "Paste", "Exit"):
    expect(f"a push button named {caption}", len(named(caption, (pyatspi.ROLE_PUSH_BUTTON,))) == 1)
sys.exit(1 if failures else 0)
