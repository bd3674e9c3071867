#!/usr/bin/env python3
"""The guides' lists of samples name exactly the files the sample generator writes.

Usage: sample_lists_test.py SOURCE_FOLDER MAKE_SAMPLES
Each guide's section about the samples is searched for file names (NAME.sino and
NAME.txt); the set must be the generator's files, README.txt aside."""
import os
import re
import subprocess
import sys
import tempfile

ROOT, MAKE_SAMPLES = sys.argv[1:3]
NAME = re.compile(r"[A-Za-z0-9_]+\.(?:sino|txt)\b")
NOT_SAMPLES = {"README.txt", "LICENSE.txt", "README-ja.txt"}

# guide, the line that opens its samples section, the line that ends it (regular expressions)
GUIDES = [
    ("README.md", r"^### The sample data", r"^## "),
    ("docs/release/README.txt", r"^THE SAMPLES", r"^MAKING YOUR OWN FILES"),
    ("docs/release/README-ja.txt", r"^サンプル$", r"^ファイルを自分で作る"),
]


def section(path, start, end):
    lines = open(path, encoding="utf-8-sig").read().splitlines()
    opened = [i for i, line in enumerate(lines) if re.search(start, line)]
    if not opened:
        return None
    body = []
    for line in lines[opened[0] + 1:]:
        if re.search(end, line) and line.strip():
            break
        body.append(line)
    return "\n".join(body)


with tempfile.TemporaryDirectory() as folder:
    subprocess.run([MAKE_SAMPLES, folder], check=True, stdout=subprocess.DEVNULL)
    written = set(os.listdir(folder)) - NOT_SAMPLES
    generated_readme = open(os.path.join(folder, "README.txt"), encoding="ascii").read()

failures = 0
lists = [("the generated samples/README.txt", generated_readme)]
for guide, start, end in GUIDES:
    path = os.path.join(ROOT, guide)
    if not os.path.exists(path):
        continue
    text = section(path, start, end)
    if text is None:
        print("FAILED: %s has no section about the samples" % guide)
        failures += 1
        continue
    lists.append((guide, text))
for guide, text in lists:
    named = set(NAME.findall(text)) - NOT_SAMPLES
    if named != written:
        failures += 1
        print("FAILED: %s names %s too many and lacks %s" % (guide, sorted(named - written), sorted(written - named)))
print("%d lists checked against the %d files written, %d failed" % (len(lists), len(written), failures))
sys.exit(1 if failures else 0)
