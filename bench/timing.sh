# Timing helpers of the whole-run benchmarks, sourced by run_benchmarks.sh and
# against_reference.sh (POSIX sh). Needs $time_cmd (/usr/bin/time).

# best_of RUNS ANSWERS PROGRAM [ARG...]: runs PROGRAM with ANSWERS on standard input, keeps
# the fastest run's "wall user sys peak_kb" in $best (wall in ms resolution from the
# clock; user, system and peak memory from /usr/bin/time).
best_of() {
  best=""
  i=0
  n=$1
  answers=$2
  shift 2
  while [ "$i" -lt "$n" ]; do
    # The previous run's bytes reach the disk first: no run waits on another's.
    sync
    start=$(date +%s%N)
    printf "$answers" | "$time_cmd" -f '%U %S %M' -o time.txt "$@" >/dev/null
    end=$(date +%s%N)
    wall=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
    if [ -z "$best" ] || awk -v a="$wall" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
      best="$wall $(cat time.txt)"
    fi
    i=$((i + 1))
  done
}

