#!/usr/bin/env python3
"""A product folder and its archive as Python's zipfile writes it, for the worker tests
to install beside the same folder packed by kestro-pack.

    python_zip_product.py --launcher EXE --module DLL --out FOLDER

FOLDER/product holds the files; FOLDER/python.zip holds them with zipfile's own choices
(UTF-8 names flagged, deflated and stored entries, folder entries for some folders only,
its own order), which differ from kestro-pack's.
"""
import argparse
import os
import random
import shutil
import zipfile


def product_files(launcher, module):
    noise = random.Random(20240611)
    return {
        "KestroGC.exe": open(launcher, "rb").read(),
        "lib/mod.dll": open(module, "rb").read(),
        "res/skin/main.png": bytes(noise.getrandbits(8) for _ in range(50000)),
        "res/说明.txt": "中文名的文件".encode("utf-8"),
        # More than one 512 KiB copy buffer, and compressible.
        "data/big.log": b"".join(b"line %07d of the big log\n" % i for i in range(30000)),
        "data/empty.dat": b"",
    }


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--launcher", required=True)
    parser.add_argument("--module", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    files = product_files(args.launcher, args.module)

    product = os.path.join(args.out, "product")
    shutil.rmtree(product, ignore_errors=True)
    for name, data in files.items():
        path = os.path.join(product, *name.split("/"))
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)

    archive = os.path.join(args.out, "python.zip")
    with zipfile.ZipFile(archive + ".tmp", "w") as zf:
        zf.writestr(zipfile.ZipInfo("res/", (1980, 1, 1, 0, 0, 0)), b"")
        zf.writestr(zipfile.ZipInfo("res/skin/", (1980, 1, 1, 0, 0, 0)), b"")
        # Reverse order: folders of files come after some of their files.
        for name in sorted(files, reverse=True):
            info = zipfile.ZipInfo(name, (1980, 1, 1, 0, 0, 0))
            info.compress_type = zipfile.ZIP_STORED if name.endswith(".png") else zipfile.ZIP_DEFLATED
            zf.writestr(info, files[name])
    os.replace(archive + ".tmp", archive)


if __name__ == "__main__":
    main()
