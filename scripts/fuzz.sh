#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for the given seconds (default 60).
#
#   scripts/fuzz.sh [seconds]
#
# Each target keeps its corpus in <build>/corpus/<name>, seeded from the files the
# program ships; an input that breaks a target lands in <build>/crashes/<name>/ and
# belongs, once fixed, in tests/fuzz/regressions/<name>/, which the test suite runs.
# Environment: FUZZ_BUILD (default build-fuzz), FUZZ_TARGETS (names, default all),
# FUZZ_ARGS (more libFuzzer flags, e.g. -runs=1000000), JOBS (build jobs, default 2).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${FUZZ_BUILD:-build-fuzz}

launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
# Only the core layer: the parsers live there. Warnings stay warnings: the gcc build
# is the one that holds them as errors.
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  "${launcher[@]}" -DTAVIO_FUZZ=ON -DTAVIO_WERROR=OFF -DTAVIO_TEST_AREAS=core -DTAVIO_BUILD_BENCH=OFF >/dev/null

all=()
for f in tests/fuzz/fuzz_*.cpp; do n=${f##*/fuzz_}; all+=("${n%.cpp}"); done
read -r -a targets <<< "${FUZZ_TARGETS:-${all[*]}}"
cmake --build "$build" -j"${JOBS:-2}" --target "${targets[@]/#/fuzz_}"

# The shipped files each target starts from, beside tests/fuzz/seeds/<name>.
seeds() {
  case $1 in
    chaptertitle|chaptertext|delprint) ls data/Htm/*.htm ;;
    notes) echo data/Default.rtn ;;
    helpfile) echo data/Tavio.hlp ;;
    updateini) echo demo/series/update.ini demo/series/files.ini ;;
    findhistory|helpers) echo demo/series/whats.new demo/series/user.nfo ;;
    description) echo resources/about/VersionHistory.txt ;;
    settings) echo demo/series/update.ini ;;
  esac
}
# Notes: a read may take memory in proportion to its input, never what a damaged
# length claims; 1,000 times the largest input is the bound.
extra() {
  case $1 in
    notes) echo -max_len=65536 -malloc_limit_mb=64 ;;
  esac
}

# The sanitizer keeps the call stack of every allocation for its reports. Through
# the toolkit, built without frame pointers, those stacks are mostly unique, and the
# store that keeps them grew until it took 70 % of the settings target's time after
# 30,000 runs. Two frames name the allocating call; a crash's input is kept and can
# be rerun with full stacks.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=2}

# The targets that write files do it in memory.
scratch=$(mktemp -d "${FUZZ_SCRATCH:-/dev/shm}/tavio-fuzz.XXXXXX" 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch

failed=()
for t in "${targets[@]}"; do
  corpus=$build/corpus/$t
  crashes=$build/crashes/$t
  mkdir -p "$corpus" "$crashes"
  # shellcheck disable=SC2046
  cp -n $(seeds "$t") "$corpus"/ 2>/dev/null || true
  if [ -d "tests/fuzz/seeds/$t" ]; then cp -n "tests/fuzz/seeds/$t"/* "$corpus"/ 2>/dev/null || true; fi
  if [ -d "tests/fuzz/regressions/$t" ]; then cp -n "tests/fuzz/regressions/$t"/* "$corpus"/ 2>/dev/null || true; fi
  echo "== fuzz_$t for ${seconds} s"
  # shellcheck disable=SC2046,SC2086
  if ! "$build/tests/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$crashes/" $(extra "$t") ${FUZZ_ARGS:-} "$corpus" > "$build/fuzz_$t.log" 2>&1; then
    failed+=("$t")
    grep -E "ERROR|invariant broken|runtime error|Test unit written" "$build/fuzz_$t.log" | head -5 || true
  fi
  grep -E "stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)" "$build/fuzz_$t.log" | tr '\n' ' '
  echo
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Broken: ${failed[*]} (inputs in $build/crashes/, logs in $build/fuzz_<name>.log)"
  exit 1
fi
echo "No findings."
