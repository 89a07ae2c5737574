#!/bin/sh
# eclfore against the straightforward build of the same formulas (reference_forecast),
# measured in one run on the same machine, and the floor: the time to write the same
# bytes (copying data.dat over an older copy, as eclfore writes over an older data.dat).
#
# usage: bench/against_reference.sh [SIZES]
#   SIZES      catalogue sizes (default "1000 10000 100000 1000000")
# environment: BUILD_DIR, WORK_DIR, RUNS as for run_benchmarks.sh (RUNS default 5).
#
# October 2006, every star selected, lowest altitude 20 degrees, Tokyo. Prints a
# Markdown table: the best wall time of RUNS for each program (user and system time of
# that run), the ratio of the wall times, the floor, and whether the two data.dat are
# byte for byte the same. Each run starts after a sync, so that none waits for the
# previous one's bytes to reach the disk.
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$repo/build-speed}
work=${WORK_DIR:-$(mktemp -d /tmp/ebt-reference.XXXXXX)}
runs=${RUNS:-5}
sizes=${1:-"1000 10000 100000 1000000"}
time_cmd=/usr/bin/time
answers='2006\n10\n20\n3\n0\n'

if [ ! -x "$time_cmd" ]; then
  echo "against_reference: $time_cmd is missing (apt-get install time)" >&2
  exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DEBT_BUILD_BENCH=ON \
    -DEBT_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target eclfore reference_forecast make_catalogue >/dev/null
. "$repo/bench/timing.sh"

mkdir -p "$work"
cd "$work"
printf '0.0 20.0 0.0 90 -90\n99\n' > condition.dat

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", (b > 0 ? a / b : 0) }'; }

echo "| stars | lines | reference wall / user / sys s | eclfore wall / user / sys s | ratio | floor s | eclfore - floor s | same bytes |"
echo "|---|---|---|---|---|---|---|---|"
for stars in $sizes; do
  "$build/bench/make_catalogue" "$stars" > star.dat
  best_of "$runs" "$answers" "$build/bench/reference_forecast"
  reference=$best
  mv data.dat reference.dat
  best_of "$runs" "$answers" "$build/eclfore/eclfore"
  eclfore=$best
  same=no
  cmp -s data.dat reference.dat && same=yes
  rm reference.dat
  # The floor: the same bytes written over an older file of that size.
  cp data.dat floor.dat
  floor=""
  i=0
  while [ "$i" -lt "$runs" ]; do
    sync
    start=$(date +%s%N)
    cp data.dat floor.dat
    end=$(date +%s%N)
    wall=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
    if [ -z "$floor" ] || awk -v a="$wall" -v b="$floor" 'BEGIN { exit !(a < b) }'; then
      floor=$wall
    fi
    i=$((i + 1))
  done
  rm floor.dat
  set -- $reference
  r_wall=$1
  r_text="$1 / $2 / $3"
  set -- $eclfore
  e_wall=$1
  e_text="$1 / $2 / $3"
  above=$(awk -v a="$e_wall" -v b="$floor" 'BEGIN { printf "%.3f", a - b }')
  echo "| $stars | $(wc -l < data.dat) | $r_text | $e_text | $(ratio "$r_wall" "$e_wall") | $floor | $above | $same |"
done

if [ -z "${WORK_DIR:-}" ]; then
  cd /
  rm -rf "$work"
fi
