#!/usr/bin/python3
"""Drives the running program only through the accessibility bus, as a screen reader would: sets
the limit to 30, presses "Iniciar el cálculo", reads the question and answers "Sí", reads the
summary and closes it, then reads the list's items. Every wait is bounded and polls the bus.
Run by a11y_real.sh, inside the session it sets up; exits 0 when all read as expected."""

import sys
import time

import pyatspi

QUESTION = "¿Desea borrar la lista de números actual?"
SUMMARY = "Cálculo terminado. 11 primos calculados. Tiempo empleado (segundos): "
PRIMES = ["1", "1", "3", "5", "7", "11", "13", "17", "19", "23", "29"]


class Failure(Exception):
    pass


def wait_for(what, probe, timeout=30):
    """probe()'s first true result, asked every 0.1 s; an error (the tree changing while it is
    read) counts as "not yet"."""
    end, error = time.monotonic() + timeout, None
    while time.monotonic() < end:
        try:
            found = probe()
            if found:
                return found
        except Exception as e:  # noqa: BLE001
            error = e
        time.sleep(0.1)
    raise Failure(f"{what}: not there after {timeout} s" + (f" ({error})" if error else ""))


def find(root, role, test=lambda name: True):
    """The first descendant, breadth first, with that role and a name that passes test; a
    list's rows are not searched."""
    queue = [root]
    while queue:
        acc = queue.pop(0)
        if acc.getRole() == role and test(acc.name):
            return acc
        if acc.getRole() != pyatspi.ROLE_LIST:
            queue.extend(c for c in acc if c is not None)
    return None


def named(name):
    return lambda n: n == name


def press(what, root, name):
    acc = wait_for(what, lambda: find(root, pyatspi.ROLE_PUSH_BUTTON, named(name)))
    action = acc.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    if "press" not in names:
        raise Failure(f"{acc.name!r} offers no press action, only {names}")
    action.doAction(names.index("press"))


def box_with(program, test):
    """A window of the program other than the main one, with a label that passes test."""
    for window in program:
        if window is not None and window.getRole() != pyatspi.ROLE_FRAME:
            label = find(window, pyatspi.ROLE_LABEL, test)
            if label is not None:
                return window, label
    return None


def main():
    pyatspi.setTimeout(10000, 30000)  # a press is not repeated: it must not time out
    desktop = pyatspi.Registry.getDesktop(0)
    program = wait_for("the program", lambda: find(desktop, pyatspi.ROLE_APPLICATION,
                                                   named("Tamizo")))
    frame = wait_for("the main window", lambda: find(program, pyatspi.ROLE_FRAME))

    field = wait_for("the limit field", lambda: find(
        frame, pyatspi.ROLE_TEXT, named("Calcular números primos menores que:")))
    field.queryEditableText().setTextContents("30")
    wait_for("the limit typed", lambda: field.queryText().getText(0, -1) == "30")
    print("límite:", field.queryText().getText(0, -1))

    press("the start button", frame, "Iniciar el cálculo")
    box, question = wait_for("the question", lambda: box_with(program, named(QUESTION)))
    print(f"pregunta: {question.name} ({box.getRoleName()})")
    if find(box, pyatspi.ROLE_PUSH_BUTTON, named("No")) is None:
        raise Failure("the question has no \"No\"")
    press("\"Sí\"", box, "Sí")

    box, summary = wait_for("the summary", lambda: box_with(
        program, lambda n: n.startswith("Cálculo terminado")))
    print(f"resumen: {summary.name} ({box.name})")
    if not summary.name.startswith(SUMMARY):
        raise Failure(f"the summary reads {summary.name!r}")
    press("\"Aceptar\"", box, "Aceptar")

    listing = wait_for("the list", lambda: find(frame, pyatspi.ROLE_LIST, named("Números primos")))
    wait_for("11 items", lambda: listing.childCount == len(PRIMES))
    items = [listing[i].name for i in range(listing.childCount)]
    print("lista:", ", ".join(items))
    if items != PRIMES:
        raise Failure(f"the list reads {items}")


if __name__ == "__main__":
    try:
        main()
    except Failure as e:
        print(f"FAIL: {e}")
        sys.exit(1)
    print("PASS")
