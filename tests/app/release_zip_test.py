#!/usr/bin/python3
"""The release: two runs of ./release, each in its own fresh trees, write the same bytes,
and the zip holds each part in its shipped form.

    release_zip_test.py SOURCE_ROOT VERSION WORK_FOLDER

VERSION is the project's. The first run's zip stays in WORK_FOLDER/first for the test
that runs the program from it.
"""
import glob
import hashlib
import os
import re
import shutil
import subprocess
import sys
import time
import zipfile

ROOT, VERSION, WORK = sys.argv[1:4]
ZIP_NAME = "quorvel-%s-win32.zip" % VERSION

# SHA-256 of each sample file, from the one table of the samples' pinned bytes, which the
# generator's own tests read for their 64-bit FNV-1a.
with open(os.path.join(ROOT, "tests", "teaching", "sample_hashes.inc")) as table:
    SAMPLE_HASHES = {"samples/" + name: sha for name, sha in
                     re.findall(r'^\{"([^"]+)", \d+ULL, "([0-9a-f]{64})"\},$', table.read(), re.M)}
GUIDES = ["README.txt", "README-ja.txt"]   # UTF-8 with a byte-order mark, for Notepad
TEXTS = ["LICENSE.txt", "samples/README.txt"] + GUIDES   # in Windows' line ends
# Each program, its subsystem and what its resources hold besides the common lines.
PROGRAMS = {
    "quorvel.exe": ("gui", ['VALUE "FileDescription", "Quorvel: PET image reconstruction, step by step"',
                            "/* Type: icon", "/* Type: group icon"]),
    "quorvel_data.exe": ("console", ['VALUE "FileDescription", "Quorvel data: volumes and filters for Quorvel, '
                                     'and figures of a saved slice"']),
}
ENTRIES = sorted(list(PROGRAMS) + TEXTS + list(SAMPLE_HASHES))
# The version information as the resource compiler lists it back.
RESOURCE_LINES = [
    'VALUE "ProductName", "Quorvel"',
    'VALUE "ProductVersion", "%s"' % VERSION,
    'VALUE "FileVersion", "%s"' % VERSION,
    'VALUE "LegalCopyright", "Copyright (c) 2026 The Quorvel authors. MIT licence."',
]

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED: " + what)


def release(name, samples=None):
    """Runs ./release into a fresh folder of its own, one compiler at a time beside the
    tests under Wine; returns the zip's bytes. With SAMPLES, the run takes the sample
    files from there instead of generating them again."""
    started = time.time()
    folder = os.path.join(WORK, name)
    shutil.rmtree(folder, ignore_errors=True)
    env = dict(os.environ, QUORVEL_JOBS="1")
    if samples:
        env["QUORVEL_RELEASE_SAMPLES"] = samples
    run = subprocess.run([os.path.join(ROOT, "release"), folder], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                         text=True, env=env)
    print("./release %s: %.0f s, exit %d" % (name, time.time() - started, run.returncode))
    if run.returncode != 0:
        print(run.stdout)
        sys.exit("FAILED: ./release")
    with open(os.path.join(folder, ZIP_NAME), "rb") as f:
        return f.read()


def tool(*command):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)


def check_program(folder, name):
    exe = os.path.join(folder, name)
    subsystem, own_lines = PROGRAMS[name]
    pe = tool(os.path.join(ROOT, "tests/app/check_pe.sh"), exe, subsystem)
    check(pe.returncode == 0, "%s is a 32-bit %s PE importing only Windows' own DLLs: %s" % (name, subsystem, pe.stdout))
    header = tool("i686-w64-mingw32-objdump", "-f", exe).stdout
    check("HAS_SYMS" not in header and "HAS_DEBUG" not in header, name + " is stripped")
    imports = tool("i686-w64-mingw32-objdump", "-p", exe).stdout
    names = [line.split()[-1] for line in imports.splitlines() if line.strip()]
    registry = [n for n in names if n.startswith("Reg") and not n.startswith("Register")]
    check(not registry, "%s calls nothing of the registry: %s" % (name, registry))
    resources = tool("i686-w64-mingw32-windres", "-J", "coff", "-i", exe, "-O", "rc").stdout
    for line in RESOURCE_LINES + own_lines:
        check(line in resources, "%s's resources hold %s" % (name, line))


