#!/usr/bin/env bash
# Builds the fuzz targets (fuzz/) with clang into build-fuzz/ and runs each one for a bounded time.
#   scripts/fuzz.sh                 20 seconds in all, shared between the targets
#   scripts/fuzz.sh 600             600 seconds for each target
#   scripts/fuzz.sh 120 dates words only the targets named
# Prints one line per target with the number of executions; exits non-zero when a target finds a crash, a
# sanitizer report or a broken property. The input that did it is kept in build-fuzz/crashes/<target>/.
# Inputs that reached new code are kept in build-fuzz/corpus/<target>/ and reused by the next run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
pylon_install_packages clang libclang-rt-14-dev

ALL_TARGETS=(amounts criteria dates source_sql words)
TOTAL_SECONDS=20

seconds=""
if [ $# -gt 0 ]; then
  if ! [[ $1 =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 [seconds-per-target] [target...]   (targets: ${ALL_TARGETS[*]})" >&2
    exit 2
  fi
  seconds=$1
  shift
fi
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${ALL_TARGETS[@]}")
for t in "${targets[@]}"; do
  [ -d "fuzz/corpus/$t" ] || { echo "unknown fuzz target: $t (targets: ${ALL_TARGETS[*]})" >&2; exit 2; }
done
if [ -z "$seconds" ]; then
  seconds=$((TOTAL_SECONDS / ${#targets[@]}))
  [ "$seconds" -ge 1 ] || seconds=1
fi

cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DPYLON_SRC="$PWD/src" >/dev/null
cmake --build build-fuzz -j2 >/dev/null

# A leak or any undefined behaviour counts as a failure, with a stack to go with it.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=0
total=0
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t
  crashes=build-fuzz/crashes/$t
  log=build-fuzz/fuzz_$t.log
  mkdir -p "$corpus" "$crashes"
  # New inputs go to the first folder; the seeds in fuzz/corpus stay as they are.
  if build-fuzz/fuzz_$t -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$corpus" "fuzz/corpus/$t" >"$log" 2>&1; then
    status=ok
  else
    status="FAILED (exit $?)"
    failed=1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  # After a crash libFuzzer prints no final statistics: take the last progress line instead.
  [ -n "$execs" ] || execs=$(grep -o '^#[0-9]*' "$log" | tail -n 1 | tr -d '#')
  execs=${execs:-0}
  total=$((total + execs))
  printf 'fuzz %-10s %10s executions in %ss, %s corpus inputs: %s\n' \
    "$t" "$execs" "$seconds" "$(find "$corpus" -type f | wc -l)" "$status"
  if [ "$status" != ok ]; then
    grep -m 1 -A 3 -E '== property broken|ERROR: |runtime error' "$log" | sed 's/^/    /' || true
    echo "    full log: $log; input kept in $crashes/ (replay: build-fuzz/fuzz_$t <file>)"
  fi
done
echo "fuzz total: $total executions"
exit $failed
