#!/usr/bin/python3
"""Reads the running program through AT-SPI as a screen reader would: every control of
the main window and of the settings dialog has a name, the key panels are named by key
and finger, and during a lesson the prompt line and the clock are readable text that
changes, with the events a screen reader follows."""
import subprocess
import sys

import pyatspi
from gi.repository import GLib

# Roles a learner acts on or reads; containers (panels, fillers, scroll bars of their
# own) may stay unnamed.
NAMED_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX,
    pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_SLIDER,
    pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_PAGE_TAB, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
    pyatspi.ROLE_LABEL, pyatspi.ROLE_PROGRESS_BAR, pyatspi.ROLE_LIST, pyatspi.ROLE_TABLE,
    pyatspi.ROLE_IMAGE,
}
failures = []
changes = []  # (name of the object, event type) of each change event heard


def fail(message):
    failures.append(message)
    print("FAIL:", message)


def wait_for(what, predicate, seconds):
    """Runs the main loop until predicate holds or the time is up, checking it at each
    accessibility event and a few times a second."""
    loop = GLib.MainLoop()
    done = [predicate()]

    def check():
        done[0] = done[0] or predicate()
        if done[0]:
            loop.quit()
        return True

    if not done[0]:
        late = [False]

        def give_up():
            late[0] = True
            loop.quit()
            return False

        tick, end = GLib.timeout_add(250, check), GLib.timeout_add(int(seconds * 1000), give_up)
        wake[0] = check
        loop.run()
        wake[0] = None
        GLib.source_remove(tick)
        if not late[0]:
            GLib.source_remove(end)
    if not done[0]:
        fail("timed out waiting for " + what)
    return done[0]


wake = [None]


def on_event(event):
    changes.append((event.source.name, event.type))
    if wake[0]:
        wake[0]()


def children(acc):
    for i in range(acc.childCount):
        child = acc.getChildAtIndex(i)
        if child is not None:
            yield child


def walk(acc):
    yield acc
    for child in children(acc):
        yield from walk(child)


def text_of(acc):
    try:
        return acc.queryText().getText(0, -1)
    except NotImplementedError:
        return ""


def check_named(window, label):
    count = 0
    for acc in walk(window):
        if acc.getRole() not in NAMED_ROLES:
            continue
        count += 1
        if not acc.name.strip():
            fail(f"{label}: unnamed {acc.getRoleName()} in {acc.parent.name!r} "
                 f"(text {text_of(acc)!r}, {acc.getAttributes()})")
    print(f"{label}: {count} controls read")
    return count


def key(name, window=None):
    """Types a key into the named window; with no window manager to hand the focus
    to a new window, the test gives it."""
    if window:
        subprocess.run(["xdotool", "search", "--onlyvisible", "--name", window,
                        "windowfocus", "--sync"], check=True)
    subprocess.run(["xdotool", "key", name], check=True)


def by_name(window, name):
    for acc in walk(window):
        if acc.name.startswith(name):
            return acc
    return None


def main():
    prog = sys.argv[1]
    program = subprocess.Popen([prog])
    desktop = pyatspi.Registry.getDesktop(0)
    pyatspi.Registry.registerEventListener(on_event, "object:text-changed",
                                           "object:state-changed", "window:create")

    def app():
        for a in children(desktop):
            try:
                if a.get_process_id() == program.pid and a.childCount:
                    return a
            except Exception:
                pass
        return None

    def window(title):
        return next((w for w in children(app()) if w.name == title and w.childCount), None)

    if not wait_for("the main window", lambda: app() and window("Velotapper"), 20):
        program.kill()
        return 1
    main_window = window("Velotapper")
    checked = ["main window"]
    check_named(main_window, "main window")
    keys = [a.name for a in walk(main_window) if a.getRole() == pyatspi.ROLE_LABEL]
    for expected in ("A、左手小指", "J、右手人差し指", "スペース、親指", "Shift、右手小指"):
        if expected not in keys:
            fail(f"no key panel named {expected}")

    def shown_dialog():
        return next((w for w in children(app()) if w.name != main_window.name and
                     w.getState().contains(pyatspi.STATE_SHOWING)), None)

    # Each dialog its function key opens, every page of it, then Esc.
    for opener, label, pages in (("F9", "settings dialog", 5), ("F1", "about box", 0),
                                 ("shift+F9", "sound dialog", 0)):
        key(opener, main_window.name)
        if not wait_for("the " + label, shown_dialog, 10):
            continue
        dialog = shown_dialog()
        checked.append(f"{label} ({dialog.name})")
        check_named(dialog, label)
        tabs = [a.name for a in walk(dialog) if a.getRole() == pyatspi.ROLE_PAGE_TAB]
        if len(tabs) < pages:
            fail(f"{label} shows {len(tabs)} pages: {tabs}")
        key("Escape", dialog.name)
        wait_for(f"the {label} to close", lambda: shown_dialog() is None, 10)

    # A lesson on F3: the prompt shows the next key and the clock runs.
    prompt = by_name(main_window, "案内")
    clock = by_name(main_window, "経過時間")
    if not prompt or not clock:
        fail("the prompt line or the clock has no name")
    else:
        del changes[:]
        key("F3", main_window.name)
        wait_for("the lesson's first key on the prompt line",
                 lambda: "キー" in text_of(prompt) and text_of(clock) != "", 15)
        first = text_of(clock)
        wait_for("the clock to move", lambda: text_of(clock) not in (first, ""), 5)
        print(f"prompt {text_of(prompt)!r}, clock {first!r} then {text_of(clock)!r}")
        heard = {t for n, t in changes if n.startswith(("案内", "経過時間"))}
        if not any(t.startswith("object:text-changed") for t in heard):
            fail(f"no text-changed event from the prompt or the clock: {heard}")
        key("F12", main_window.name)
        wait_for("the run to stop", lambda: "スピード" in text_of(prompt), 5)

    key("F10", main_window.name)
    try:
        program.wait(10)
    except subprocess.TimeoutExpired:
        fail("the program did not end on F10")
        program.kill()
    print("windows read:", ", ".join(checked))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
