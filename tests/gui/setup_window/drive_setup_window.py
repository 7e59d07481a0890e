#!/usr/bin/env python3
"""KestroSetup.exe driven as a user drives it: real mouse clicks and key presses at the
controls' places (xdotool), screenshots of every page, and the outcome checked on the
disk, in the registry, at the local stats-server and in the programs' exit codes.

Run by run-setup-window.sh (tests) or scripts/demo.sh (--demo PACKAGE DAMAGED: the
demo's own installer, installed to its default folder and left with the game centre
running), which provide the Wine environment, the stats-server and a compositor. Every
wait is bounded; the first failed check ends the run with status 1.
"""
import argparse
import json
import os
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


def wait_for(predicate, timeout, step=0.1):
    end = time.time() + timeout
    while time.time() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


class Screen:
    def __init__(self, artifacts, work):
        self.artifacts = artifacts
        self.grab = os.path.join(work, "grab.png")

    def windows(self, name):
        out = run("xdotool", "search", "--onlyvisible", "--name", name).stdout.decode().split()
        return [w for w in out if w]

    def geometry(self, window):
        out = run("xdotool", "getwindowgeometry", "--shell", window).stdout.decode()
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def main_window(self, timeout=20):
        def find():
            for w in self.windows("^KestroSetup$"):
                x, y, width, height = self.geometry(w)
                if (width, height) == (WINDOW_W, WINDOW_H):
                    return w, x, y
            return None
        found = wait_for(find, timeout)
        if not found:
            raise Failure("the installer window appears")
        return found

    def click(self, origin, place):
        run("xdotool", "mousemove", str(origin[0] + place[0]), str(origin[1] + place[1]), "click", "1")
        time.sleep(0.3)

    def double_click(self, origin, place):
        """Two clicks as quick as a user's double click."""
        run("xdotool", "mousemove", str(origin[0] + place[0]), str(origin[1] + place[1]),
            "click", "--repeat", "2", "--delay", "80", "1")
        time.sleep(0.3)

    def keys(self, *keys):
        run("xdotool", "key", *keys)
        time.sleep(0.1)

    def clear_field(self):
        run("xdotool", "key", "End")
        run("xdotool", "key", "--repeat", "80", "--delay", "5", "BackSpace")
        time.sleep(0.2)

    def type(self, text):
        run("xdotool", "type", "--delay", "30", text)
        time.sleep(0.2)

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
        run("import", "-window", "root", self.grab)
        out = run("convert", self.grab, "-format",
                  "%%[fx:int(255*p{%d,%d}.r)],%%[fx:int(255*p{%d,%d}.g)],%%[fx:int(255*p{%d,%d}.b)]" % (
                      (origin[0] + place[0], origin[1] + place[1]) * 3), "info:").stdout.decode()
        return tuple(int(v) for v in out.strip().split(","))

    def blank(self, origin, area):
        """Whether the area (x, y, width, height) of the window is plain white."""
        run("import", "-window", "root", self.grab)
        crop = "%dx%d+%d+%d" % (area[2], area[3], origin[0] + area[0], origin[1] + area[1])
        out = run("convert", self.grab, "-crop", crop, "+repage", "-format", "%[fx:minima]", "info:").stdout
        return float(out.decode().strip() or 0) >= 0.99

    def on_band_page(self, origin):
        r, g, b = self.pixel(origin, BAND_PROBE)
        return b > 150 and r < 140

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
        run("xdotool", "mousemove", str(x + width // 2), str(y + height // 2))
        self.keys("Return")
        if wait_for(lambda: box not in self.windows("."), 3):
            return
        # Fall back to the button: bottom right of a box without a window manager.
        run("xdotool", "mousemove", str(x + width - 50), str(y + height - 22), "click", "1")
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
        time.sleep(0.5)
        s.shoot("01-install", o)
        check(s.on_band_page(o), "the install page is shown first")

        s.click(o, CUSTOM_LINK)
        time.sleep(0.4)
        s.shoot("02-custom", o)
        check(not s.on_band_page(o), "the custom link slides to the custom page")

        check(not s.blank(o, QUICK_LAUNCH_AREA), "the quick-launch box is shown before Windows 10")
        button_agreed = s.pixel(o, PUBLISH_BUTTON)
        s.click(o, AGREEMENT_BOX)
        s.shoot("03-custom-not-agreed", o)
        check(s.pixel(o, PUBLISH_BUTTON) != button_agreed, "clearing the agreement box greys the install button")
        s.click(o, PUBLISH_BUTTON)
        time.sleep(0.5)
        check(not s.on_band_page(o) and s.message_box(1) is None, "a disabled install button does nothing")
        s.click(o, AGREEMENT_BOX)
        check(s.pixel(o, PUBLISH_BUTTON) == button_agreed, "checking the agreement box enables it again")

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
        time.sleep(0.3)
        s.shoot("05-progress", o)
        installed = wait_for(lambda: os.path.exists(os.path.join(target_unix, "unins000.exe")), 30)
        check(installed, "the install goes to the folder typed into the path box")
        time.sleep(1.5)
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
        time.sleep(0.5)
        s.click(o, PUBLISH_BUTTON)
        box = s.message_box(20)
        check(box is not None, "a damaged package shows its error message")
        s.shoot("07-install-failed")
        s.dismiss(box)
        time.sleep(0.8)
        s.shoot("08-retry", o)
        check(s.on_band_page(o), "the failed install reaches the retry page")
        s.click(o, PUBLISH_BUTTON)
        time.sleep(0.8)
        s.shoot("09-retry-to-install", o)
        check(s.on_band_page(o), "the retry button returns to the install page")
        s.click(o, CUSTOM_LINK)
        time.sleep(0.5)
        check(not s.on_band_page(o), "the page after retry is the install page (its custom link works)")
        s.click(o, CLOSE_BUTTON)
        check(self.ended(process) == 0, "the close button ends the installer")

    def update_mode(self, package):
        s = self.screen
        process = self.start(package, "/update")
        _, x, y = s.main_window()
        o = (x, y)
        time.sleep(0.5)
        s.shoot("10-update", o)
        s.click(o, CUSTOM_LINK)
        time.sleep(0.5)
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
            time.sleep(0.5)
            s.click(o, CUSTOM_LINK)
            time.sleep(0.4)
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
        _, x, y = s.main_window()
        o = (x, y)
        time.sleep(0.5)
        s.shoot("11-reason", o)
        s.click(o, REASON_BOXES[1])
        s.click(o, REASON_BOXES[3])
        s.click(o, FREE_TEXT)
        s.type("too slow")
        s.click(o, (FREE_TEXT[0], FREE_TEXT[1] - 60))
        s.shoot("12-reason-filled", o)
        sets, feedback = len(self.stats("set") or []), len(self.stats("fb") or [])
        # A double click: the uninstall, which pumps messages while it waits, must run once.
        s.double_click(o, UNINSTALL_BUTTON)
        s.shoot("13-uninstall-progress", o)
        gone = wait_for(lambda: not os.path.exists(os.path.join(installed, "unins000.exe")), 30)
        check(gone, "the uninstall removes the installed files")
        time.sleep(1.5)
        s.shoot("14-done", o)
        check(not self.registry_has_product(), "the uninstall entry is removed")
        if self.stats("fb") is not None:
            check(wait_for(lambda: self.new_stats("fb", feedback), 5), "the reasons reach the stats-server")
            time.sleep(1)
            print("feedback:", json.dumps(self.stats("fb")[-1], ensure_ascii=False))
            check(len(self.new_stats("fb", feedback)) == 1, "a double click on the uninstall button sends one feedback")
            ops = [r.get("op") for r in self.new_stats("set", sets)]
            check(ops == [2], "a double click on the uninstall button reports one uninstall (op 2): %s" % ops)
        s.click(o, PUBLISH_BUTTON)
        check(wait_for(lambda: not s.windows("^KestroSetup$"), 10), "the done button closes the uninstaller")

    def install_over_with_a_double_click(self, package, installed):
        """A double click on "安 装" over an installed product: one install, reported as op 3."""
        s = self.screen
        sets = len(self.stats("set") or [])
        uninstaller = os.path.join(installed, "unins000.exe")
        written = os.path.getmtime(uninstaller)
        process = self.start(package)
        _, x, y = s.main_window()
        o = (x, y)
        time.sleep(0.5)
        s.double_click(o, PUBLISH_BUTTON)
        s.shoot("05b-progress-double-click", o)
        rewritten = lambda: os.path.exists(uninstaller) and os.path.getmtime(uninstaller) != written
        check(wait_for(rewritten, 30), "the install over the older one ends")
        time.sleep(1.5)
        s.shoot("06b-finish-double-click", o)
        check(s.on_band_page(o), "the install over the older one reaches the finish page")
        if self.stats("set") is not None:
            ops = [(r.get("op"), r.get("e", 0)) for r in self.new_stats("set", sets)]
            check(ops == [(3, 0)], "a double click installs once, over the older one (op 3): %s" % ops)
        s.click(o, CLOSE_BUTTON)
        check(self.ended(process) == 0, "the close button ends the installer on the finish page")

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
        time.sleep(0.5)
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
        time.sleep(0.5)
        s.shoot("01-install", o)
        s.click(o, CUSTOM_LINK)
        time.sleep(0.4)
        s.shoot("02-custom", o)
        s.click(o, BACK_LINK)
        time.sleep(0.4)
        check(s.on_band_page(o), "the back link returns to the install page")
        s.click(o, PUBLISH_BUTTON)
        time.sleep(0.3)
        s.shoot("05-progress", o)
        check(wait_for(self.installed_folder, 60) is not None, "the demo product is installed")
        time.sleep(1.5)
        s.shoot("06-finish", o)
        s.click(o, PUBLISH_BUTTON)
        check(self.ended(process) == 0, "the finish button closes the installer")
        time.sleep(4)
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
