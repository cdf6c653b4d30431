#!/usr/bin/python3
"""Drives the running program only through what the accessibility bus offers, as a screen
reader would: sets the limit to 30, presses "Iniciar el cálculo", reads the question and answers
"Sí", reads the summary and closes it, then reads the list's items. Every wait is bounded and
polls the bus. Exits 0 when everything read as expected; prints what it read either way.
Run by a11y_real.sh, inside the session that script sets up."""

import sys
import time

import pyatspi

LIMIT = "30"
QUESTION = "¿Desea borrar la lista de números actual?"
SUMMARY_START = "Cálculo terminado. 11 primos calculados. Tiempo empleado (segundos): "
PRIMES = ["1", "1", "3", "5", "7", "11", "13", "17", "19", "23", "29"]
WAIT_S = 30


class Failure(Exception):
    pass


def wait_for(what, probe, timeout=WAIT_S):
    """The first true result of probe(), asked every 0.1 s; the tree may change while it is
    read, so an error counts as "not yet"."""
    end = time.monotonic() + timeout
    last_error = None
    while time.monotonic() < end:
        try:
            found = probe()
            if found:
                return found
        except Exception as e:  # noqa: BLE001 - any bus error means "look again"
            last_error = e
        time.sleep(0.1)
    raise Failure(f"{what}: not there after {timeout} s" +
                  (f" (last error: {last_error})" if last_error else ""))


def find(root, role, name=None, test=None):
    """The first descendant of root, breadth first, with that role (and name, or for which
    test(name) holds). A list's rows are not searched."""
    queue = [root]
    while queue:
        acc = queue.pop(0)
        if acc is None:
            continue
        if acc.getRole() == role and (name is None or acc.name == name) and \
                (test is None or test(acc.name)):
            return acc
        if acc.getRole() != pyatspi.ROLE_LIST:
            queue.extend(acc[i] for i in range(acc.childCount))
    return None


def press(acc):
    action = acc.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    if "press" not in names:
        raise Failure(f"{acc.name!r} offers no press action, only {names}")
    action.doAction(names.index("press"))


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop[i]
        if a is not None and a.name == "Tamizo":
            return a
    return None


def box_with(program, text_test):
    """A box of the program (any window but the main one) with a label for which text_test
    holds, and that label."""
    for i in range(program.childCount):
        window = program[i]
        if window is None or window.getRole() == pyatspi.ROLE_FRAME:
            continue
        label = find(window, pyatspi.ROLE_LABEL, test=text_test)
        if label is not None:
            return window, label
    return None


def main():
    # The program may answer slowly while the machine is busy; a press is not repeated, so it
    # must not time out.
    pyatspi.setTimeout(10000, 30000)
    program = wait_for("the program on the bus", app)
    frame = wait_for("the main window", lambda: find(program, pyatspi.ROLE_FRAME, "Tamizo"))

    field = wait_for("the limit field",
                     lambda: find(frame, pyatspi.ROLE_TEXT,
                                  "Calcular números primos menores que:"))
    field.queryEditableText().setTextContents(LIMIT)
    text = field.queryText()
    typed = wait_for("the limit as typed", lambda: text.getText(0, -1) == LIMIT and LIMIT)
    print(f"límite: {typed}")

    press(wait_for("the start button",
                   lambda: find(frame, pyatspi.ROLE_PUSH_BUTTON, "Iniciar el cálculo")))
    box, question = wait_for("the question", lambda: box_with(program, lambda n: n == QUESTION))
    print(f"pregunta: {question.name} ({box.getRoleName()})")
    yes = find(box, pyatspi.ROLE_PUSH_BUTTON, "Sí")
    if yes is None or find(box, pyatspi.ROLE_PUSH_BUTTON, "No") is None:
        raise Failure("the question has no \"Sí\" and \"No\" buttons")
    press(yes)

    box, summary = wait_for("the summary",
                            lambda: box_with(program, lambda n: n.startswith("Cálculo terminado")))
    print(f"resumen: {summary.name} ({box.name})")
    if not summary.name.startswith(SUMMARY_START):
        raise Failure(f"the summary reads {summary.name!r}")
    press(find(box, pyatspi.ROLE_PUSH_BUTTON, "Aceptar"))

    listing = wait_for("the list", lambda: find(frame, pyatspi.ROLE_LIST, "Números primos"))
    wait_for("11 items in the list", lambda: listing.childCount == len(PRIMES))
    items = [listing[i].name for i in range(listing.childCount)]
    print(f"lista: {', '.join(items)}")
    if items != PRIMES:
        raise Failure(f"the list reads {items}")


if __name__ == "__main__":
    try:
        main()
    except Failure as e:
        print(f"FAIL: {e}")
        sys.exit(1)
    print("PASS")
