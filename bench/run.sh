#!/usr/bin/env bash
# Times vornask-convert against the minimal baseline writer on generated
# sources, side by side in one run, and checks the performance targets.
#
#   bench/run.sh [BUILD_DIR]        (default /work/main/build)
#
# Builds nothing: BUILD_DIR/bin must hold vornask-convert, vornask-bench-gen
# and vornask-bench-baseline (a Release build gives the meaningful figures).
# Environment: REPS (repetitions per measurement, default 7), RUN_TIMEOUT
# (seconds one run may take, default 60), BENCH_TMP (where the inputs and
# pages go, default $TMPDIR or /tmp; needs about 1.5 GB).
# Exit status: 0 targets met, 1 a target missed, a run failed or the outputs
# differ, 2 cannot run.
set -euo pipefail

build=${1:-/work/main/build}
reps=${REPS:-7}
limit=${RUN_TIMEOUT:-60}
bin=$build/bin

die() { echo "run.sh: $*" >&2; exit 2; }

for p in vornask-convert vornask-bench-gen vornask-bench-baseline; do
  [[ -x $bin/$p ]] || die "$bin/$p is missing (build $build first)"
done
[[ $reps =~ ^[1-9][0-9]*$ ]] || die "REPS must be a positive number"
[[ $limit =~ ^[1-9][0-9]*$ ]] || die "RUN_TIMEOUT must be a positive number"
command -v timeout >/dev/null || die "timeout (coreutils) is missing"

# Peak memory comes from GNU time; install it when it is missing and we can.
timer=/usr/bin/time
if ! "$timer" -v true >/dev/null 2>&1; then
  if [[ $(id -u) == 0 ]] && command -v apt-get >/dev/null; then
    echo "installing the time package..." >&2
    apt-get install -y -qq time >/dev/null 2>&1 ||
      { apt-get update -qq >/dev/null 2>&1 && apt-get install -y -qq time >/dev/null 2>&1; } || true
  fi
  "$timer" -v true >/dev/null 2>&1 || timer=
fi
[[ -n $timer ]] || echo "note: GNU time missing; peak memory is sampled from /proc (may miss a last spike)" >&2

