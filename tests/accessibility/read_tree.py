#!/usr/bin/python3
"""Reads both windows of the bench as a screen reader does, through AT-SPI, and checks what it
would speak: names a person sees instead of object names, the panel's fields named by their
rows, and one focused widget, the number field, when the bench opens.

Run inside a session bus and an X server: dbus-run-session -- xvfb-run -a read_tree.py BENCH
"""
import os
import subprocess
import sys
import time

import pyatspi

OBJECT_NAMES = {"BTN_Dial", "BTN_Disconnect", "BTN_SMS", "BTN_DTMF", "BTN_Konvert", "Annehmen",
                "BTN_Clear", "BTN_Exit", "CHK_PopUp", "TXT_Nummer", "TXT_SMS", "TXT_DTMF",
                "TXT_Konvert", "LST_Message", "LBL_Anzahl", "LBL_Last", "Label1"}


def walk(node, depth=0):
    yield node
    if depth > 40:
        return
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


def find_application(name, seconds):
    until = time.time() + seconds
    while time.time() < until:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name.lower() == name.lower():
                frames = [app.getChildAtIndex(j) for j in range(app.childCount)]
                if len(frames) >= 2:
                    return app
        time.sleep(0.2)
    return None


def frame(app, title):
    for i in range(app.childCount):
        child = app.getChildAtIndex(i)
        if child.name == title:
            return child
    raise AssertionError("no window %r among %r"
                         % (title, [app.getChildAtIndex(i).name for i in range(app.childCount)]))


def role(node):
    return node.getRoleName()


def labels_of(node):
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for k in range(relation.getNTargets()):
                names.append(relation.getTarget(k).name)
    return names


def main():
    bench = sys.argv[1]
    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    process = subprocess.Popen([bench], env=environment)
    failures = []
    try:
        app = find_application(os.path.basename(bench), 30)
        if app is None:
            raise AssertionError("the bench never showed up on the accessibility bus")
        time.sleep(0.5)  # the first focus change reaches the bus after the windows
        form = frame(app, "Teste ActiveX-Control 2.3")
        panel = frame(app, "Softphone-Simulator")

        spoken = {}
        for node in walk(form):
            spoken.setdefault(role(node), []).append(node.name)
            if node.name in OBJECT_NAMES:
                failures.append("Form1 speaks the object name %r (%s)" % (node.name, role(node)))
        for name in ["Wählen", "Auflegen", "SMS/TTS senden", "DTMF senden", "Konvertieren",
                     "Anruf annehmen", "Listbox löschen", "Beenden"]:
            if name not in spoken.get("push button", []):
                failures.append("no button named %r in %r" % (name, spoken.get("push button")))
        if "Tervani PopUp anzeigen" not in spoken.get("check box", []):
            failures.append("the check box is not named by its caption")
        if "Ereignisse und Meldungen" not in spoken.get("list", []):
            failures.append("the list is not named 'Ereignisse und Meldungen': %r"
                            % spoken.get("list"))
        for name in ["Rufnummer", "Kurzmitteilung", "DTMF-Zeichen"]:
            if name not in spoken.get("text", []):
                failures.append("no field named %r in %r" % (name, spoken.get("text")))
        if not any(name.startswith("Anzahl Verbindungen:") for name in spoken.get("label", [])):
            failures.append("LBL_Anzahl is not read by its caption: %r" % spoken.get("label"))

        focused = [node for node in walk(form)
                   if node.getState().contains(pyatspi.STATE_FOCUSED)]
        if [node.name for node in focused] != ["Rufnummer"]:
            failures.append("focused in Form1: %r, not the number field alone"
                            % [(role(node), node.name) for node in focused])
        for node in walk(panel):
            if node.getState().contains(pyatspi.STATE_FOCUSED):
                failures.append("the panel has the focus at start: %s %r" % (role(node), node.name))

        fields = {}
        for node in walk(panel):
            if role(node) in ("text", "spin button", "combo box"):
                fields.setdefault(role(node), []).append((node.name, labels_of(node)))
        for name in ["Eigene Rufnummer (MSN):", "Anrufer:"]:
            if name not in [field for field, _ in fields.get("text", [])]:
                failures.append("no panel field named %r: %r" % (name, fields.get("text")))
        for name in ["Anrufe:", "Abstand:"]:
            if name not in [field for field, _ in fields.get("spin button", [])]:
                failures.append("no spin box named %r: %r" % (name, fields.get("spin button")))
        combo_labels = [labels for _, labels in fields.get("combo box", [])]
        for name in ["Element:", "Fehler:", "ConnectionCount liefert:"]:
            if not any(name in labels for labels in combo_labels):
                failures.append("no combo box labelled %r: %r" % (name, fields.get("combo box")))
    finally:
        process.terminate()
        process.wait(10)
    for failure in failures:
        print("FAIL:", failure)
    print("read %s through AT-SPI: %s" % (os.path.basename(bench),
                                           "as expected" if not failures else "%d faults" % len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
