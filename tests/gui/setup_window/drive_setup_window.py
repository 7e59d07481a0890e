#!/usr/bin/env python3
"""KestroSetup.exe driven as a user drives it: real mouse clicks and key presses at the
controls' places (xdotool), screenshots of every page, and the outcome checked on the
disk, in the registry, at the local stats-server and in the programs' exit codes.

Run by run-setup-window.sh (tests) or scripts/demo.sh (--demo PACKAGE DAMAGED: the
demo's own installer, installed to its default folder and left with the game centre
running), which provide the Wine environment, the stats-server and a compositor. Every
wait is for a state (a page on the screen, the pointer, a file, a process) and bounded;
the first failed check ends the run with status 1.
"""
import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import time

WINDOW_W, WINDOW_H = 528, 348
PAGE_TOP = 48

# Window-relative places of the controls (the page's offset included).
CUSTOM_LINK = (427 + 45, PAGE_TOP + 277 + 6)
PUBLISH_BUTTON = (164 + 100, PAGE_TOP + 196 + 24)
AGREEMENT_BOX = (366 + 6, PAGE_TOP + 115 + 6)
QUICK_LAUNCH_AREA = (210, PAGE_TOP + 115, 120, 12)
PATH_BOX = (54 + 170, PAGE_TOP + 62 + 16)
CLOSE_BUTTON = (WINDOW_W - 40 + 17, 10 + 14)
BACK_LINK = (10 + 25, PAGE_TOP + 275 + 8)
REASON_BOXES = [(40 + 6, PAGE_TOP + 40 + 30 * i + 6) for i in range(5)]
FREE_TEXT = (40 + 200, PAGE_TOP + 190 + 27)
UNINSTALL_BUTTON = (347 + 37, PAGE_TOP + 258 + 14)
# Files of the package whose extraction is cut by the close button: a few seconds' worth.
MANY_FILES = 3000
# A point in the coloured band of the hero pages (install, progress, finish, retry).
BAND_PROBE = (20, PAGE_TOP + 60)
# A point of the title bar, which every page of both modes has in the same colour, and
# a point of the close button beside its cross, in that colour unless the button is lit.
TITLE_PROBE = (5, 20)
CLOSE_PROBE = (WINDOW_W - 32, 13)
# A point of the install button's place clear of its text: blue only while a page with
# that button (install, custom, finish, retry, done) is in place.
BUTTON_PROBE = (164 + 8, PAGE_TOP + 196 + 26)
# The first pixel of the uninstall page's progress track, and the uninstall button's area.
TRACK_START = (55, PAGE_TOP + 203)
UNINSTALL_AREA = (347, PAGE_TOP + 258, 74, 28)
# A point of the game centre's window background and that background's colour.
GAME_CENTRE_PROBE = (150, 200)
GAME_CENTRE_BACKGROUND = (0x1F, 0x2A, 0x44)
# A page change plays in about 0.2 s (11 steps of 15 ms). A check that a click changed
# nothing has no state to wait for: once the window has handled the click it waits this
# long, for a page change the click might have started to show.
PAGE_CHANGE_TIME = 0.5

SHIPPED_RECORD = {
    "channel": 30001, "lastrun": "KestroGC.exe", "mode": 1, "theme": "default",
    "shortcut": {"desktop": [{"file": "KestroGC.exe", "name": "Kestro 模拟器"}],
                 "taskbar": [{"file": "KestroGC.exe", "name": "Kestro 模拟器"}]},
}
# The uninstall starts the launcher (here the fixture, which ends after 200 ms) and
# dispatches the window's messages while it waits: a second click lands in that wait.
UNINSTRUN_RECORD = dict(SHIPPED_RECORD, uninstrun=["KestroGC.exe --uninstalling"])
UNINSTALL_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\KestroGC"
# Wine reports version 10 to the program named here (its manifest declares Windows 10).
WIN10_KEY = r"HKCU\Software\Wine\AppDefaults\%s"


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)
    print("ok:", what, flush=True)


def win_path(path):
    return "Z:" + path.replace("/", "\\")


def run(*args, timeout=60, **kw):
    return subprocess.run(list(args), timeout=timeout, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, **kw)


def wait_for(predicate, timeout, step=0.05):
    end = time.time() + timeout
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


