#!/usr/bin/env python3
"""The calculator as a screen reader sees it: the real program under a private X server (Xvfb) and
the private session bus of dbus-run-session, read and driven through AT-SPI with Debian's pyatspi.

Usage: dbus-run-session -- python3 screen_reader_e2e_test.py BUILD_DIR

The program starts while the accessibility bus says that nobody needs it, and must then have
loaded nothing of ATK or GLib; the status is then switched on, and the application must appear.
"""
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

BUILD = sys.argv.pop(1) if len(sys.argv) > 1 else "build"
SCALE = 2
TITLE_BAR = 26   # the device's title bar above the calculator's window

KEY_NAMES = ["D", "A", "7", "4", "1", "0", "E", "B", "8", "5", "2", "point", "F", "C", "9", "6", "3",
             "change sign", "divided by", "times", "minus", "plus", "equals", "clear", "clear entry",
             "backspace", "hexadecimal", "decimal", "binary"]
MODE_KEYS = ["hexadecimal", "decimal", "binary"]
# The keys that each mode leaves pressable.
DIGITS = [str(d) for d in range(10)]
LETTERS = list("ABCDEF")
OTHERS = ["divided by", "times", "minus", "plus", "equals", "clear", "clear entry", "backspace"] + MODE_KEYS
ENABLED = {
    "hexadecimal": set(DIGITS + LETTERS + OTHERS),
    "decimal": set(DIGITS + ["point", "change sign"] + OTHERS),
    "binary": set(["0", "1"] + OTHERS),
}


def status(name, value):
    subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                    "org.freedesktop.DBus.Properties.Set", "string:org.a11y.Status", "string:" + name,
                    "variant:boolean:" + ("true" if value else "false")], check=True, stdout=subprocess.DEVNULL)


def start_x_server():
    for number in range(90 + os.getpid() % 100, 400):
        if os.path.exists("/tmp/.X11-unix/X%d" % number) or os.path.exists("/tmp/.X%d-lock" % number):
            continue
        server = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                  stderr=subprocess.DEVNULL)
        for _ in range(100):
            if os.path.exists("/tmp/.X11-unix/X%d" % number):
                return server, ":%d" % number
            time.sleep(0.05)
        server.kill()
    raise RuntimeError("no display for Xvfb")


def skin_areas(path):
    areas = {}
    with open(path, encoding="utf-8") as skin:
        for line in skin:
            match = re.match(r"AREA(\d\d)=(-?\d+),(-?\d+),(-?\d+),(-?\d+)", line)
            if match:
                areas[int(match.group(1)) - 1] = tuple(int(v) for v in match.groups()[1:])
    return areas


def mapped_libraries(pid):
    with open("/proc/%d/maps" % pid) as maps:
        return {os.path.basename(line.split()[-1]) for line in maps if "/" in line}


class ScreenReaderTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server, display = start_x_server()
        os.environ["DISPLAY"] = display
        cls.home = tempfile.TemporaryDirectory()
        environment = dict(os.environ, LANG="en_US.UTF-8", LANGUAGE="en", XDG_CONFIG_HOME=cls.home.name,
                           XDG_CACHE_HOME=cls.home.name, NUMBRIX_REGISTRY=cls.home.name + "/registry.reg")
        environment.pop("LC_ALL", None)
        environment.pop("NO_AT_BRIDGE", None)
        status("IsEnabled", False)
        cls.program = subprocess.Popen([os.path.join(BUILD, "numbrix"), "--scale", str(SCALE)], env=environment)
        # Nobody asks yet: the first frame comes and goes without ATK.
        subprocess.run(["xdotool", "search", "--sync", "--name", "^Numbrix$"], check=True, stdout=subprocess.DEVNULL,
                       timeout=5)
        time.sleep(0.2)
        cls.libraries_at_rest = mapped_libraries(cls.program.pid)
        status("IsEnabled", True)
        import pyatspi
        from gi.repository import GLib
        cls.pyatspi, cls.context = pyatspi, GLib.MainContext.default()
        cls.app = cls.find_application()

    @classmethod
    def tearDownClass(cls):
        cls.program.kill()
        cls.program.wait()
        cls.server.kill()
        cls.server.wait()
        cls.home.cleanup()

    @classmethod
    def find_application(cls):
        deadline = time.monotonic() + 5
        while time.monotonic() < deadline:
            desktop = cls.pyatspi.Registry.getDesktop(0)
            for app in desktop:
                if app is not None and app.name == "Numbrix" and app.get_process_id() == cls.program.pid:
                    return app
            time.sleep(0.05)
        raise AssertionError("the application did not appear on the accessibility bus")

    def pump(self):
        while self.context.iteration(False):
            pass

    def settled(self, read, expected, seconds=1.0):
        """What read() gives once the events that an action sent have come in (they may come after
        the action's answer, which the bridge can send on a connection of its own)."""
        deadline = time.monotonic() + seconds
        while True:
            self.pump()
            value = read()
            if value == expected or time.monotonic() > deadline:
                return value
            time.sleep(0.01)

    def frame(self):
        frames = [child for child in self.app if child.getRole() == self.pyatspi.ROLE_FRAME]
        self.assertEqual(len(frames), 1)
        return frames[0]

    def display(self):
        return [child for child in self.frame() if child.getRole() == self.pyatspi.ROLE_LABEL][0]

    def key(self, name):
        return [child for child in self.frame() if child.name == name and child.getRole() in
                (self.pyatspi.ROLE_PUSH_BUTTON, self.pyatspi.ROLE_RADIO_BUTTON)][0]

    def press(self, *names):
        for name in names:
            self.assertTrue(self.key(name).queryAction().doAction(0), name)
        self.pump()

    def start_over(self):
        self.press("decimal", "clear")

    def test_nothing_of_atk_is_loaded_until_the_status_asks(self):
        loaded = {name for name in self.libraries_at_rest if re.match(r"lib(atk|glib|gobject|gio)", name)}
        self.assertEqual(loaded, set())
        self.assertTrue(any(name.startswith("libatk-bridge") for name in mapped_libraries(self.program.pid)))

    def test_the_tree_has_the_frame_the_display_and_the_keys_in_order(self):
        frame = self.frame()
        self.assertEqual(frame.name, "Numbrix")
        labels = [c for c in frame if c.getRole() == self.pyatspi.ROLE_LABEL]
        keys = [c for c in frame if c.getRole() in (self.pyatspi.ROLE_PUSH_BUTTON, self.pyatspi.ROLE_RADIO_BUTTON)]
        self.assertEqual(len(labels), 1)
        self.assertEqual([k.name for k in keys], KEY_NAMES)
        radios = [k.name for k in keys if k.getRole() == self.pyatspi.ROLE_RADIO_BUTTON]
        self.assertEqual(radios, MODE_KEYS)

    def test_actions_press_keys_and_the_display_reads_what_it_draws(self):
        cases = [
            (["1", "2", "3", "4", "point", "5", "change sign"], "-1,234.5", ""),
            (["5", "plus"], "5", "plus pending"),
            (["5", "minus", "3"], "3", "minus pending"),
            (["6", "times"], "6", "times pending"),
            (["8", "divided by", "2"], "2", "divided by pending"),
            (["5", "plus", "3", "equals"], "8", ""),
            (["9", "9", "9", "9", "9", "9", "9", "9", "plus", "1", "equals"], "Error", ""),
            (["hexadecimal", "F", "F"], "ff", ""),
            (["binary", "1", "0", "1", "0"], "1010", ""),
            (["1", "2", "3", "backspace"], "12", ""),
        ]
        for keys, name, description in cases:
            with self.subTest(keys=keys):
                self.start_over()
                self.press(*keys)
                self.assertEqual(self.settled(lambda: self.display().name, name), name)
                self.assertEqual(self.settled(lambda: self.display().description, description), description)

    def test_every_change_of_the_display_is_announced(self):
        self.start_over()
        heard = []
        listener = lambda event: heard.append((event.source.getRole() == self.pyatspi.ROLE_LABEL, event.any_data))
        self.pyatspi.Registry.registerEventListener(listener, "object:property-change:accessible-name")
        try:
            self.press("7", "8", "plus", "clear")
            expected = [(True, "7"), (True, "78"), (True, "0")]
            self.assertEqual(self.settled(lambda: heard, expected), expected)
        finally:
            self.pyatspi.Registry.deregisterEventListener(listener, "object:property-change:accessible-name")

    def test_each_mode_enables_its_keys_and_checks_its_radio_button(self):
        for mode in MODE_KEYS:
            with self.subTest(mode=mode):
                self.start_over()
                self.press(mode)
                for key in [self.key(name) for name in KEY_NAMES]:
                    states = key.getState()
                    enabled = key.name in ENABLED[mode]
                    self.assertEqual(states.contains(self.pyatspi.STATE_SENSITIVE), enabled, key.name)
                    self.assertEqual(states.contains(self.pyatspi.STATE_ENABLED), enabled, key.name)
                    if key.name in MODE_KEYS:
                        self.assertEqual(states.contains(self.pyatspi.STATE_CHECKED), key.name == mode, key.name)
        self.start_over()

    def test_extents_are_the_skins_areas_at_the_windows_scale(self):
        areas = skin_areas(os.path.join(BUILD, "skin", "default.skn"))
        frame = self.frame().queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        geometry = subprocess.run(["xdotool", "search", "--name", "^Numbrix$", "getwindowgeometry", "--shell"],
                                  check=True, capture_output=True, text=True).stdout
        window = dict(line.split("=") for line in geometry.split())
        self.assertEqual((frame.x, frame.y, frame.width, frame.height),
                         (int(window["X"]), int(window["Y"]) + TITLE_BAR * SCALE, 240 * SCALE, 268 * SCALE))
        for index, name in enumerate(KEY_NAMES):
            x, y, width, height = areas[index]
            on_desktop = self.key(name).queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
            in_window = self.key(name).queryComponent().getExtents(self.pyatspi.WINDOW_COORDS)
            self.assertEqual((on_desktop.x - frame.x, on_desktop.y - frame.y, on_desktop.width, on_desktop.height),
                             (x * SCALE, y * SCALE, width * SCALE, height * SCALE), name)
            self.assertEqual((in_window.x, in_window.y), (x * SCALE, (TITLE_BAR + y) * SCALE), name)
        panel = self.display().queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        self.assertEqual((panel.x - frame.x, panel.y - frame.y), (areas[29][0] * SCALE, areas[29][1] * SCALE))

    def menu(self):
        bars = [c for c in self.frame() if c.getRole() == self.pyatspi.ROLE_MENU_BAR]
        self.assertEqual(len(bars), 1)
        return bars[0][0]

    def test_the_tools_menu_lists_its_items_and_the_sound_switch_checks(self):
        menu = self.menu()
        self.assertEqual((menu.name, menu.getRole()), ("Tools", self.pyatspi.ROLE_MENU))
        self.assertEqual([item.name for item in menu], ["Choose Skin", "Sound Effects", "About"])
        sound = menu[1]
        self.assertEqual(sound.getRole(), self.pyatspi.ROLE_CHECK_MENU_ITEM)
        self.assertTrue(sound.getState().contains(self.pyatspi.STATE_CHECKED))
        for checked in (False, True):
            self.assertTrue(sound.queryAction().doAction(0))
            read = lambda: self.menu()[1].getState().contains(self.pyatspi.STATE_CHECKED)
            self.assertEqual(self.settled(read, checked), checked)

    def dialogs(self):
        return [c for c in self.app if c.getRole() == self.pyatspi.ROLE_DIALOG]

    def test_dialogs_show_their_controls_and_their_buttons_close_them(self):
        cases = [  # menu item, caption, labels, list entries, buttons (the title bar's OK last), closing one
            (0, "Choose Skin", [], ["default.skn", "midnight.skn"], ["OK", "Cancel", "OK"], "Cancel"),
            (2, "About Numbrix", ["Numbrix Version 1.0", "\u00a9 2026 Numbrix"], None, ["OK"], "OK"),
        ]
        activated = []
        listener = lambda event: activated.append(event.source.name)
        self.pyatspi.Registry.registerEventListener(listener, "window:activate")
        self.addCleanup(self.pyatspi.Registry.deregisterEventListener, listener, "window:activate")
        for item, caption, labels, entries, buttons, closing in cases:
            with self.subTest(caption=caption):
                self.assertTrue(self.menu()[item].queryAction().doAction(0))
                self.assertEqual(self.settled(lambda: [d.name for d in self.dialogs()], [caption]), [caption])
                self.assertEqual(self.settled(lambda: activated[-1:], [caption]), [caption])
                children = list(self.dialogs()[0])
                roles = lambda role: [c for c in children if c.getRole() == role]
                self.assertEqual([c.name for c in roles(self.pyatspi.ROLE_LABEL)][:len(labels)], labels)
                lists = roles(self.pyatspi.ROLE_LIST)
                self.assertEqual([sorted(entry.name for entry in lst) for lst in lists], [entries] if entries else [])
                self.assertEqual([b.name for b in roles(self.pyatspi.ROLE_PUSH_BUTTON)], buttons)
                self.assertFalse(self.key("7").getState().contains(self.pyatspi.STATE_SENSITIVE),
                                 "the face takes no taps under a dialog")
                self.assertTrue(self.dialogs()[0].getState().contains(self.pyatspi.STATE_ACTIVE))
                self.assertFalse(self.frame().getState().contains(self.pyatspi.STATE_ACTIVE))
                button = [b for b in roles(self.pyatspi.ROLE_PUSH_BUTTON) if b.name == closing][0]
                self.assertTrue(button.queryAction().doAction(0))
                self.assertEqual(self.settled(lambda: self.dialogs(), []), [])
                self.assertTrue(self.key("7").getState().contains(self.pyatspi.STATE_SENSITIVE))
                self.assertTrue(self.frame().getState().contains(self.pyatspi.STATE_ACTIVE))
                self.assertEqual(self.settled(lambda: activated[-1:], ["Numbrix"]), ["Numbrix"])

    def test_switching_the_status_off_and_on_takes_the_application_away_and_back(self):
        listed = lambda: self.program.pid in [a.get_process_id() for a in self.pyatspi.Registry.getDesktop(0) if a]
        status("IsEnabled", False)
        self.assertFalse(self.settled(listed, False, seconds=3))
        status("ScreenReaderEnabled", True)
        type(self).app = self.find_application()
        status("IsEnabled", True)
        status("ScreenReaderEnabled", False)
        self.assertEqual(self.frame().name, "Numbrix")

if __name__ == "__main__":
    unittest.main()
