#!/usr/bin/env python3
"""Damages each file of the program's data tree in turn and checks that the
program survives: it ends by itself, exits as it should, names the damaged file
in an error line of console.txt, and the sanitizers stay quiet.

Each case runs in a scratch copy of the tree in drill/ beside the program's
folder, so the built tree is never touched. The program needs an X display
(run under xvfb-run).
"""

import argparse
import concurrent.futures
import os
import random
import shutil
import sys
import tempfile
import time

import program_run

DAMAGES = ("delete", "half", "random")
RUN_ARGUMENTS = ["--frames", "30", "--no-dialogs", "--fixed-step", "0.05", "--seed", "1"]
RANDOM_SEED = 1
SHADER_FOLDER = "shaders"
# A GPU program the driver rejects ends the program with this code and line.
REJECTED_PROGRAM_EXIT = 2
REJECTED_PROGRAM_LINE = '  ERROR: ZT_ERRORSHUTDOWN: Error Code: 2\r\rERROR: Shader "{}": '
ERROR_PREFIX = "  ERROR: "
# Settings cut short still parse as settings (a line that does not is
# reported); the missing ones keep their defaults, as a user's file without
# them would. No other case may pass without naming its file.
QUIET_WHEN_PARSED = {(program_run.SETTINGS_FILE, "half")}
# The lawn is drawn only where its files are damaged; see program_run.LIGHT_SETTINGS.
LAWN_MARK = "lawn"


def light_settings(relative):
    """The settings file itself is always damaged as built."""
    if relative == program_run.SETTINGS_FILE:
        return {}
    changes = dict(program_run.LIGHT_SETTINGS)
    if LAWN_MARK in relative:
        del changes["RenderLawn"]
    return changes


def damage(path, kind, seed_text):
    if kind == "delete":
        os.remove(path)
        return
    with open(path, "rb") as file:
        data = file.read()
    if kind == "half":
        data = data[: len(data) // 2]
    else:
        generator = random.Random(f"{RANDOM_SEED}:{seed_text}")
        data = bytes(generator.getrandbits(8) for _ in range(len(data)))
    os.remove(path)
    with open(path, "wb") as file:
        file.write(data)


def names_file(errors, relative):
    """An error line quotes the file's path, or its resource name: the path
    without extension, as the engine asks for pictures and models."""
    engine_form = relative.replace("/", "\\")
    resource = '"' + os.path.splitext(engine_form)[0] + '"'
    for line in errors:
        line = line.replace("/", "\\")
        if "\\" + engine_form in line or '"' + engine_form in line or resource in line:
            return True
    return False


def rejected_program(errors, relative):
    if not relative.startswith(SHADER_FOLDER + "/"):
        return False
    stem = os.path.splitext(os.path.basename(relative))[0]
    line = REJECTED_PROGRAM_LINE.format(stem)
    return any(error.startswith(line) for error in errors)


def verdict(relative, kind, code, errors, stderr):
    """'ok', 'ok (quiet)' or what went wrong."""
    if code is None:
        return "FAIL: did not end in time"
    if program_run.sanitizer_report(stderr):
        return "FAIL: sanitizer report"
    rejected = rejected_program(errors, relative)
    expected = REJECTED_PROGRAM_EXIT if rejected else 0
    if code != expected:
        return f"FAIL: exit {code}, expected {expected}"
    if rejected or names_file(errors, relative):
        return "ok"
    if (relative, kind) in QUIET_WHEN_PARSED:
        return "ok (quiet)"
    return "FAIL: no error line names the file"


def keep_failed(work, scratch, relative, kind, stderr):
    """The failed case's tree, console.txt and standard error, for a look."""
    keep = os.path.join(work, "failed-" + kind + "-" + relative.replace("/", "_"))
    shutil.rmtree(keep, ignore_errors=True)
    os.remove(os.path.join(scratch, "tamsel"))
    with open(os.path.join(scratch, "stderr.txt"), "w") as file:
        file.write(stderr)
    os.rename(scratch, keep)


def run_case(root, work, relative, kind, limit, settings):
    scratch = tempfile.mkdtemp(prefix="case-", dir=work)
    try:
        program_run.lay_out(root, scratch)
        program_run.change_settings(scratch, light_settings(relative))
        damage(os.path.join(scratch, relative), kind, relative)
        try:
            code, stderr = program_run.run(scratch, RUN_ARGUMENTS, settings, limit)
        except OSError as error:
            return None, f"FAIL: could not start the program: {error}"
        errors = [line for line in program_run.console_lines(scratch) if line.startswith(ERROR_PREFIX)]
        outcome = verdict(relative, kind, code, errors, stderr)
        if outcome.startswith("FAIL"):
            keep_failed(work, scratch, relative, kind, stderr)
        return code, outcome
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--bin", default="build-asan/bin", help="the folder of the program and its data tree")
    parser.add_argument("--damage", default=",".join(DAMAGES), help="comma-separated: " + ", ".join(DAMAGES))
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--limit", type=float, default=600, help="seconds a run may take")
    parser.add_argument("--only", default="", help="only files whose path contains this text")
    parser.add_argument("--softpipe", action="store_true", help="draw with Mesa's softpipe instead of llvmpipe")
    options = parser.parse_args()

    root = os.path.abspath(options.bin)
    kinds = [kind for kind in options.damage.split(",") if kind]
    if not os.path.isfile(os.path.join(root, "tamsel")) or any(kind not in DAMAGES for kind in kinds):
        parser.error("needs a built program in --bin and known damages")
    work = os.path.join(os.path.dirname(root), "drill")
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    cases = [(relative, kind) for relative in program_run.data_files(root) if options.only in relative
             for kind in kinds]
    settings = program_run.environment(options.softpipe)

    started = time.monotonic()
    with concurrent.futures.ThreadPoolExecutor(max_workers=options.jobs) as pool:
        futures = [pool.submit(run_case, root, work, relative, kind, options.limit, settings)
                   for relative, kind in cases]
        width = max(len(relative) for relative, _ in cases)
        print(f"{'file':<{width}}  {'damage':<7} {'exit':>4}  verdict", flush=True)
        failures = 0
        for (relative, kind), future in zip(cases, futures):
            code, outcome = future.result()
            failures += outcome.startswith("FAIL")
            shown = "-" if code is None else str(code)
            print(f"{relative:<{width}}  {kind:<7} {shown:>4}  {outcome}", flush=True)
    minutes = (time.monotonic() - started) / 60
    print(f"{len(cases)} cases, {failures} failures, {minutes:.1f} minutes")
    if failures:
        print(f"The failed cases' trees, console.txt and stderr.txt are in {work}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
