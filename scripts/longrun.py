#!/usr/bin/env python3
"""A long run of the program: it must end with no ZOT objects left and its
resident memory near the end within a few per cent of what it was early on.
Both figures come from console.txt (--log-fps logs the memory once a second).
Needs an X display (run under xvfb-run)."""

import argparse
import os
import re
import shutil
import sys
import tempfile
import time

import program_run

FRAMES = 3000
EARLY_FRAME = 300
STEP = "0.02"
GROWTH_ALLOWED = 0.05
# Memory is logged once a second: the last figure comes at most a second's
# frames before the end.
FRAMES_PER_SECOND = 50
MEMORY_LINE = re.compile(r"Resident memory: (\d+) KB after (\d+) frames$")
LEFTOVER_LINE = re.compile(r"ZOT Main: ZOT Objects left: (\d+)$")


def memory_at(samples, frame):
    """The resident memory logged nearest to frame."""
    return min(samples, key=lambda sample: abs(sample[1] - frame))


def judge(code, stderr, lines):
    """The figures and what went wrong, if anything."""
    samples = [(int(m.group(1)), int(m.group(2))) for m in map(MEMORY_LINE.match, lines) if m]
    leftovers = [int(m.group(1)) for m in map(LEFTOVER_LINE.match, lines) if m]
    faults = []
    if code != 0:
        faults.append("exit " + ("- (did not end in time)" if code is None else str(code)))
    if program_run.sanitizer_report(stderr):
        faults.append("sanitizer report:\n" + stderr)
    if leftovers != [0]:
        faults.append(f"leftover objects: {leftovers or 'not logged'}")
    if not samples:
        return faults + ["no resident memory logged"], "no figures"
    early, late = memory_at(samples, EARLY_FRAME), memory_at(samples, FRAMES)
    figures = f"resident {early[0]} KB after {early[1]} frames, {late[0]} KB after {late[1]} frames"
    if late[1] < FRAMES - FRAMES_PER_SECOND or early[1] > EARLY_FRAME + FRAMES_PER_SECOND:
        faults.append("no resident memory logged near both frames")
    if late[0] > early[0] * (1 + GROWTH_ALLOWED):
        faults.append(f"resident memory grew by more than {GROWTH_ALLOWED:.0%}")
    return faults, figures


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--bin", default="build-asan/bin", help="the folder of the program and its data tree")
    parser.add_argument("--limit", type=float, default=3600, help="seconds the run may take")
    parser.add_argument("--softpipe", action="store_true", help="draw with Mesa's softpipe instead of llvmpipe")
    parser.add_argument("--full", action="store_true", help="the settings as built, not the light ones")
    options = parser.parse_args()

    root = os.path.abspath(options.bin)
    scratch = tempfile.mkdtemp(prefix="longrun-", dir=os.path.dirname(root))
    started = time.monotonic()
    try:
        program_run.lay_out(root, scratch)
        if not options.full:
            program_run.change_settings(scratch, program_run.LIGHT_SETTINGS)
        arguments = ["--frames", str(FRAMES), "--fixed-step", STEP, "--no-dialogs", "--log-fps", "--seed", "1"]
        code, stderr = program_run.run(scratch, arguments, program_run.environment(options.softpipe), options.limit)
        faults, figures = judge(code, stderr, program_run.console_lines(scratch))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    minutes = (time.monotonic() - started) / 60
    print(f"Long run of {FRAMES} frames: {figures}; {minutes:.1f} minutes")
    for fault in faults:
        print("FAIL: " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
