#!/usr/bin/env python3
"""The shipped installer's quiet install timed from outside, as a user's machine runs it.

    setup_bench.py --build build/win32 --pack build/native/bin/kestro-pack --rounds 12 [--only startup|install]
                   [--also LABEL=KestroSetup.exe ...] [--products bench,realistic] [--peers miniunz,unzip,bsdtar]
                   [--media disk,tmpfs] [--write-archives DIR]

Start-up: `KestroSetup.exe /q` with a one-file package against a Windows program that
returns at once (Wine's own cost per process), with and without an X display.

Install: for two products, the bench product (300 files, 60 MB, a third compressible text,
the rest incompressible) and a realistic one (program files: the 32-bit DLLs of the Wine
prefix, which compress about 3 : 1), each round runs, in an order that rotates from round to
round: the quiet install of the package, minizip's miniunz inside Wine on the same archive,
and on the host Info-ZIP unzip and bsdtar (the floor), all into empty folders, first on the
disk and then on a tmpfs (both the package and the targets there). `--also` adds the same
product packed around another build of the installer (another branch's, say) to every
round, with its ratio to this build's install. Nothing is timed while
the outputs of the last run are removed and written back (`sync`). Times are whole
processes from start to exit; peak memory is the process's largest resident size
(ru_maxrss, through /usr/bin/time). Prints each run, then medians and the medians of the per-round ratios.
"""
import argparse
import os
import random
import shutil
import statistics
import struct
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
RECORD = ('{"channel":30001,"lastrun":"KestroGC.exe","mode":1,"shortcut":{"desktop":[{"file":"KestroGC.exe",'
          '"name":"Kestro 模拟器"}],"taskbar":[{"file":"KestroGC.exe","name":"Kestro 模拟器"}]},"theme":"default"}')
TMPFS_DRIVE = "s:"


def run_timed(command, env, cwd=None):
    """(seconds, peak resident KB, exit code) of one whole process. The peak comes from
    /usr/bin/time, whose own process is small: a child forked from this one would count
    the bench's memory until it starts the command."""
    devnull = subprocess.DEVNULL
    with tempfile.NamedTemporaryFile("r", suffix=".peak") as peak:
        start = time.perf_counter()
        code = subprocess.call(["/usr/bin/time", "-f", "%M", "-o", peak.name] + command, env=env, cwd=cwd,
                               stdin=devnull, stdout=devnull, stderr=devnull)
        seconds = time.perf_counter() - start
        lines = peak.read().split()
    return seconds, int(lines[-1]) if lines else 0, code


def bench_product(folder):
    """The bench product: 300 files in 24 folders, every third 120 KB of text, the rest 290 KB of noise."""
    line = b"Kestro game centre resource line, compressible text 0123456789 abcdefghij\n"
    for i in range(300):
        sub = os.path.join(folder, "pack%d" % (i % 6), "level%d" % (i % 4))
        os.makedirs(sub, exist_ok=True)
        if i % 3 == 0:
            text = bytearray()
            while len(text) < 120000:
                text += line + str(i * 7919 + len(text)).encode() + b"\n"
            name, data = "text%d.txt" % i, bytes(text)
        else:
            name, data = "data%d.bin" % i, random.Random(i + 1).randbytes(290000)
        with open(os.path.join(sub, name), "wb") as f:
            f.write(data)
    shutil.copy(os.path.join(folder, "pack0", "level0", "text0.txt"), os.path.join(folder, "KestroGC.exe"))


def realistic_product(folder, prefix, limit=60_000_000):
    """Program files: every second DLL of the prefix's 32-bit system folder, by name, up to `limit` bytes."""
    system = os.path.join(prefix, "drive_c", "windows", "syswow64")
    if not os.path.isdir(system):
        system = os.path.join(prefix, "drive_c", "windows", "system32")
    names = sorted(n for n in os.listdir(system) if n.lower().endswith(".dll")
                   and os.path.isfile(os.path.join(system, n)) and not os.path.islink(os.path.join(system, n)))
    total = 0
    for index, name in enumerate(names[::2]):
        size = os.path.getsize(os.path.join(system, name))
        if size > 8_000_000:
            continue
        sub = os.path.join(folder, "bin" if index % 3 else "lib", "part%d" % (index % 5))
        os.makedirs(sub, exist_ok=True)
        shutil.copy(os.path.join(system, name), os.path.join(sub, name))
        total += size
        if total >= limit:
            break
    shutil.copy(os.path.join(system, names[0]), os.path.join(folder, "KestroGC.exe"))


