# Timing helpers of the whole-run benchmarks, sourced by run_benchmarks.sh and
# against_reference.sh (POSIX sh). Needs $time_cmd (/usr/bin/time).

# best_of RUNS ANSWERS PROGRAM [ARG...]: runs PROGRAM with ANSWERS on standard input, keeps
# the fastest run's "wall user sys peak_kb" in $best (wall in ms resolution from the
# clock; user, system and peak memory from /usr/bin/time).
# Its own variables carry the prefix best_: POSIX sh has no local variables, and a
# caller's loop variable of the same name would change under it.
best_of() {
  best=""
  best_i=0
  best_runs=$1
  best_answers=$2
  shift 2
  while [ "$best_i" -lt "$best_runs" ]; do
    # The previous run's bytes reach the disk first: no run waits on another's.
    sync
    best_start=$(date +%s%N)
    printf "$best_answers" | "$time_cmd" -f '%U %S %M' -o time.txt "$@" >/dev/null
    best_end=$(date +%s%N)
    best_wall=$(awk -v a="$best_start" -v b="$best_end" 'BEGIN { printf "%.3f", (b - a) / 1e9 }')
    if [ -z "$best" ] || awk -v a="$best_wall" -v b="${best%% *}" 'BEGIN { exit !(a < b) }'; then
      best="$best_wall $(cat time.txt)"
    fi
    best_i=$((best_i + 1))
  done
}

