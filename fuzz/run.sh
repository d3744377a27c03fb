#!/bin/sh
# Builds the libFuzzer targets into build-fuzz/ and runs each for SECONDS
# (default 30), starting from the seed corpora in fuzz/corpus/.
#   fuzz/run.sh [SECONDS] [TARGET...]
# New inputs the fuzzer finds are kept in build-fuzz/corpus/, findings in
# build-fuzz/findings/. Exits non-zero when any target finds a fault.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
[ $# -gt 0 ] && shift
targets=${*:-"fuzz_page fuzz_settings fuzz_sjis fuzz_paths"}
build="$root/build-fuzz"

if [ ! -f "$build/CMakeCache.txt" ]; then
  generator=""
  command -v ninja >/dev/null 2>&1 && generator="-G Ninja"
  # shellcheck disable=SC2086
  cmake -S "$root" -B "$build" $generator -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DVORNASK_FUZZ=ON -DVORNASK_BUILD_GUI=OFF \
    -DVORNASK_BUILD_TESTS=OFF >/dev/null
fi
# shellcheck disable=SC2086
cmake --build "$build" --parallel "$(nproc 2>/dev/null || echo 2)" --target $targets

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
status=0
for t in $targets; do
  work="$build/corpus/$t"
  findings="$build/findings/$t"
  mkdir -p "$work" "$findings"
  log="$build/$t.log"
  if "$build/bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
      -print_final_stats=1 -artifact_prefix="$findings/" "$work" "$root/fuzz/corpus/$t" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    echo "fuzz: $t: ${runs:-?} executions in ${seconds} s, no finding"
  else
    echo "fuzz: $t: FINDING (see $log and $findings)" >&2
    tail -n 40 "$log" >&2
    status=1
  fi
done
exit $status