def archive_of(installer):
    """The ZIP archive inside a package: after the offset field's payload, the record and its length."""
    data = open(installer, "rb").read()
    lfanew = struct.unpack_from("<I", data, 60)[0]
    offset = struct.unpack_from("<I", data, lfanew - 4)[0]
    record = struct.unpack_from("<I", data, offset)[0]
    length = struct.unpack_from("<I", data, offset + 4 + record)[0]
    return data[offset + 8 + record: offset + 8 + record + length]


def pack(pack_tool, program, product, out, work):
    record = os.path.join(work, "record.json")
    with open(record, "w", encoding="utf-8") as f:
        f.write(RECORD)
    subprocess.run([pack_tool, "build", "--program", program, "--config", record, "--product", product, "-o", out],
                   check=True, stdout=subprocess.DEVNULL)


def count_files(folder):
    return sum(len(files) for _, _, files in os.walk(folder))


def median(values):
    return statistics.median(values) if values else float("nan")


class Bench:
    def __init__(self, args):
        self.build = os.path.abspath(args.build)
        self.rounds = args.rounds
        self.pack_tool = args.pack
        self.also = [tuple(item.split("=", 1)) for item in args.also]
        self.product_names = args.products.split(",")
        self.peers = args.peers.split(",")
        self.media = args.media.split(",")
        root = os.path.join(self.build, "wine")
        self.prefix = os.path.join(root, "prefix")
        self.env = dict(os.environ, WINEPREFIX=self.prefix, HOME=os.path.join(root, "home"), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d", LC_ALL="zh_CN.UTF-8")
        self.env.pop("WINEARCH", None)
        display = os.path.join(root, "display")
        if os.path.exists(display):
            self.env["DISPLAY"] = open(display).read().strip()
        self.headless = dict(self.env)
        self.headless.pop("DISPLAY", None)
        self.bin = os.path.join(self.build, "bin")
        self.disk = os.path.join(self.prefix, "drive_c", "kestro-setup-bench")
        self.tmpfs = "/dev/shm/kestro-setup-bench-%d" % os.getpid()
        self.drive_link = os.path.join(self.prefix, "dosdevices", TMPFS_DRIVE)

    def windows_path(self, host_path):
        if host_path.startswith(self.tmpfs):
            return "S:" + host_path[len(self.tmpfs):].replace("/", "\\")
        return "C:" + host_path[len(os.path.join(self.prefix, "drive_c")):].replace("/", "\\")

    def wine(self, program, *arguments, env=None):
        return run_timed(["wine", program] + list(arguments), env or self.env)

    def setup(self):
        for folder in (self.disk, self.tmpfs):
            shutil.rmtree(folder, ignore_errors=True)
            os.makedirs(folder)
        if os.path.lexists(self.drive_link):
            os.remove(self.drive_link)
        os.symlink(self.tmpfs, self.drive_link)
        work = os.path.join(self.tmpfs, "work")
        os.makedirs(work)
        program = os.path.join(self.bin, "ship", "KestroSetup.exe")
        self.products = {}
        makers = {"bench": bench_product, "realistic": lambda f: realistic_product(f, self.prefix)}
        for name in self.product_names:
            product = os.path.join(work, name)
            os.makedirs(product)
            makers[name](product)
            installer = os.path.join(work, name + "-setup.exe")
            pack(self.pack_tool, program, product, installer, work)
            others = {}
            for label, other in self.also:
                others[label] = os.path.join(work, "%s-%s-setup.exe" % (name, label))
                pack(self.pack_tool, other, product, others[label], work)
            archive = archive_of(installer)
            files = count_files(product)
            size = sum(os.path.getsize(os.path.join(d, f)) for d, _, fs in os.walk(product) for f in fs)
            self.products[name] = (installer, archive, files, size, others)
            shutil.rmtree(product)
        one = os.path.join(work, "one")
        os.makedirs(one)
        with open(os.path.join(one, "KestroGC.exe"), "wb") as f:
            f.write(b"one file")
        self.one_file = {"setup": os.path.join(self.disk, "one-setup.exe")}
        pack(self.pack_tool, program, one, self.one_file["setup"], work)
        for label, other in self.also:
            self.one_file[label] = os.path.join(self.disk, "one-%s-setup.exe" % label)
            pack(self.pack_tool, other, one, self.one_file[label], work)

    def teardown(self):
        if os.path.lexists(self.drive_link):
            os.remove(self.drive_link)
        shutil.rmtree(self.tmpfs, ignore_errors=True)
        shutil.rmtree(self.disk, ignore_errors=True)

    def startup(self):
        peer = os.path.join(self.bin, "launcher_bench_peer.exe")
        target = os.path.join(self.disk, "one")
        for label, env in (("with an X display", self.env), ("without a display", self.headless)):
            if env is self.env and "DISPLAY" not in env:
                continue
            names = list(self.one_file) + ["peer"]
            runs = {name: [] for name in names}
            ratios = {name: [] for name in names if name != "setup"}
            for round_ in range(self.rounds):
                order = names[round_ % len(names):] + names[:round_ % len(names)]
                times = {}
                for name in order:
                    shutil.rmtree(target, ignore_errors=True)
                    subprocess.run(["sync"])
                    if name == "peer":
                        seconds, _, _ = self.wine(peer, env=env)
                    else:
                        seconds, _, code = self.wine(self.one_file[name], "/q", "/D", self.windows_path(target),
                                                     env=env)
                        if code != 0:
                            print("  one-file install (%s) ended with %d" % (name, code))
                    times[name] = seconds
                    runs[name].append(seconds)
                for name in ratios:
                    ratios[name].append(times["setup"] / times[name])
            print("start-up %s, %d rounds, one-file quiet install: %s; median ratios of this build's: %s" % (
                label, self.rounds, ", ".join("%s %.3f s" % (n, median(runs[n])) for n in names),
                ", ".join("to %s %.2f (%.2f-%.2f)" % (n, median(r), min(r), max(r)) for n, r in ratios.items())))
            sys.stdout.flush()

    def install(self):
        miniunz = os.path.join(self.bin, "miniunz.exe")
        for product, (installer_bytes, archive_bytes, files, size, others) in self.products.items():
            for medium, base in (m for m in (("disk", self.disk), ("tmpfs", self.tmpfs)) if m[0] in self.media):
                folder = os.path.join(base, product)
                os.makedirs(folder, exist_ok=True)
                installer = os.path.join(folder, "setup.exe")
                archive = os.path.join(folder, "product.zip")
                shutil.copy(installer_bytes, installer)
                with open(archive, "wb") as f:
                    f.write(archive_bytes)
                package = os.path.getsize(installer)
                outputs = {name: os.path.join(folder, name) for name in ("install", "miniunz", "unzip", "bsdtar")}
                commands = {
                    "install": lambda: self.wine(installer, "/q", "/D", self.windows_path(outputs["install"])),
                }
                for label, other in others.items():
                    copy = os.path.join(folder, label + "-setup.exe")
                    shutil.copy(other, copy)
                    outputs[label] = os.path.join(folder, label)
                    commands[label] = (lambda c, o: lambda: self.wine(c, "/q", "/D", self.windows_path(o)))(
                        copy, outputs[label])
                commands.update({
                    "miniunz": lambda: self.wine(miniunz, "-x", "-o", self.windows_path(archive), "-d",
                                                 self.windows_path(outputs["miniunz"])),
                    "unzip": lambda: run_timed(["unzip", "-q", "-o", archive, "-d", outputs["unzip"]], self.env),
                    "bsdtar": lambda: run_timed(["bsdtar", "-xf", archive, "-C", outputs["bsdtar"]], self.env),
                })
                installs = ["install"] + list(others)
                for peer in ("miniunz", "unzip", "bsdtar"):
                    if peer not in self.peers:
                        del commands[peer]
                names = list(commands)
                seconds = {n: [] for n in names}
                peaks = []
                ratios = {n: [] for n in names if n != "install"}
                print("%s product on %s: package %.1f MB, archive %.1f MB, %d files, %.1f MB unpacked (%.2f : 1)" % (
                    product, medium, package / 1e6, len(archive_bytes) / 1e6, files, size / 1e6,
                    size / len(archive_bytes)))
                for round_ in range(self.rounds):
                    order = names[round_ % len(names):] + names[:round_ % len(names)]
                    times = {}
                    for name in order:
                        # An installation left by another build's run would be removed first
                        # (its uninstaller is where the registry says): none is left.
                        for other in installs:
                            shutil.rmtree(outputs[other], ignore_errors=True)
                        shutil.rmtree(outputs[name], ignore_errors=True)
                        os.makedirs(outputs[name])
                        subprocess.run(["sync"])
                        elapsed, peak, code = commands[name]()
                        installed = os.path.join(outputs[name], "Tarnwell", "KestroGC") if name in installs \
                            else outputs[name]
                        got = count_files(installed) - (1 if name in installs else 0)
                        if code != 0 or got != files:
                            print("  %s: exit code %d, %d of %d files" % (name, code, got, files))
                        times[name] = elapsed
                        seconds[name].append(elapsed)
                        if name == "install":
                            peaks.append(peak * 1024)
                    for name in ratios:
                        ratios[name].append(times["install"] / times[name])
                    print("  round %2d (%s): %s" % (round_ + 1, " ".join(order), ", ".join(
                        "%s %.3f s" % (n, times[n]) for n in names)))
                    sys.stdout.flush()
                for name in names:
                    shutil.rmtree(outputs[name], ignore_errors=True)
                print("  medians of %d: %s" % (self.rounds, ", ".join("%s %.3f s" % (n, median(seconds[n]))
                                                                      for n in names)))
                print("  install / peer, median of the per-round ratios: %s" % ", ".join(
                    "%s %.2f (%.2f-%.2f)" % (n, median(r), min(r), max(r)) for n, r in ratios.items()))
                print("  install peak resident: median %.1f MB, largest %.1f MB = %.2f x package" % (
                    median(peaks) / 1e6, max(peaks) / 1e6, max(peaks) / package))
                sys.stdout.flush()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "win32"))
    parser.add_argument("--pack", default=os.path.join(ROOT, "build", "native", "bin", "kestro-pack"))
    parser.add_argument("--rounds", type=int, default=12)
    parser.add_argument("--only", choices=["startup", "install"])
    parser.add_argument("--also", action="append", default=[], metavar="LABEL=PROGRAM")
    parser.add_argument("--products", default="bench,realistic")
    parser.add_argument("--peers", default="miniunz,unzip,bsdtar")
    parser.add_argument("--media", default="disk,tmpfs")
    parser.add_argument("--write-archives", metavar="DIR", help="only write each product's archive to DIR")
    args = parser.parse_args()
    bench = Bench(args)
    if args.write_archives:
        bench.setup()
        try:
            for name, product in bench.products.items():
                with open(os.path.join(args.write_archives, name + ".zip"), "wb") as f:
                    f.write(product[1])
        finally:
            bench.teardown()
        return
    print("load average before: %.2f %.2f %.2f" % os.getloadavg())
    bench.setup()
    try:
        if args.only != "install":
            bench.startup()
        if args.only != "startup":
            bench.install()
    finally:
        bench.teardown()
    print("load average after: %.2f %.2f %.2f" % os.getloadavg())


if __name__ == "__main__":
    main()
