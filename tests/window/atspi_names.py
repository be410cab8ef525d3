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

# A decrypted text too big for the toolkit's own box is still heard: its
# text, its caret and its lines as shown.
if email and code:
    from gi.repository import GLib

    heard = []

    def hear(event):
        if event.type.startswith("object:text-caret-moved"):
            heard.append(event.detail1)

    pyatspi.Registry.registerEventListener(hear, "object:text-caret-moved")
    email[0].queryEditableText().setTextContents("someone@example.com")  # a shift of 19: z becomes g
    code[0].queryEditableText().setTextContents("pulxa" + "z" * 80000)
    named("Decrypt", (pyatspi.ROLE_PUSH_BUTTON,))[0].queryAction().doAction(0)
    # The box is a new object now, as a screen reader learns from the focus.
    count = 0
    for _ in range(100):
        time.sleep(0.05)
        boxes = [n for n in walk(app) if n.name == "Please paste the encrypted code here:" and n.getRole() in text_roles]
        if boxes and 0 < boxes[0].queryText().characterCount < 80000:
            text = boxes[0].queryText()
            count = text.characterCount
            break
    print("decrypted characters:", count)
    expect("the decrypted text is heard whole", count > 32768 and text.getText(0, count) == "g" * count)
    text.setCaretOffset(1000)
    for _ in range(40):
        GLib.MainContext.default().iteration(False)
        time.sleep(0.05)
    expect("the caret is heard where it was put", text.caretOffset == 1000)
    expect("the caret's move is announced", 1000 in heard)
    line, start, end = text.getTextAtOffset(1000, pyatspi.TEXT_BOUNDARY_LINE_START)
    print("the line at the caret:", start, end)
    expect("a line is a line as shown", 0 < len(line) < 1000 and line == "g" * len(line) and start <= 1000 <= end)
sys.exit(1 if failures else 0)
