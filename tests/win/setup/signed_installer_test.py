#!/usr/bin/env python3
"""A packed installer signed as a release is signed (osslsigncode, with a test
certificate that openssl makes here), judged by osslsigncode and read back by
kestro-pack, then installed, reinstalled and removed under Wine side by side with the
same installer unsigned: both must leave the same files, registry and reports. The
unins000.exe of the signed installer must read as a plain unsigned file without a
checksum, not as a damaged signed one, to osslsigncode and to objdump.

    signed_installer_test.py WINE-ROOT BIN RESULT.xml

Results go to RESULT.xml as GoogleTest writes them, one case per behaviour."""
import hashlib
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.normpath(os.path.join(HERE, "..", "..", ".."))
UNINSTALL_KEY = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\KestroGC"
PRODUCT_KEYS = [UNINSTALL_KEY, r"HKCU\SOFTWARE\Tarnwell\KestroGC", r"HKCR\gcapp"]
RECORD = {
    "channel": 30123, "lastrun": "KestroGC.exe", "mode": 1, "theme": "default",
    "shortcut": {"desktop": [{"file": "KestroGC.exe", "name": "Kestro 模拟器"}],
                 "taskbar": [{"file": "KestroGC.exe", "name": "Kestro 模拟器"}]},
}
# Where the shortcuts of the record land in the prefix.
LINK_FOLDERS = ["drive_c/users/Public/Desktop", "drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tarnwell"]
# The deployment script the README gives: quiet install and uninstall, waited for.
DEPLOY = os.path.join(REPO, "docs", "quiet-deploy.cmd")


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)


def wine_environment(root):
    """The environment every Wine call of the tests uses (scripts/wine-env.sh)."""
    out = subprocess.run(["bash", "-c", '. "$1" "$2" && env -0', "_", os.path.join(REPO, "scripts", "wine-env.sh"),
                          root], check=True, capture_output=True).stdout
    return dict(item.split("=", 1) for item in out.decode().split("\0") if "=" in item)


def win_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


class Machine:
    def __init__(self, root, bin_folder, work):
        self.env = wine_environment(root)
        self.prefix = self.env["WINEPREFIX"]
        self.bin = bin_folder
        self.work = work
        self.stats_log = None
        stats = os.path.join(os.environ.get("KESTRO_STATS_DIR", ""), "workers")
        if os.environ.get("KESTRO_STATS_DIR") and os.path.exists(os.path.join(stats, "port")):
            with open(os.path.join(stats, "port")) as f:
                self.env["KESTRO_STATS_SERVER"] = "127.0.0.1:" + f.read().strip()
            self.stats_log = os.path.join(stats, "requests.log")
        else:
            # Nothing listens there: reports fail at once instead of going to the maker.
            self.env["KESTRO_STATS_SERVER"] = "127.0.0.1:9"

    def run(self, *args, timeout=120):
        return subprocess.run(list(args), env=self.env, capture_output=True, timeout=timeout, stdin=subprocess.DEVNULL)

    def wine(self, program, *args, timeout=120):
        return self.run("wine", program, *args, timeout=timeout)

    def pack(self, *args):
        result = self.wine(os.path.join(self.bin, "kestro-pack.exe"), *args)
        check(result.returncode == 0, "kestro-pack %s: %s" % (args[0], result.stderr.decode(errors="replace")))
        return result.stdout.decode()

    def commands(self, name, lines):
        """Runs the lines as a batch file in one Wine process; what they printed."""
        script = os.path.join(self.work, name + ".cmd")
        with open(script, "w") as f:
            f.write("".join("@%s 2>&1\r\n" % line for line in lines))
        return self.wine("cmd", "/c", win_path(script)).stdout.decode(errors="replace").replace("\r", "")

    def registry(self):
        """What `reg query` says of each product key (its values, or that it is missing)."""
        return self.commands("query", ['reg query "%s" /s /reg:32' % key for key in PRODUCT_KEYS])

    def links(self):
        found = []
        for folder in LINK_FOLDERS:
            top = os.path.join(self.prefix, folder)
            for base, _, files in os.walk(top):
                found += [os.path.relpath(os.path.join(base, f), self.prefix) for f in files if f.endswith(".lnk")]
        return sorted(found)

    def reports(self):
        if not self.stats_log or not os.path.exists(self.stats_log):
            return []
        with open(self.stats_log) as f:
            lines = [json.loads(line) for line in f if line.strip()]
        return [(r.get("kind"), r.get("op"), r.get("c"), r.get("e")) for r in lines]


def tree(folder):
    """Every file below the folder by relative path, with a digest of its bytes."""
    files = {}
    for base, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(base, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, folder)] = hashlib.sha256(f.read()).hexdigest()
    return files


