"""Running the built program in a scratch copy of its data tree, as the drill
and the long run do: the copy, its settings, the environment and one bounded run."""

import os
import shutil
import subprocess

SETTINGS_FILE = "tamsel.ini"
SANITIZER_MARKS = ("AddressSanitizer", "LeakSanitizer", "UndefinedBehaviorSanitizer", "runtime error:")
# The software renderer spends most of a frame on the lawn and the fur's
# shells; light runs draw the fur with the fewest shells that still draw it
# and leave the lawn out.
LIGHT_SETTINGS = {"FurShells": "2", "RenderLawn": "0"}


def data_files(root):
    """The settings file and every file in the data folders, relative to root."""
    files = [SETTINGS_FILE]
    for entry in sorted(os.listdir(root)):
        folder = os.path.join(root, entry)
        if not os.path.isdir(folder):
            continue
        for directory, _, names in os.walk(folder):
            for name in names:
                files.append(os.path.relpath(os.path.join(directory, name), root))
    return sorted(files)


def lay_out(root, scratch):
    """A copy of the data tree with the program linked (or copied) beside it:
    the program writes its console.txt beside itself."""
    binary = os.path.join(scratch, "tamsel")
    try:
        os.link(os.path.join(root, "tamsel"), binary)
    except OSError:
        shutil.copy2(os.path.join(root, "tamsel"), binary)
    for relative in data_files(root):
        target = os.path.join(scratch, relative)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        shutil.copyfile(os.path.join(root, relative), target)


def change_settings(scratch, changes):
    path = os.path.join(scratch, SETTINGS_FILE)
    with open(path) as file:
        lines = file.read().split("\n")
    for index, line in enumerate(lines):
        key = line.split("=", 1)[0]
        if key in changes:
            lines[index] = key + "=" + changes[key]
    with open(path, "w") as file:
        file.write("\n".join(lines))


def environment(softpipe):
    """Silent sound and leak checking on (the program checks while the GL
    driver is still loaded); softpipe is Mesa's renderer without JIT code."""
    suppressions = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "lsan.supp")
    settings = dict(os.environ)
    settings["ALSOFT_DRIVERS"] = "null"
    settings["ASAN_OPTIONS"] = "detect_leaks=1:abort_on_error=0"
    settings["LSAN_OPTIONS"] = "suppressions=" + os.path.abspath(suppressions) + ":print_suppressions=0"
    settings["UBSAN_OPTIONS"] = "print_stacktrace=1:halt_on_error=1"
    if softpipe:
        settings["GALLIUM_DRIVER"] = "softpipe"
    return settings


def run(scratch, arguments, settings, limit):
    """(exit code or None when the limit ran out, standard error)."""
    try:
        done = subprocess.run([os.path.join(scratch, "tamsel")] + arguments, cwd=scratch, env=settings,
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                              timeout=limit)
        return done.returncode, done.stderr.decode("utf-8", "replace")
    except subprocess.TimeoutExpired as expired:
        return None, (expired.stderr or b"").decode("utf-8", "replace")


def sanitizer_report(stderr):
    return any(mark in stderr for mark in SANITIZER_MARKS)


def console_lines(scratch):
    try:
        with open(os.path.join(scratch, "console.txt"), "rb") as file:
            return file.read().decode("utf-8", "replace").split("\n")
    except OSError:
        return []