def await_state(predicate, timeout, what):
    """A wait for a state the run cannot go on without: its absence ends the run, named."""
    return require(wait_for(predicate, timeout), "%s (not within %g s)" % (what, timeout))


def require(value, what):
    if not value:
        raise Failure(what)
    return value


def blue(rgb):
    r, g, b = rgb
    return b > 150 and r < 140


def white(rgb):
    return min(rgb) >= 0.99 * 255


class Picture:
    """One grab of the whole screen as import sees it (windows of any depth included),
    as 8-bit RGB rows."""

    def __init__(self):
        data = run("import", "-window", "root", "-depth", "8", "ppm:-").stdout
        head = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
        if not head:
            raise Failure("import grabs the screen")
        self.stride = 3 * int(head.group(1))
        self.rows = data[head.end():]

    def pixel(self, x, y):
        at = y * self.stride + 3 * x
        return tuple(self.rows[at:at + 3])


class Screen:
    def __init__(self, artifacts, work):
        self.artifacts = artifacts
        self.grab = os.path.join(work, "grab.png")
        # Where this driver last put the pointer.
        self.at = (0, 0)

    def windows(self, name):
        out = run("xdotool", "search", "--onlyvisible", "--name", name).stdout.decode().split()
        return [w for w in out if w]

    def geometry(self, window):
        out = run("xdotool", "getwindowgeometry", "--shell", window).stdout.decode()
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def main_window(self, timeout=20):
        """The installer's window once it shows its first page: (window, x, y)."""
        def find():
            for w in self.windows("^KestroSetup$"):
                x, y, width, height = self.geometry(w)
                if (width, height) == (WINDOW_W, WINDOW_H) and blue(self.pixel((x, y), TITLE_PROBE)):
                    return w, x, y
            return None
        found = wait_for(find, timeout)
        if not found:
            raise Failure("the installer window appears")
        return found

    def window_process(self, window):
        """The Linux process id of the Wine process that owns the window."""
        out = run("xdotool", "getwindowpid", window).stdout.decode().strip()
        if not out.isdigit():
            raise Failure("the installer window names its process")
        return int(out)

    # Keys, text and clicks reach the window in the order they are sent: no pause is
    # needed between them for the window to see them as sent.
    def move(self, origin, place, *then):
        self.at = (origin[0] + place[0], origin[1] + place[1])
        run("xdotool", "mousemove", str(self.at[0]), str(self.at[1]), *then)

    def click(self, origin, place):
        self.move(origin, place, "click", "1")

    def double_click(self, origin, place):
        """Two clicks as quick as a user's double click."""
        self.move(origin, place, "click", "--repeat", "2", "--delay", "80", "1")

    def keys(self, *keys):
        run("xdotool", "key", *keys)

    def clear_field(self):
        run("xdotool", "key", "End")
        run("xdotool", "key", "--repeat", "80", "--delay", "5", "BackSpace")

    def type(self, text):
        run("xdotool", "type", "--delay", "30", text)

    def pointer(self):
        out = run("xdotool", "getmouselocation", "--shell").stdout.decode()
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"])

    def played(self, count):
        """Whether `count` page changes have played since the pointer was last put
        somewhere. The window nudges the pointer one pixel to the right at the end of
        every page change, so that hover states follow the page now under it."""
        return self.pointer()[0] >= self.at[0] + count

    def close_lit(self, origin):
        picture = Picture()
        return picture.pixel(origin[0] + CLOSE_PROBE[0], origin[1] + CLOSE_PROBE[1]) != \
            picture.pixel(origin[0] + TITLE_PROBE[0], origin[1] + TITLE_PROBE[1])

    def drawn(self, origin):
        """Waits until the window has handled all input so far and drawn what it was asked
        to. A page change plays on a thread of its own and is drawn by the window's
        thread, which takes input only after what was sent to it before: so the pointer
        goes onto the close button until it lights up, and back until it is dark again.
        Not while a page change plays: the pointer's trip would hide its end."""
        x, y = self.pointer()
        self.move(origin, CLOSE_BUTTON)
        await_state(lambda: self.close_lit(origin), 10, "the close button lights up under the pointer")
        self.move(origin, (x - origin[0], y - origin[1]))
        await_state(lambda: not self.close_lit(origin), 10, "the close button goes dark when the pointer leaves")

    def page_shown(self, origin, count=1):
        """Whether `count` page changes have played (see played) and the window has drawn
        them."""
        if not wait_for(lambda: self.played(count), 10):
            return False
        self.drawn(origin)
        return True

    def shoot(self, name, origin=None):
        """Saves the window (with its shadows) or the whole screen as NAME.png."""
        path = os.path.join(self.artifacts, name + ".png")
        run("import", "-window", "root", self.grab)
        if origin:
            crop = "%dx%d+%d+%d" % (WINDOW_W + 60, WINDOW_H + 60, origin[0] - 30, origin[1] - 30)
            run("convert", self.grab, "-crop", crop, "+repage", path)
        else:
            shutil.copy(self.grab, path)
        return path

    def pixel(self, origin, place):
        return Picture().pixel(origin[0] + place[0], origin[1] + place[1])

    def blank(self, origin, area, picture=None):
        """Whether the area (x, y, width, height) of the window is plain white."""
        picture = picture or Picture()
        return all(white(picture.pixel(origin[0] + area[0] + dx, origin[1] + area[1] + dy))
                   for dy in range(area[3]) for dx in range(area[2]))

    def on_band_page(self, origin):
        return blue(self.pixel(origin, BAND_PROBE))

    def button_in_place(self, origin):
        return blue(self.pixel(origin, BUTTON_PROBE))

    def track_in_place(self, origin):
        """Whether the uninstall page stands in place of the reason page: its progress
        track starts exactly at its place (a page change moves pages 50 pixels a step)
        and the reason page's uninstall button is gone."""
        picture = Picture()
        x, y = origin[0] + TRACK_START[0], origin[1] + TRACK_START[1]
        return (white(picture.pixel(x - 1, y)) and not white(picture.pixel(x, y))
                and self.blank(origin, UNINSTALL_AREA, picture))

    def message_box(self, timeout=10):
        """A message box of the installer (its caption is the system's "error" word)."""
        def find():
            for w in self.windows("."):
                if run("xdotool", "getwindowname", w).stdout.decode().strip() in ("错误", "Error"):
                    return w
            return None
        return wait_for(find, timeout)

    def dismiss(self, box):
        x, y, width, height = self.geometry(box)
        run("xdotool", "windowactivate", "--sync", box)
        self.move((x, y), (width // 2, height // 2))
        self.keys("Return")
        if wait_for(lambda: box not in self.windows("."), 3):
            return
        # Fall back to the button: bottom right of a box without a window manager.
        self.move((x, y), (width - 50, height - 22), "click", "1")
        wait_for(lambda: box not in self.windows("."), 3)


class Driver:
    def __init__(self, args):
        self.bin = args.bin
        self.work = args.work
        self.stats_log = args.stats_log
        self.screen = Screen(args.artifacts, args.work)
        self.processes = []

    # --- packages and system state ----------------------------------------------------

    def pack(self, name, record, damage=False, many=0):
        """A package of the small product; `many` adds that many files, so that the
        extraction takes seconds."""
        product = os.path.join(self.work, "product-%d" % many)
        if not os.path.isdir(product):
            os.makedirs(os.path.join(product, "data"))
            shutil.copy(os.path.join(self.bin, "kestro_worker_fixture.exe"), os.path.join(product, "KestroGC.exe"))
            with open(os.path.join(product, "data", "readme.txt"), "w") as f:
                f.write("Kestro demo data\n")
            for i in range(many):
                folder = os.path.join(product, "many", str(i % 40))
                os.makedirs(folder, exist_ok=True)
                with open(os.path.join(folder, "file%d.dat" % i), "wb") as f:
                    f.write(os.urandom(1500 + i % 700))
        record_path = os.path.join(self.work, name + ".json")
        with open(record_path, "w", encoding="utf-8") as f:
            json.dump(record, f, ensure_ascii=False)
        out = os.path.join(self.work, name)
        result = run("wine", os.path.join(self.bin, "kestro-pack.exe"), "build",
                     "--program", win_path(os.path.join(self.bin, "KestroSetup.exe")),
                     "--config", win_path(record_path), "--product", win_path(product), "-o", win_path(out),
                     timeout=120)
        check(result.returncode == 0 and os.path.exists(out), "kestro-pack makes " + name)
        if damage:
            with open(out, "r+b") as f:
                f.truncate(os.path.getsize(out) - 1000)
        return out

    def uninstall_string(self):
        out = run("wine", "reg", "query", UNINSTALL_KEY, "/v", "UninstallString", "/reg:32").stdout
        for line in out.decode("utf-8", "replace").splitlines():
            if "UninstallString" in line and "REG_SZ" in line:
                return line.split("REG_SZ", 1)[1].strip()
        return None

    def installed_folder(self):
        """The folder of the installed uninstaller, as a path of this machine."""
        path = self.uninstall_string()
        if path is None:
            return None
        return os.path.dirname(run("winepath", "-u", path).stdout.decode().strip())

    def registry_has_product(self):
        return run("wine", "reg", "query", UNINSTALL_KEY, "/reg:32").returncode == 0

    def remove_product_registry(self):
        run("wine", "reg", "delete", UNINSTALL_KEY, "/f", "/reg:32")

    def temp_archives(self):
        """The installer's temporary archive copies (16 hex digits, ".zip") in the user's temp folder."""
        if not hasattr(self, "_temp"):
            out = run("wine", "cmd", "/c", "echo %TEMP%").stdout.decode("utf-8", "replace").strip()
            self._temp = run("winepath", "-u", out).stdout.decode().strip()
        names = os.listdir(self._temp) if os.path.isdir(self._temp) else []
        return sorted(n for n in names if len(n) == 20 and n.lower().endswith(".zip")
                      and all(c in "0123456789ABCDEF" for c in n[:16]))

    def new_stats(self, kind, before):
        """The requests of `kind` logged after the first `before` of them."""
        return (self.stats(kind) or [])[before:]

    def start(self, program, *args):
        process = subprocess.Popen(["wine", program] + list(args), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        self.processes.append(process)
        return process

    def stats(self, kind):
        if not self.stats_log:
            return None
        if not os.path.exists(self.stats_log):
            return []
        with open(self.stats_log, encoding="utf-8") as f:
            requests = [json.loads(line) for line in f if line.strip()]
        return [r for r in requests if r.get("kind") == kind]

    def ended(self, process, timeout=15):
        try:
            return process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    @staticmethod
    def gone(pid):
        """Whether the process has ended (an unreaped one reads as a zombie)."""
        try:
            with open("/proc/%d/stat" % pid) as f:
                return f.read().rsplit(")", 1)[1].split()[0] in ("Z", "X")
        except (FileNotFoundError, ProcessLookupError):
            return True

    # --- scenarios ------------------------------------------------------------------------

    def install_through_the_custom_page(self, package):
        s = self.screen
        # The path box takes the printable ASCII characters but no blanks. Typed with "/":
        # the install must still land in (and record, and start from) the "\\" form.
        target = "C:/kestro-gui/Games/Kestro"
        target_unix = os.path.join(os.environ["WINEPREFIX"], "drive_c", "kestro-gui", "Games", "Kestro")
        shutil.rmtree(os.path.dirname(os.path.dirname(target_unix)), ignore_errors=True)
        process = self.start(package)
        _, x, y = s.main_window()
        o = (x, y)
        s.shoot("01-install", o)
        check(s.on_band_page(o), "the install page is shown first")

        s.click(o, CUSTOM_LINK)
        slid = s.page_shown(o)
        s.shoot("02-custom", o)
        check(slid and not s.on_band_page(o), "the custom link slides to the custom page")

        check(not s.blank(o, QUICK_LAUNCH_AREA), "the quick-launch box is shown before Windows 10")
        button_agreed = s.pixel(o, PUBLISH_BUTTON)
        s.click(o, AGREEMENT_BOX)
        greyed = wait_for(lambda: s.pixel(o, PUBLISH_BUTTON) != button_agreed, 5)
        s.shoot("03-custom-not-agreed", o)
        check(greyed, "clearing the agreement box greys the install button")
        s.click(o, PUBLISH_BUTTON)
        # The box's click comes after the button's: once the button looks enabled again,
        # the window has handled the click on the disabled button too.
        s.click(o, AGREEMENT_BOX)
        enabled = wait_for(lambda: s.pixel(o, PUBLISH_BUTTON) == button_agreed, 5)
        time.sleep(PAGE_CHANGE_TIME)
        check(not s.on_band_page(o) and s.message_box(0) is None, "a disabled install button does nothing")
        check(enabled, "checking the agreement box enables it again")

        for folder, what, shot in (("Games", "a relative folder", "04-invalid-folder"), ("C:\\", "a drive root", None)):
            s.click(o, PATH_BOX)
            s.clear_field()
            s.type(folder)
            s.click(o, PUBLISH_BUTTON)
            box = s.message_box()
            check(box is not None, what + " gives the folder message")
            if shot:
                s.shoot(shot)
            s.dismiss(box)
            check(not s.on_band_page(o), "the custom page stays after the folder message for " + what)

        s.click(o, PATH_BOX)
        s.clear_field()
        s.type(target)
        s.click(o, PUBLISH_BUTTON)
        # Only played, not proven drawn: the pointer must stay put for the finish page's
        # change, which may already be on its way.
        await_state(lambda: s.played(1), 10, "the install button slides to the progress page")
        s.shoot("05-progress", o)
        installed = wait_for(lambda: os.path.exists(os.path.join(target_unix, "unins000.exe")), 30)
        check(installed, "the install goes to the folder typed into the path box")
        # The finish page comes after the uninstall entry and the report.
        require(s.page_shown(o, 2), "the finish page slides in")
        s.shoot("06-finish", o)
        check(os.path.exists(os.path.join(target_unix, "data", "readme.txt")), "the product's files are installed")
        check(self.registry_has_product(), "the uninstall entry is written")
        check(self.uninstall_string() == "C:\\kestro-gui\\Games\\Kestro\\unins000.exe",
              "the uninstall entry names the folder with backslashes only")
        sets = self.stats("set")
        if sets is not None:
            check(any(r.get("op") == 1 for r in sets), "the install is reported with op 1")

        marker = os.path.join(target_unix, "KestroGC.exe.args")
        s.click(o, PUBLISH_BUTTON)
        check(self.ended(process) == 0, "the finish button closes the installer (exit code 0)")
        check(wait_for(lambda: os.path.exists(marker), 10), "the finish button starts the launcher")
        return target_unix

    def fail_and_retry(self, package):
        s = self.screen
        self.remove_product_registry()
        process = self.start(package)
        _, x, y = s.main_window()
        o = (x, y)
        s.click(o, PUBLISH_BUTTON)
        box = s.message_box(20)
        check(box is not None, "a damaged package shows its error message")
        # The message box holds the window's input, so the change is only seen played.
        await_state(lambda: s.played(1), 10, "the progress page slides in behind the message")
        s.shoot("07-install-failed")
        s.dismiss(box)
        slid = s.page_shown(o)
        s.shoot("08-retry", o)
        check(slid and s.on_band_page(o), "the failed install reaches the retry page")
        s.click(o, PUBLISH_BUTTON)
        slid = s.page_shown(o)
        s.shoot("09-retry-to-install", o)
        check(slid and s.on_band_page(o), "the retry button returns to the install page")
        s.click(o, CUSTOM_LINK)
        check(s.page_shown(o) and not s.on_band_page(o),
              "the page after retry is the install page (its custom link works)")
        s.click(o, CLOSE_BUTTON)
        check(self.ended(process) == 0, "the close button ends the installer")

    def update_mode(self, package):
        s = self.screen
        process = self.start(package, "/update")
        _, x, y = s.main_window()
        o = (x, y)
        s.shoot("10-update", o)
        s.click(o, CUSTOM_LINK)
        s.drawn(o)
        time.sleep(PAGE_CHANGE_TIME)
        check(s.on_band_page(o), "/update has no custom link to click")
        s.click(o, CLOSE_BUTTON)
        check(self.ended(process) == 0, "the close button ends the update")

    def windows_10(self, package):
        s = self.screen
        key = WIN10_KEY % os.path.basename(package)
        run("wine", "reg", "add", key, "/v", "Version", "/d", "win10", "/f")
        try:
            process = self.start(package)
            _, x, y = s.main_window()
            o = (x, y)
            s.click(o, CUSTOM_LINK)
            require(s.page_shown(o), "the custom link slides to the custom page")
            s.shoot("02b-custom-windows-10", o)
            check(s.blank(o, QUICK_LAUNCH_AREA), "Windows 10 hides the quick-launch box")
            s.click(o, CLOSE_BUTTON)
            check(self.ended(process) == 0, "the close button ends the installer")
        finally:
            run("wine", "reg", "delete", key, "/f")

    def uninstall(self, installed):
        s = self.screen
        starter = self.start(os.path.join(installed, "unins000.exe"))
        check(self.ended(starter, 20) == 0, "the installed uninstaller starts its copy and ends")
        window, x, y = s.main_window()
        o = (x, y)
        copy = s.window_process(window)
        s.shoot("11-reason", o)
        s.click(o, REASON_BOXES[1])
        s.click(o, REASON_BOXES[3])
        s.click(o, FREE_TEXT)
        s.type("too slow")
        s.click(o, (FREE_TEXT[0], FREE_TEXT[1] - 60))
        s.drawn(o)
        s.shoot("12-reason-filled", o)
        sets, feedback = len(self.stats("set") or []), len(self.stats("fb") or [])
        # A double click: the uninstall, which pumps messages while it waits, must run once.
        s.double_click(o, UNINSTALL_BUTTON)
        # The uninstall runs on the window's thread, which then draws a page change's steps
        # only between its own: neither the pointer's nudge nor a lit button says the page
        # is drawn, its picture does. A quick uninstall may be on the done page already.
        await_state(lambda: s.track_in_place(o) or s.button_in_place(o), 10,
                    "the uninstall button slides to the progress page")
        s.shoot("13-uninstall-progress", o)
        gone = wait_for(lambda: not os.path.exists(os.path.join(installed, "unins000.exe")), 30)
        check(gone, "the uninstall removes the installed files")
        # The done page comes after the registry is cleaned and the reports are sent.
        await_state(lambda: s.button_in_place(o), 10, "the done page slides in")
        s.shoot("14-done", o)
        check(not self.registry_has_product(), "the uninstall entry is removed")
        s.click(o, PUBLISH_BUTTON)
        check(wait_for(lambda: not s.windows("^KestroSetup$"), 10), "the done button closes the uninstaller")
        # Counted once the uninstaller has ended: no report of a second run can come later.
        await_state(lambda: self.gone(copy), 15, "the uninstaller ends after its window")
        if self.stats("fb") is not None:
            reasons = wait_for(lambda: self.new_stats("fb", feedback), 5)
            check(reasons and reasons[0].get("check") == [2, 4] and reasons[0].get("feedback") == ["too slow"],
                  "the reasons reach the stats-server")
            print("feedback:", json.dumps(self.stats("fb")[-1], ensure_ascii=False))
            check(len(self.new_stats("fb", feedback)) == 1, "a double click on the uninstall button sends one feedback")
            ops = [r.get("op") for r in self.new_stats("set", sets)]
            check(ops == [2], "a double click on the uninstall button reports one uninstall (op 2): %s" % ops)

    def install_over_with_a_double_click(self, package, installed):
        """A double click on "安 装" over an installed product: one install, reported as op 3."""
        s = self.screen
        sets = len(self.stats("set") or [])
        uninstaller = os.path.join(installed, "unins000.exe")
        written = os.path.getmtime(uninstaller)
        process = self.start(package)
        _, x, y = s.main_window()
        o = (x, y)
        s.double_click(o, PUBLISH_BUTTON)
        await_state(lambda: s.played(1), 10, "the install button slides to the progress page")
        s.shoot("05b-progress-double-click", o)
        rewritten = lambda: os.path.exists(uninstaller) and os.path.getmtime(uninstaller) != written
        check(wait_for(rewritten, 30), "the install over the older one ends")
        slid = s.page_shown(o, 2)
        s.shoot("06b-finish-double-click", o)
        check(slid and s.on_band_page(o), "the install over the older one reaches the finish page")
        s.click(o, CLOSE_BUTTON)
        check(self.ended(process) == 0, "the close button ends the installer on the finish page")
        # Counted once the installer has ended: no report of a second install can come later.
        if self.stats("set") is not None:
            ops = [(r.get("op"), r.get("e", 0)) for r in self.new_stats("set", sets)]
            check(ops == [(3, 0)], "a double click installs once, over the older one (op 3): %s" % ops)

    def close_during_install(self, package):
        """The close button while the files are extracted: the install stops, rolls back
        and reports its failure; nothing of it stays, and the process ends at once."""
        s = self.screen
        self.remove_product_registry()
        base = "C:\\kestro-gui\\closed"
        base_unix = os.path.join(os.environ["WINEPREFIX"], "drive_c", "kestro-gui", "closed")
        shutil.rmtree(base_unix, ignore_errors=True)
        target_unix = os.path.join(base_unix, "Tarnwell", "KestroGC")
        archives = self.temp_archives()
        sets = len(self.stats("set") or [])

        def files_below(folder):
            return sum(len(files) for _, _, files in os.walk(folder))

        process = self.start(package, "/D", base)
        _, x, y = s.main_window()
        o = (x, y)
        s.click(o, PUBLISH_BUTTON)
        check(wait_for(lambda: files_below(target_unix) >= 50, 60, step=0.02), "the extraction has begun")
        # No screenshot here: it takes about as long as the extraction has left.
        check(files_below(target_unix) < MANY_FILES // 2, "the close comes while the files are still extracted")
        s.click(o, CLOSE_BUTTON)
        check(self.ended(process, 15) == 0, "the close button ends the installer promptly (exit code 0)")
        s.shoot("16-closed-during-install")
        check(files_below(base_unix) == 0, "nothing the stopped install wrote is left")
        check(not self.registry_has_product(), "the stopped install writes no uninstall entry")
        check(self.temp_archives() == archives, "the stopped install leaves no temporary archive")
        if self.stats("set") is not None:
            ops = [(r.get("op"), r.get("e", 0)) for r in self.new_stats("set", sets)]
            check(ops == [(1, 8)], "the stopped install is reported as a failed install (e 8): %s" % ops)

    def install_with_defaults(self, package):
        """The user's way: a look at the custom page, back, install, start the game centre."""
        s = self.screen
        process = self.start(package)
        _, x, y = s.main_window()
        o = (x, y)
        s.shoot("01-install", o)
        s.click(o, CUSTOM_LINK)
        require(s.page_shown(o), "the custom link slides to the custom page")
        s.shoot("02-custom", o)
        s.click(o, BACK_LINK)
        check(s.page_shown(o) and s.on_band_page(o), "the back link returns to the install page")
        s.click(o, PUBLISH_BUTTON)
        await_state(lambda: s.played(1), 10, "the install button slides to the progress page")
        s.shoot("05-progress", o)
        check(wait_for(self.installed_folder, 60) is not None, "the demo product is installed")
        require(s.page_shown(o, 2), "the finish page slides in")
        s.shoot("06-finish", o)
        s.click(o, PUBLISH_BUTTON)
        check(self.ended(process) == 0, "the finish button closes the installer")
        await_state(lambda: s.pixel((0, 0), GAME_CENTRE_PROBE) == GAME_CENTRE_BACKGROUND, 30,
                    "the game centre shows its window")
        s.shoot("15-game-centre")
        return self.installed_folder()

    def demo(self, package, damaged):
        self.remove_product_registry()
        # Pages of the uninstaller first, so the product stays installed at the end.
        check(run("wine", package, "/q", timeout=120).returncode == 0, "a quiet install of the demo product")
        self.uninstall(self.installed_folder())
        self.fail_and_retry(damaged)
        self.update_mode(package)
        folder = self.install_with_defaults(package)
        print("installed in", folder)

    def run(self):
        self.remove_product_registry()
        good = self.pack("KestroSetup.exe", UNINSTRUN_RECORD)
        damaged = self.pack("damaged.exe", SHIPPED_RECORD, damage=True)
        many = self.pack("many.exe", SHIPPED_RECORD, many=MANY_FILES)
        installed = self.install_through_the_custom_page(good)
        self.install_over_with_a_double_click(good, installed)
        self.fail_and_retry(damaged)
        self.update_mode(good)
        self.windows_10(good)
        self.uninstall(installed)
        self.close_during_install(many)

    def stop_all(self):
        for process in self.processes:
            if process.poll() is None:
                process.kill()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--stats-log", default="")
    parser.add_argument("--demo", nargs=2, metavar=("PACKAGE", "DAMAGED"))
    args = parser.parse_args()
    os.makedirs(args.artifacts, exist_ok=True)
    driver = Driver(args)
    try:
        if args.demo:
            driver.demo(*args.demo)
        else:
            driver.run()
    except (Failure, subprocess.TimeoutExpired) as failure:
        print("FAILED:", failure, flush=True)
        driver.screen.shoot("failure")
        run("wine", "taskkill", "/f", "/im", "KestroSetup.exe")
        run("wine", "taskkill", "/f", "/im", "unins000.exe")
        driver.stop_all()
        return 1
    print("screenshots in", args.artifacts)
    return 0


if __name__ == "__main__":
    sys.exit(main())