def check_guides(files):
    """Both guides name the version, the zip and the tool; the Japanese one keeps the
    program's words that the English one quotes, and the English one's commands."""
    program = "".join(open(f, encoding="latin-1").read()
                      for d in ("app", "console", "graphics", "recon") for f in glob.glob(os.path.join(ROOT, d, "*.cpp")))
    guides = {}
    for name in GUIDES:
        raw = files.get(name, b"")
        check(raw.startswith(b"\xef\xbb\xbf"), name + " starts with UTF-8's byte-order mark")
        try:
            guides[name] = raw[3:].decode("utf-8")
        except UnicodeDecodeError as error:
            check(False, "%s is UTF-8: %s" % (name, error))
            guides[name] = ""
        text = guides[name]
        check(text.startswith("Quorvel %s " % VERSION) and ZIP_NAME in text and "quorvel_data.exe" in text,
              name + " names the version, the zip and quorvel_data.exe")
    english, japanese = guides["README.txt"], guides["README-ja.txt"]
    kept = [q for q in re.findall(r'"([^"\r\n]+)"', english) if q in program]
    commands = [line.strip() for line in english.splitlines() if re.match(r" +quorvel_data ", line)]
    check(len(commands) >= 3, "README.txt shows the tool's commands: %s" % commands)
    for words in dict.fromkeys(kept + commands):
        check(words in japanese, "README-ja.txt holds, as in README.txt: " + words)


def main():
    # The second run builds both programs afresh in other folders, which is what could
    # differ; it takes the first run's samples, whose bytes the hashes below pin (and the
    # generator's own tests in every build), instead of generating them twice.
    first = release("first")
    samples = os.path.join(WORK, "first-samples")
    shutil.rmtree(samples, ignore_errors=True)
    with zipfile.ZipFile(os.path.join(WORK, "first", ZIP_NAME)) as archive:
        archive.extractall(samples, [n for n in archive.namelist() if n.startswith("samples/")])
    second = release("second", os.path.join(samples, "samples"))
    check(first == second, "two runs of ./release write the same bytes")
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH") or
                tool("git", "-C", ROOT, "log", "-1", "--format=%ct").stdout)
    date = time.gmtime(epoch)
    date = date[:5] + (date[5] // 2 * 2,)   # a zip entry's seconds are even
    unpacked = os.path.join(WORK, "checked")
    shutil.rmtree(unpacked, ignore_errors=True)
    with zipfile.ZipFile(os.path.join(WORK, "first", ZIP_NAME)) as archive:
        entries = archive.infolist()
        check([e.filename for e in entries] == ENTRIES,
              "the zip's entries, in order: %s" % [e.filename for e in entries])
        for e in entries:
            check(e.date_time == date and e.create_system == 0 and e.external_attr == 0x20,
                  "%s is dated by the commit and carries nothing of the machine" % e.filename)
        files = {e.filename: archive.read(e) for e in entries}
        for name in PROGRAMS:
            archive.extract(name, unpacked)
    for name in PROGRAMS:
        check_program(unpacked, name)
    check_guides(files)
    pinned = set(SAMPLE_HASHES) | {"samples/README.txt"}
    check(len(SAMPLE_HASHES) > 0 and all(n in pinned for n in files if n.startswith("samples/") and not n.endswith("/")),
          "every sample file's bytes are pinned in sample_hashes.inc")
    for name, expected in SAMPLE_HASHES.items():
        check(hashlib.sha256(files.get(name, b"")).hexdigest() == expected, name + " has the generator's bytes")
    for name in TEXTS:
        text = files.get(name, b"")
        check(text.endswith(b"\r\n") and text.count(b"\n") == text.count(b"\r\n"),
              name + " ends every line in CR LF")
    check(files.get("LICENSE.txt", b"").startswith(b"MIT License\r\n"), "LICENSE.txt holds the MIT licence")
    print("%d checks failed" % len(failures))
    sys.exit(1 if failures else 0)


main()