work=$(mktemp -d "${BENCH_TMP:-${TMPDIR:-/tmp}}/vornask-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/config" "$work/out"
# A copy with no kel folder beside it and an empty configuration home, so no
# startup settings file can change the style: the page must be the default one.
cp "$bin/vornask-convert" "$bin/vornask-bench-baseline" "$work/bin/"
export XDG_CONFIG_HOME=$work/config
convert=$work/bin/vornask-convert
baseline=$work/bin/vornask-bench-baseline

# run OUTPUT CMD...: runs CMD with standard output to OUTPUT and sets
# `elapsed_us`, `peak_kb` and `rc` (124 when it ran out of time).
run() {
  local out=$1 t0 t1
  shift
  rc=0
  if [[ -n $timer ]]; then
    t0=${EPOCHREALTIME/[.,]/}
    "$timer" -v -o "$work/time.txt" timeout "$limit" "$@" >"$out" || rc=$?
    t1=${EPOCHREALTIME/[.,]/}
    peak_kb=$(awk -F: '/Maximum resident set size/ {gsub(/ /, "", $2); print $2}' "$work/time.txt")
  else
    local pid hwm=0 v
    t0=${EPOCHREALTIME/[.,]/}
    timeout "$limit" "$@" >"$out" &
    pid=$!
    while v=$(awk '/^VmHWM:/ {print $2}' "/proc/$pid/status" 2>/dev/null) && [[ -n $v ]]; do
      ((v > hwm)) && hwm=$v
      sleep 0.005
    done
    wait "$pid" || rc=$?
    t1=${EPOCHREALTIME/[.,]/}
    peak_kb=$hwm
  fi
  elapsed_us=$((t1 - t0))
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
maximum() { sort -n | tail -1; }
mib() { awk -v b="$1" 'BEGIN {printf "%.1f", b / 1048576}'; }

echo "vornask benchmark: $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores," \
  "load $(cut -d' ' -f1-3 /proc/loadavg), $reps repetitions, build $build"

echo "generating inputs in $work ..."
"$bin/vornask-bench-gen" "$work/rows.csv"
"$bin/vornask-bench-gen" --rows 2000 --cols 2000 "$work/square.csv"
"$bin/vornask-bench-gen" --sjis --rows 500000 --cols 12 "$work/sjis.csv"
"$bin/vornask-bench-gen" --rows 300000 --line-end cr "$work/cr.csv"

status=0
declare -A result

# measure NAME MODE: MODE "file" writes a real file, "null" writes the page
# to standard output redirected to /dev/null.
measure() {
  local name=$1 mode=$2 src=$work/$1.csv i
  local -a ct=() bt=() cm=() bm=()
  for ((i = 0; i < reps; i++)); do
    # Alternate who goes first so that neither always finds a warmer cache.
    local order=(c b)
    ((i % 2)) && order=(b c)
    for who in "${order[@]}"; do
      if [[ $mode == file ]]; then
        rm -f "$work/out/$who.html"
        if [[ $who == c ]]; then
          run /dev/null "$convert" "$src" --output "$work/out/c.html"
        else
          run /dev/null "$baseline" "$src" "$work/out/b.html"
        fi
      elif [[ $who == c ]]; then
        run /dev/null "$convert" "$src" --output -
      else
        run /dev/null "$baseline" "$src" -
      fi
      if ((rc != 0)); then
        echo "FAIL: $name ($mode): $([[ $who == c ]] && echo vornask-convert || echo the baseline)" \
          "$( ((rc == 124)) && echo "took over $limit s" || echo "exited with status $rc")" >&2
        status=1
        result[$name.$mode.failed]=1
        return
      fi
      if [[ $who == c ]]; then ct+=("$elapsed_us"); cm+=("$peak_kb"); else bt+=("$elapsed_us"); bm+=("$peak_kb"); fi
    done
  done
  result[$name.$mode.ct]=$(printf '%s\n' "${ct[@]}" | median)
  result[$name.$mode.bt]=$(printf '%s\n' "${bt[@]}" | median)
  result[$name.$mode.cm]=$(printf '%s\n' "${cm[@]}" | maximum)
  result[$name.$mode.bm]=$(printf '%s\n' "${bm[@]}" | maximum)
}

inputs=(rows square sjis cr)
for name in "${inputs[@]}"; do
  src=$work/$name.csv
  echo "timing $name.csv ($(mib "$(stat -c %s "$src")") MiB) ..."
  measure "$name" file
  result[$name.page]=$(stat -c %s "$work/out/b.html" 2>/dev/null || echo 0)
  if [[ -n ${result[$name.file.failed]:-} ]]; then
    rm -f "$work/out/"*.html
    continue
  fi
  # Byte-identical pages, through the file and through standard output.
  if ! cmp -s "$work/out/c.html" "$work/out/b.html"; then
    echo "FAIL: $name: vornask-convert and the baseline write different pages" >&2
    cmp "$work/out/c.html" "$work/out/b.html" >&2 || true
    status=1
  fi
  if ! timeout "$limit" "$convert" "$src" --output - | cmp -s - "$work/out/b.html"; then
    echo "FAIL: $name: vornask-convert --output - differs from the baseline's page" >&2
    status=1
  fi
  rm -f "$work/out/"*.html
  measure "$name" null
done

echo
printf '%-11s %9s %9s  %-9s %10s %10s %6s %11s %11s\n' input "in MiB" "page MiB" output \
  "convert s" "baseline s" ratio "conv peak" "base peak"
for name in "${inputs[@]}"; do
  size=$(stat -c %s "$work/$name.csv")
  for mode in file null; do
    if [[ -z ${result[$name.$mode.ct]:-} ]]; then
      printf '%-11s %9.1f %9s  %-9s %10s\n' "$name.csv" "$(mib "$size")" - \
        "$([[ $mode == null ]] && echo /dev/null || echo file)" \
        "$([[ -n ${result[$name.$mode.failed]:-} ]] && echo failed || echo skipped)"
      continue
    fi
    ct=${result[$name.$mode.ct]} bt=${result[$name.$mode.bt]}
    awk -v n="$name.csv" -v s="$size" -v p="${result[$name.page]}" -v m="$mode" -v ct="$ct" -v bt="$bt" \
      -v cm="${result[$name.$mode.cm]}" -v bm="${result[$name.$mode.bm]}" 'BEGIN {
        printf "%-11s %9.1f %9.1f  %-9s %10.3f %10.3f %6.2f %7.1f MiB %7.1f MiB\n",
          n, s / 1048576, p / 1048576, (m == "null" ? "/dev/null" : "file"), ct / 1e6, bt / 1e6,
          ct / bt, cm / 1024, bm / 1024 }'
  done
done

# Targets, on the 100 MB source: at most twice the baseline's time, and a peak
# of at most twice the input plus 64 MiB.
echo
size=$(stat -c %s "$work/rows.csv")
limit_kb=$(((2 * size + 64 * 1048576) / 1024))
for mode in file null; do
  if [[ -z ${result[rows.$mode.ct]:-} ]]; then
    echo "FAIL ($mode): no figures for rows.csv"
    status=1
    continue
  fi
  ct=${result[rows.$mode.ct]} bt=${result[rows.$mode.bt]} cm=${result[rows.$mode.cm]}
  ratio=$(awk -v a="$ct" -v b="$bt" 'BEGIN {printf "%.2f", a / b}')
  if ((ct <= 2 * bt)); then
    echo "PASS time ($mode): $ratio x the baseline (target <= 2)"
  else
    echo "FAIL time ($mode): $ratio x the baseline (target <= 2)"
    status=1
  fi
  if ((cm <= limit_kb)); then
    echo "PASS memory ($mode): peak $(mib $((cm * 1024))) MiB (target <= $(mib $((limit_kb * 1024))) MiB)"
  else
    echo "FAIL memory ($mode): peak $(mib $((cm * 1024))) MiB (target <= $(mib $((limit_kb * 1024))) MiB)"
    status=1
  fi
done
exit $status
