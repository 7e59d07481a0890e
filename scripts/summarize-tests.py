#!/usr/bin/env python3
"""Adds up the test cases of every build given: GoogleTest cases from their XML
files, and each CTest entry that wrote no such file (scripts, fixtures) as one case.
A program that CTest saw fail while its own cases all passed (a crash, a leak
report, a time-out) counts as one failure more. Prints 'N passed, N failed'."""
import glob
import os
import sys
import xml.etree.ElementTree as ET


def parse(path):
    try:
        return ET.parse(path).getroot()
    except (ET.ParseError, OSError):
        return None


def main(build_dirs):
    passed = failed = skipped = 0
    failures = []
    for build in build_dirs:
        own_failures = {}
        for path in sorted(glob.glob(os.path.join(build, "test-results", "*.xml"))):
            name = os.path.splitext(os.path.basename(path))[0]
            root = parse(path)
            if root is None:
                continue
            own_failures[name] = 0
            for case in root.iter("testcase"):
                if case.get("result") == "skipped" or case.find("skipped") is not None:
                    skipped += 1
                elif case.find("failure") is not None or case.find("error") is not None:
                    failed += 1
                    own_failures[name] += 1
                    failures.append(f"{name}: {case.get('classname')}.{case.get('name')}")
                else:
                    passed += 1
        root = parse(os.path.join(build, "ctest-junit.xml"))
        if root is None:
            failed += 1
            failures.append(f"{build}: no CTest results")
            continue
        for case in root.iter("testcase"):
            name = case.get("name")
            bad = case.find("failure") is not None or case.find("error") is not None
            if case.find("skipped") is not None or case.get("status") in ("notrun", "disabled"):
                if name not in own_failures:
                    skipped += 1
                continue
            if name in own_failures:
                if bad and own_failures[name] == 0:
                    failed += 1
                    failures.append(f"{name}: the program failed after its cases")
                continue
            if bad:
                failed += 1
                failures.append(f"{name}: failed")
            else:
                passed += 1
    for f in failures:
        print("FAILED:", f)
    line = f"{passed} passed, {failed} failed"
    if skipped:
        line += f", {skipped} skipped"
    print(line)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
