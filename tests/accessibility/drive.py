# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the running program through AT-SPI alone, as a screen reader would.

Usage: drive.py PROGRAM SIMULATOR-LOG...
Reads every row of the demo fleet, configures its first device through the
properties dialog and checks the outcome box and the simulators' logs.
"""
import os
import subprocess
import sys
import time

import pyatspi

FLEET_ROWS = 12
COLUMNS = ["Dispositivo", "Host", "MAC", "Version", "DHCP", "IP Address", "Netmask", "Gateway"]
MAC = "00:1A:2B:3C:4D:01"
EXPECTED_CONFIG = "CONFIG(clave01,00:1A:2B:3C:4D:01,10.77.0.51,255.255.255.0,10.77.0.1,recep2)"
SUCCESS = "\u00a1Dispositivo Configurado Exitosamente!."


def fail(message):
    print("atspi: " + message, file=sys.stderr)
    sys.exit(1)


def poll(what, probe, seconds=30.0):
    """Returns probe()'s first true value; fails after seconds."""
    end = time.monotonic() + seconds
    while True:
        try:
            value = probe()
        except Exception:  # objects come and go while the program works
            value = None
        if value:
            return value
        if time.monotonic() > end:
            fail("timed out waiting for " + what)
        time.sleep(0.1)


def find(root, predicate):
    """The first descendant of root for which predicate holds, or None."""
    return pyatspi.findDescendant(root, predicate, breadth_first=True)


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def top_window(app, role, name=None):
    for window in app:
        if window is not None and window.getRole() == role and (
            name is None or window.name == name
        ):
            return window
    return None


def press(button):
    action = button.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("Press", "press", "click"):
            action.doAction(i)
            return
    fail("%r has no press action" % button.name)


def set_text(field, text):
    if not field.queryEditableText().setTextContents(text):
        fail("could not set %r" % field.name)


def by_name(root, name, role):
    return find(root, lambda o: o.name == name and o.getRole() == role)


def read_rows(window):
    table_object = find(window, lambda o: o.getRole() == pyatspi.ROLE_TABLE)
    if table_object is None or table_object.name != "Dispositivos":
        return None
    table = table_object.queryTable()
    if table.nRows != FLEET_ROWS:
        return None
    headers = [table.getColumnDescription(c) for c in range(table.nColumns)]
    if headers != COLUMNS:
        fail("column headers %r" % headers)
    rows = [
        [table.getAccessibleAt(r, c).name for c in range(table.nColumns)]
        for r in range(table.nRows)
    ]
    return table_object, rows


def main():
    program, logs = sys.argv[1], sys.argv[2:]
    started = time.monotonic()
    env = dict(
        os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1"
    )
    child = subprocess.Popen([program], env=env)
    try:
        app = poll("the program on the accessibility bus", lambda: application(child.pid))
        main_window = poll(
            "the main window", lambda: top_window(app, pyatspi.ROLE_FRAME, "Tarnwick Brelvan")
        )
        table_object, rows = poll("the 12 rows of the demo fleet", lambda: read_rows(main_window))
        for row in rows:
            if not row[0] or not row[2] or not row[5]:
                fail("row read as %r" % row)
        macs = [row[2] for row in rows]
        if len(set(macs)) != FLEET_ROWS or MAC not in macs:
            fail("MACs read as %r" % macs)
        print("atspi: read %d rows of %d cells" % (len(rows), len(rows[0])))

        table_object.queryTable().addRowSelection(macs.index(MAC))
        properties = by_name(main_window, "Propiedades...", pyatspi.ROLE_PUSH_BUTTON)
        if properties is None:
            fail("no Propiedades... button")
        poll("Propiedades... enabled", lambda: properties.getState().contains(pyatspi.STATE_ENABLED))
        press(properties)

        dialog = poll(
            "the properties dialog", lambda: top_window(app, pyatspi.ROLE_DIALOG, "Device Properties")
        )
        poll(
            "the dialog filled",
            lambda: by_name(dialog, "Direcci\u00f3n IP 10.77.0.11", pyatspi.ROLE_GROUPING)
            or find(dialog, lambda o: o.name == "Direcci\u00f3n IP 10.77.0.11"),
        )
        set_text(by_name(dialog, "Clave de acceso", pyatspi.ROLE_PASSWORD_TEXT), "clave01")
        set_text(by_name(dialog, "Nombre del Host", pyatspi.ROLE_TEXT), "recep2")
        set_text(by_name(dialog, "Direcci\u00f3n IP, octeto 4", pyatspi.ROLE_TEXT), "51")
        poll(
            "the address to read anew",
            lambda: find(dialog, lambda o: o.name == "Direcci\u00f3n IP 10.77.0.51"),
        )
        press(by_name(dialog, "Ok", pyatspi.ROLE_PUSH_BUTTON))

        box = poll(
            "the outcome box",
            lambda: top_window(app, pyatspi.ROLE_ALERT) or top_window(app, pyatspi.ROLE_DIALOG, "Brelvan"),
        )
        text = box.description
        print("atspi: outcome box %r reads %r" % (box.name, text))
        if box.name != "Brelvan" or not text.startswith(SUCCESS):
            fail("outcome box %r: %r" % (box.name, text))
        press(by_name(box, "OK", pyatspi.ROLE_PUSH_BUTTON))

        def configured():
            lines = []
            for log in logs:
                with open(log, encoding="latin-1") as f:
                    lines += [line for line in f if "data=CONFIG(" in line]
            return lines

        lines = poll("the CONFIG in the simulators' logs", configured)
        # The request may arrive more than once (broadcast and unicast copy),
        # always the same.
        if any(("data=" + EXPECTED_CONFIG) not in line for line in lines):
            fail("simulators logged %r" % lines)
        print("atspi: simulator logged %s" % EXPECTED_CONFIG)
        print("atspi: done in %.1f s" % (time.monotonic() - started))
    finally:
        child.terminate()
        try:
            child.wait(5)
        except subprocess.TimeoutExpired:
            child.kill()
            child.wait()


if __name__ == "__main__":
    main()
