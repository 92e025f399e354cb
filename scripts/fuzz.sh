#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a while and prints, per target,
# how many inputs it ran, the coverage it reached and what it found.
#
#   scripts/fuzz.sh BUILD_DIR [SECONDS] [INPUTS]
#
# Every target runs SECONDS (default 60) and then, when it has not yet tried
# INPUTS inputs (default a million), goes on until it has: a slow reader gets
# as many inputs as a fast one, a fast one still uses its time.
# Each target starts from its seed files in tests/fuzz/corpus/<target> and
# from what earlier runs added in BUILD_DIR/fuzz/corpus/<target>. Inputs that
# crash, leak, time out or run out of memory are kept in
# BUILD_DIR/fuzz/findings/<target>; libFuzzer's output is in
# BUILD_DIR/fuzz/logs/<target>.log. Exits 1 when any target found anything.
set -uo pipefail

build_dir=${1:?usage: fuzz.sh BUILD_DIR [SECONDS] [INPUTS]}
seconds=${2:-60}
least_inputs=${3:-1000000}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
seeds_dir=$source_dir/tests/fuzz/corpus
work_dir=$build_dir/fuzz

# An input that asks for more memory than this, or runs longer, is a finding:
# the largest picture the readers accept needs a small part of it.
limits=(-rss_limit_mb=2048 -malloc_limit_mb=512 -timeout=10)
# Inputs grow up to the seed files' size and a few times over. Script lines
# hold at most 55 characters, so a score of them tries every interplay, and
# every token of a longer input is read every way there is, which is slow.
declare -A max_bytes=([script]=1024)
usual_max_bytes=4096

shopt -s nullglob
targets=("$build_dir"/bin/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz.sh: no fuzz targets in $build_dir/bin" >&2
  exit 2
fi

# The last figure that follows label in a libFuzzer log.
last_figure() {
  local label=$1 log=$2
  grep -o "$label *[0-9]*" "$log" | tail -n 1 | grep -o '[0-9]*$' || true
}

# One libFuzzer session of a target; the rest of the arguments bound it.
fuzz_once() {
  local binary=$1 name=$2 log=$3
  shift 3
  # A smaller quarantine than ASan's default keeps freed memory warm: each
  # input frees all it allocated, and page faults would otherwise dominate.
  ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=64 UBSAN_OPTIONS=print_stacktrace=1 \
    "$binary" "$corpus" "$seeds_dir/$name" "$@" -print_final_stats=1 "${limits[@]}" \
    -max_len="${max_bytes[$name]:-$usual_max_bytes}" -artifact_prefix="$findings/" >"$log" 2>&1
}

rows=()
found_any=false
for binary in "${targets[@]}"; do
  name=${binary##*/fuzz_}
  corpus=$work_dir/corpus/$name
  findings=$work_dir/findings/$name
  log=$work_dir/logs/$name.log
  rm -rf "$findings"
  mkdir -p "$corpus" "$findings" "$(dirname "$log")"
  echo "Fuzzing $name for ${seconds}s"
  fuzz_once "$binary" "$name" "$log" -max_total_time="$seconds"
  status=$?
  executions=$(last_figure 'stat::number_of_executed_units:' "$log")
  if [ "$status" -eq 0 ] && [ -n "$executions" ] && [ "$executions" -lt "$least_inputs" ]; then
    echo "Fuzzing $name for $((least_inputs - executions)) more inputs"
    fuzz_once "$binary" "$name" "$log.more" -runs=$((least_inputs - executions))
    status=$?
    cat "$log.more" >>"$log"
    rm -f "$log.more"
    more=$(last_figure 'stat::number_of_executed_units:' "$log")
    executions=$((executions + ${more:-0}))
  fi
  cov=$(last_figure ' cov:' "$log")
  ft=$(last_figure ' ft:' "$log")
  artifacts=("$findings"/crash-* "$findings"/leak-* "$findings"/timeout-* "$findings"/oom-*)
  result=${#artifacts[@]}
  if [ "$result" -eq 0 ] && [ "$status" -ne 0 ]; then
    result="exit $status"
  fi
  [ "$result" = 0 ] || found_any=true
  rows+=("$name|${executions:-?}|${cov:-?}|${ft:-?}|$result")
done

echo
printf '%-10s %12s %8s %8s  %s\n' target executions cov ft findings
for row in "${rows[@]}"; do
  IFS='|' read -r name executions cov ft result <<<"$row"
  printf '%-10s %12s %8s %8s  %s\n' "$name" "$executions" "$cov" "$ft" "$result"
done
echo "Findings: $work_dir/findings/<target>, logs: $work_dir/logs/<target>.log"

if $found_any; then
  exit 1
fi
