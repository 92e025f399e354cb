#!/usr/bin/env bash
# Runs the program's benchmark under Xvfb at 800 x 600 and at 640 x 480 and
# prints the two JSON objects it gives.
#
#   scripts/bench.sh BIN_DIR [PASSES]
#
# BIN_DIR holds the program and its data tree; PASSES is the number of
# measured passes of each run (300 unless given). The program's console.txt
# stays in BIN_DIR.
set -euo pipefail

bin_dir=${1:?usage: bench.sh BIN_DIR [PASSES]}
passes=${2:-300}
sizes=(800,600 640,480)

cd "$bin_dir"
for size in "${sizes[@]}"; do
  # Silent sound output: the benchmark has no use for a sound device.
  ALSOFT_DRIVERS=null xvfb-run -a -s "-screen 0 1280x1024x24" ./tamsel --benchmark "$passes" --size "$size"
done