def pe_fields(machine, path):
    """CheckSum and the security directory entry as objdump reads them."""
    out = machine.run("i686-w64-mingw32-objdump", "-p", path).stdout.decode()
    checksum = re.search(r"^CheckSum\s+([0-9a-fA-F]+)", out, re.M)
    security = re.search(r"^Entry 4 ([0-9a-fA-F]+) ([0-9a-fA-F]+) Security Directory", out, re.M)
    check(checksum and security, "objdump cannot read the headers of " + path)
    return int(checksum.group(1), 16), int(security.group(1), 16), int(security.group(2), 16)


def verify(machine, path, ca):
    result = machine.run("osslsigncode", "verify", "-in", path, "-CAfile", ca)
    return result.returncode, (result.stdout + result.stderr).decode(errors="replace")


class Run:
    """One installer through install, reinstall and uninstall, with what each step left."""

    def __init__(self, machine, package, base):
        self.machine = machine
        self.package = package
        self.base = base
        self.installed = os.path.join(base, "Tarnwell", "KestroGC")
        self.steps = {}

    def snapshot(self, name, code):
        self.steps[name] = {"exit code": code, "files": tree(self.installed), "registry": self.machine.registry(),
                            "links": self.machine.links()}

    def deploy(self, *args):
        return self.machine.wine("cmd", "/c", win_path(DEPLOY), *args).returncode

    def go(self):
        m = self.machine
        check(not os.path.exists(self.installed), "left from an earlier run: " + self.installed)
        reports_before = len(m.reports())
        self.snapshot("install", self.deploy("install", win_path(self.package), win_path(self.base)))
        with open(os.path.join(self.installed, "unins000.exe"), "rb") as f:
            self.uninstaller = f.read()
        # No base folder: the target is the folder of the installation found in the registry.
        self.snapshot("reinstall", self.deploy("install", win_path(self.package)))
        self.snapshot("uninstall", self.deploy("uninstall", win_path(self.installed)))
        self.reports = m.reports()[reports_before:]


