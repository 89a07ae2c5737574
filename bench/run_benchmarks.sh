#!/bin/sh
# Whole-run benchmarks of eclfore, phaselist and datesel on synthetic catalogues.
#
# usage: bench/run_benchmarks.sh [SIZES]
#   SIZES      catalogue sizes for eclfore (default "10000 100000 1000000")
# environment:
#   BUILD_DIR  build folder (default build-speed in the repository); configured as a
#              Release build with EBT_BUILD_BENCH=ON when it holds no build yet
#   WORK_DIR   scratch folder (default a new folder under /tmp); the 1,000,000-star
#              run writes about 1.3 GB of data.dat there
#   RUNS       runs per measurement, the best wall time counts (default 3)
#
# Prints Markdown tables: wall time (best of RUNS), user and system time of that run,
# peak memory (maximum resident set, /usr/bin/time %M), stars per second, candidate
# minima tested per second and forecast lines written per second. The candidate count
# is exact: bench/count_candidates runs eclfore's own checks and pass loop.
set -eu

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$repo/build-speed}
work=${WORK_DIR:-$(mktemp -d /tmp/ebt-bench.XXXXXX)}
runs=${RUNS:-3}
sizes=${1:-"10000 100000 1000000"}
time_cmd=/usr/bin/time
# October 2006, lowest altitude 20 degrees, site 3 (Tokyo); the condition number last.
answers_head='2006\n10\n20\n3\n'

if [ ! -x "$time_cmd" ]; then
  echo "run_benchmarks: $time_cmd is missing (apt-get install time)" >&2
  exit 1
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DEBT_BUILD_BENCH=ON \
    -DEBT_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target eclfore datesel phaselist make_catalogue \
  count_candidates routines_bench ephemeris_bench >/dev/null

eclfore=$build/eclfore/eclfore
datesel=$build/datesel/datesel
phaselist=$build/phaselist/phaselist
mkdir -p "$work"
cd "$work"

# condition 0 selects every star; condition 1 (declination degrees -5 to +5) about a
# tenth of the uniform sky.
printf '0.0 20.0 0.0 90 -90\n0.0 20.0 0.0 5 -5\n99\n' > condition.dat

. "$repo/bench/timing.sh"

per_second() { awk -v n="$1" -v t="$2" 'BEGIN { printf "%.3g", (t > 0 ? n / t : 0) }'; }

