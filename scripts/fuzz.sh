#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for a bounded time from its seed
# corpus in fuzz/corpus/<target>. Any crash, sanitizer report or failed check
# fails the run; the input is kept in build/fuzz/findings/.
# Usage: scripts/fuzz.sh [target ...]   (default: all)
# CORVANTIDE_FUZZ_SECONDS sets the time per target (default 60).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${CORVANTIDE_FUZZ_SECONDS:-60}
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(motion_writer text_composition panel_session motion_reader scene_reader)

echo "== fuzz: configure and build"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

# Absolute paths: the panel target works in a scratch directory of its own.
root=$(pwd)
findings=$root/build/fuzz/findings
mkdir -p "$findings"
passed=0
failed=0
for target in "${targets[@]}"; do
  # New inputs go to a scratch corpus; the seeds in the repository stay as they are.
  work=$(mktemp -d)
  log=build/fuzz/$target.log
  echo "== fuzz: $target for ${seconds}s"
  if ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
     "$root/build/fuzz/bin/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=2048 \
       -artifact_prefix="$findings/$target-" "$work" "$root/fuzz/corpus/$target" >"$log" 2>&1; then
    passed=$((passed + 1))
    echo "   $(grep -m1 'stat::number_of_executed_units' "$log" | awk '{print $2}') executions," \
         "$(grep -m1 'stat::average_exec_per_sec' "$log" | awk '{print $2}')/s, no findings"
  else
    failed=$((failed + 1))
    tail -40 "$log"
    echo "   FINDING in $target: see $log and $findings/"
  fi
  rm -rf "$work"
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