def main():
    root, bin_folder, results = sys.argv[1:4]
    cases = []

    def case(name, body):
        started = time.time()
        try:
            body()
            cases.append((name, time.time() - started, None))
        except Failure as failure:
            cases.append((name, time.time() - started, str(failure)))
        except Exception as error:  # a broken step fails its case, never the whole report
            cases.append((name, time.time() - started, "%s: %s" % (type(error).__name__, error)))

    work = tempfile.mkdtemp(prefix="kestro-signed.", dir=os.path.dirname(os.path.abspath(results)))
    state = {}
    try:
        machine = Machine(root, bin_folder, work)

        def prepare():
            # An earlier run that failed part way may have left the product registered.
            machine.commands("clean", ['reg delete "%s" /f /reg:32' % key for key in PRODUCT_KEYS])
            product = os.path.join(work, "product")
            os.makedirs(os.path.join(product, "data", "存档"))
            shutil.copy(os.path.join(bin_folder, "kestro_stub_program.exe"), os.path.join(product, "KestroGC.exe"))
            with open(os.path.join(product, "data", "存档", "进度.dat"), "w") as f:
                f.write("level=3\n")
            with open(os.path.join(product, "说明.txt"), "w") as f:
                f.write("Kestro 模拟器\n")
            with open(os.path.join(work, "record.json"), "w") as f:
                json.dump(RECORD, f, ensure_ascii=False)
            program = os.path.join(bin_folder, "ship", "KestroSetup.exe")
            if not os.path.exists(program):
                program = os.path.join(bin_folder, "KestroSetup.exe")
            state["unsigned"] = os.path.join(work, "KestroSetup.exe")
            machine.pack("build", "--program", win_path(program), "--config", win_path(os.path.join(work, "record.json")),
                         "--product", win_path(product), "-o", win_path(state["unsigned"]))
            # The test certificate: self-signed, for code signing, made for this run only.
            state["key"], state["cert"] = os.path.join(work, "key.pem"), os.path.join(work, "cert.pem")
            made = machine.run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", state["key"],
                               "-out", state["cert"], "-days", "2", "-subj", "/CN=Kestro test signing",
                               "-addext", "extendedKeyUsage=codeSigning")
            check(made.returncode == 0, "openssl: " + made.stderr.decode(errors="replace"))
            state["signed"] = os.path.join(work, "KestroSetup-signed.exe")
            signed = machine.run("osslsigncode", "sign", "-certs", state["cert"], "-key", state["key"], "-h", "sha256",
                                 "-n", "Kestro 模拟器", "-in", state["unsigned"], "-out", state["signed"])
            check(signed.returncode == 0, "osslsigncode sign: " + (signed.stdout + signed.stderr).decode())

        def signature_after_the_archive():
            code, said = verify(machine, state["signed"], state["cert"])
            check(code == 0 and "Signature verification: ok" in said, "osslsigncode rejects the signed installer:\n" + said)
            with open(state["unsigned"], "rb") as f:
                unsigned = f.read()
            with open(state["signed"], "rb") as f:
                signed = f.read()
            _, at, size = pe_fields(machine, state["signed"])
            check(at >= len(unsigned) and at + size == len(signed),
                  "the signature (%d bytes at %d) is not after the package's %d bytes" % (size, at, len(unsigned)))
            inspected = [json.loads(machine.pack("inspect", "--json", win_path(p))) for p in (state["unsigned"], state["signed"])]
            check(inspected[0] == inspected[1], "kestro-pack reads the signed installer differently:\n%s\n%s" % tuple(
                json.dumps(i, ensure_ascii=False) for i in inspected))
            check(inspected[1]["record"]["channel"] == RECORD["channel"] and len(inspected[1]["archive"]["entries"]) >= 4,
                  "kestro-pack inspect: %s" % inspected[1])

        def installs_like_unsigned():
            runs = {}
            for name in ("unsigned", "signed"):
                runs[name] = Run(machine, state[name], os.path.join(work, "My Games"))
                runs[name].go()
            state["runs"] = runs
            unsigned, signed = runs["unsigned"], runs["signed"]
            for step in ("install", "reinstall", "uninstall"):
                check(signed.steps[step] == unsigned.steps[step],
                      "%s differs:\nunsigned %s\nsigned   %s" % (step, unsigned.steps[step], signed.steps[step]))
            install = signed.steps["install"]
            check(install["exit code"] == 0 and "unins000.exe" in install["files"] and "说明.txt" in install["files"],
                  "the install: %s" % install)
            check(install["links"] and "KestroGC.exe" in install["registry"], "no shortcuts or registration: %s" % install)
            check(signed.steps["reinstall"]["exit code"] == 0, "the reinstall ended with %s" % signed.steps["reinstall"])
            gone = signed.steps["uninstall"]
            check(gone["exit code"] == 0 and not gone["files"] and not gone["links"] and "unins000" not in gone["registry"],
                  "the uninstall left traces: %s" % gone)
            if machine.stats_log:
                check(signed.reports == unsigned.reports and [r[1] for r in signed.reports] == [1, 3, 2],
                      "reports: unsigned %s, signed %s" % (unsigned.reports, signed.reports))

        def uninstaller_is_plain_unsigned():
            runs = state.get("runs")
            check(runs, "no install to look at")
            uninstaller = os.path.join(work, "unins000.exe")
            with open(uninstaller, "wb") as f:
                f.write(runs["signed"].uninstaller)
            check(runs["signed"].uninstaller == runs["unsigned"].uninstaller,
                  "the signed installer's unins000.exe differs from the unsigned one's")
            code, said = verify(machine, uninstaller, state["cert"])
            check(code != 0 and "No signature found" in said, "osslsigncode on unins000.exe:\n" + said)
            for damage in ("Corrupt", "signature not at", "Ignoring PE signature"):
                check(damage not in said, "osslsigncode finds a damaged signature in unins000.exe:\n" + said)
            checksum, at, size = pe_fields(machine, uninstaller)
            check((at, size) == (0, 0), "unins000.exe keeps a security directory entry: %d bytes at %d" % (size, at))
            stated = re.search(r"PE checksum\s*:\s*([0-9A-Fa-f]+)", said)
            check(checksum == 0 and stated and int(stated.group(1), 16) == 0,
                  "unins000.exe keeps a checksum (objdump %08X):\n%s" % (checksum, said))

        case("TheReleaseStepsPackAndSignAnInstaller", prepare)
        case("TheSignatureLiesAfterTheArchiveAndKestroPackStillReadsThePackage", signature_after_the_archive)
        case("TheSignedInstallerInstallsReinstallsAndUninstallsLikeTheUnsignedOne", installs_like_unsigned)
        case("TheSignedInstallersUninstallerIsAPlainUnsignedFile", uninstaller_is_plain_unsigned)
    finally:
        shutil.rmtree(work, ignore_errors=True)

    suites = ET.Element("testsuites", name="AllTests", tests=str(len(cases)),
                        failures=str(sum(1 for c in cases if c[2])))
    suite = ET.SubElement(suites, "testsuite", name="SignedInstaller", tests=str(len(cases)),
                          failures=str(sum(1 for c in cases if c[2])))
    for name, seconds, failure in cases:
        element = ET.SubElement(suite, "testcase", name=name, classname="SignedInstaller", time="%.3f" % seconds)
        if failure:
            ET.SubElement(element, "failure", message=failure.splitlines()[0]).text = failure
        print("[%s] %s (%.1f s)%s" % ("FAILED" if failure else "OK", name, seconds, "\n" + failure if failure else ""))
    os.makedirs(os.path.dirname(os.path.abspath(results)), exist_ok=True)
    ET.ElementTree(suites).write(results, encoding="utf-8", xml_declaration=True)
    return 1 if any(c[2] for c in cases) else 0


if __name__ == "__main__":
    sys.exit(main())