echo "## Machine"
echo
echo "- CPU: $(lscpu | sed -n 's/^Model name: *//p'), $(nproc) cores"
echo "- load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "- build: $build ($(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt"))"
echo

echo "## eclfore: October 2006, Tokyo, lowest altitude 20 degrees"
echo
echo "| stars | condition | selected | candidates | lines | wall s | user s | sys s | peak KiB | stars/s | candidates/s | lines/s | ns/candidate, nothing listed |"
echo "|---|---|---|---|---|---|---|---|---|---|---|---|---|"
for n in $sizes; do
  "$build/bench/make_catalogue" "$n" > star.dat
  for condition in 0 1; do
    set -- $("$build/bench/count_candidates" 2006 10 "$condition")
    selected=$4
    candidates=$6
    best_of "$runs" "${answers_head}${condition}\n" "$eclfore"
    set -- $best
    lines=$(wc -l < data.dat)
    # The same run with a lowest altitude above the zenith lists nothing: reading,
    # parsing and the candidate tests alone.
    best_of "$runs" "2006\n10\n91\n3\n${condition}\n" "$eclfore"
    quiet_wall=${best%% *}
    ns=$(awk -v t="$quiet_wall" -v c="$candidates" 'BEGIN { printf "%.0f", t * 1e9 / c }')
    label=all
    [ "$condition" = 1 ] && label="dec -5..+5"
    echo "| $n | $label | $selected | $candidates | $lines | $1 | $2 | $3 | $4 |" \
      "$(per_second "$n" "$1") | $(per_second "$candidates" "$1") |" \
      "$(per_second "$lines" "$1") | $ns |"
  done
done
echo

echo "## eclfore with the options for today's sky: 100,000 stars, October 2006, all selected"
echo
"$build/bench/make_catalogue" 100000 > star.dat
echo "| options | lines | wall s | user s | sys s | peak KiB | time / no options |"
echo "|---|---|---|---|---|---|---|"
best_of "$runs" "${answers_head}0\n" "$eclfore"
plain_wall=${best%% *}
for options in "" "--sun-below=nautical" "--moon-distance=10" "--epochs=hjd" \
    "--epochs=bjd" "--of-date" \
    "--sun-below=nautical --moon-distance=10 --epochs=bjd --of-date"; do
  # shellcheck disable=SC2086 # the options are split on purpose
  best_of "$runs" "${answers_head}0\n" "$eclfore" $options
  set -- $best
  ratio=$(awk -v a="$1" -v b="$plain_wall" 'BEGIN { printf "%.2f", a / b }')
  echo "| ${options:-none} | $(wc -l < data.dat) | $1 | $2 | $3 | $4 | $ratio |"
done
echo

echo "## eclfore's eclipse window: 100,000 stars with durations, December 2026"
echo
"$build/bench/make_catalogue" 100000 20061001 extension > star.dat
echo "| options | lines | wall s | user s | sys s | peak KiB | time / no options |"
echo "|---|---|---|---|---|---|---|"
window_answers="--year=2026 --month=12 --lowest=20 --site=tokyo --condition=0 --quiet"
# shellcheck disable=SC2086 # the options are split on purpose
best_of "$runs" "" "$eclfore" $window_answers
plain_wall=${best%% *}
for options in "" "--coverage=100" "--csv" "--coverage=100 --csv"; do
  # shellcheck disable=SC2086 # the options are split on purpose
  best_of "$runs" "" "$eclfore" $window_answers $options
  set -- $best
  ratio=$(awk -v a="$1" -v b="$plain_wall" 'BEGIN { printf "%.2f", a / b }')
  echo "| ${options:-none} | $(wc -l < data.dat) | $1 | $2 | $3 | $4 | $ratio |"
done
rm -f data.csv
echo

echo "## phaselist: 1,000,000 stars, 2006-03-07 04:30 to 05:45 JST"
echo
"$build/bench/make_catalogue" 1000000 > star.dat
best_of "$runs" '2006 3 7 4 30\n2006 3 7 5 45\n' "$phaselist"
set -- $best
rows=$(($(wc -l < isou.txt) - 4))
echo "| stars | rows written | wall s | user s | sys s | peak KiB | stars/s |"
echo "|---|---|---|---|---|---|---|"
echo "| 1000000 | $rows | $1 | $2 | $3 | $4 | $(per_second 1000000 "$1") |"
echo

echo "## datesel: one request on a 1,000,000-line data.sot"
echo
"$build/bench/make_catalogue" 100000 > star.dat
printf "${answers_head}0\n" | "$eclfore" >/dev/null
head -n 1000000 data.dat > data.part
mv data.part data.dat
LC_ALL=C sort -s -t '\0' -k1.28,1.43 data.dat > data.sot
best_of "$runs" '15\n99\n' "$datesel"
set -- $best
listed=$(($(wc -l < obsday.dat) - 2))
echo "| data.sot lines | lines listed | wall s | user s | sys s | peak KiB | lines read/s |"
echo "|---|---|---|---|---|---|---|"
echo "| $(wc -l < data.sot) | $listed | $1 | $2 | $3 | $4 | $(per_second 1000000 "$1") |"
echo

echo "## Routines (Google Benchmark)"
echo
echo '```'
"$build/bench/routines_bench" --benchmark_filter='WriteForecastLine|CandidateTest|AppendFixed|ParseStarRecord|JdToLocalDate' 2>/dev/null |
  sed -n '/^Benchmark/,$p' | grep -v '^-'
echo '```'
echo
echo "- load average after: $(cut -d' ' -f1-3 /proc/loadavg)"

if [ -z "${WORK_DIR:-}" ]; then
  cd /
  rm -rf "$work"
fi
