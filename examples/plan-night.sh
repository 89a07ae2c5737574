#!/usr/bin/env bash
# plan-night.sh: tonight's observing plan in one command, in the current folder:
# the month's forecast (eclfore), the sort into data.sot, the night's daily list
# (datesel), its copy to obsday2.dat and the night plan with its chart and observing
# lists (nightmark). The programs are taken from PATH. See plan-night.sh(1).
set -u

me="plan-night.sh"

usage() {
  cat <<'EOF'
usage: plan-night.sh [--date=YYYY-MM-DD] [--start=HH:MM|dusk] [--site=SITE]
                     [--horizon=FILE] [--zone=ZONE] [--lowest=DEG] [--condition=N]
                     [--sky=all|south] [--export=FORMATS] [--sun-below=DEG]
                     [--moon-distance=DEG] [--epochs=SCALE] [--of-date] [--quiet]
                     [--coverage=PERCENT] [--baseline=MINUTES] [--csv] [--ics]

Plans the night of --date (default: today in the zone) in the current folder, which
holds star.dat and condition.dat (and recent_obs.txt if kept):
  eclfore    the date's month            -> data.dat
  sort       by night date and time      -> data.sot
  datesel    the date's night            -> obsday.dat, copied to obsday2.dat
  nightmark  from --start (default dusk, the end of civil twilight), with --chart
             and --export                -> obsday3.txt, lplanet.adf, lightpl.mrk,
                                            obsday3.svg and the observing lists
--site (default tokyo, nightmark's own site) and --horizon go to eclfore and
nightmark, --zone to all three programs;
--lowest (default 20), --condition (default 0), --sun-below, --moon-distance,
--epochs, --quiet, --baseline, --csv and --ics to eclfore; --sky (default all)
and --export (default stellarium,skychart,skysafari) to nightmark; --of-date and
--coverage to both. The zone also
gives today's date: a zone name (Europe/Berlin) or an offset (+09:00); without
it, Asia/Tokyo, the programs' own clock.

Stops at the first step that fails, with that step's message and exit status;
2 for a bad option of its own.
EOF
}

refuse() {
  echo "$me: $1" >&2
  usage >&2
  exit 2
}

date_given=""
site_given=""
start="dusk"
zone=""
lowest="20"
condition="0"
sky="all"
export_formats="stellarium,skychart,skysafari"
sited=()     # to eclfore and nightmark
zoned=()     # to every program
forecast=()  # to eclfore only
plan=()      # to nightmark only

for arg in "$@"; do
  case $arg in
    --help) usage; exit 0 ;;
    --date=*) date_given=${arg#*=} ;;
    --start=*) start=${arg#*=} ;;
    --site=*) site_given=yes; sited+=("$arg") ;;
    --horizon=*) sited+=("$arg") ;;
    --zone=*) zone=${arg#*=}; zoned+=("$arg") ;;
    --lowest=*) lowest=${arg#*=} ;;
    --condition=*) condition=${arg#*=} ;;
    --sky=*) sky=${arg#*=} ;;
    --export=*) export_formats=${arg#*=} ;;
    --sun-below=* | --moon-distance=* | --epochs=* | --quiet) forecast+=("$arg") ;;
    --baseline=* | --csv | --ics) forecast+=("$arg") ;;
    --of-date | --coverage=*) forecast+=("$arg"); plan+=("$arg") ;;
    *) refuse "unknown option '$arg'" ;;
  esac
done

# Today's date in the zone: a zone name is a TZ as it is; an offset east of Greenwich
# (+09:00) is the POSIX TZ "UTC-09:00", whose sign counts the other way.
tz="Asia/Tokyo"
case $zone in
  "") ;;
  [+-][0-9][0-9]:[0-9][0-9])
    if [ "${zone:0:1}" = "+" ]; then tz="UTC-${zone:1}"; else tz="UTC+${zone:1}"; fi ;;
  *) tz=$zone ;;
esac
if [ -z "$date_given" ]; then
  date_given=$(TZ=$tz date +%Y-%m-%d) || exit 1
fi
if ! [[ $date_given =~ ^([0-9]{4})-([0-9]{2})-([0-9]{2})$ ]]; then
  refuse "--date=$date_given: wants YYYY-MM-DD"
fi
year=$((10#${BASH_REMATCH[1]}))
month=$((10#${BASH_REMATCH[2]}))
day=$((10#${BASH_REMATCH[3]}))

# Without --site, the forecast is asked for Tokyo, nightmark's own site.
if [ -z "$site_given" ]; then forecast+=("--site=tokyo"); fi

# Each step's output goes to a temporary file beside it first, renamed over the old
# one only when complete.
sorted_tmp=".data.sot.$$"
copy_tmp=".obsday2.dat.$$"
trap 'rm -f "$sorted_tmp" "$copy_tmp"' EXIT

# A step that fails ends the run with its status; its message is its own.
step() {
  "$@" </dev/null
  local status=$?
  if [ $status -ne 0 ]; then exit $status; fi
}

step eclfore --year="$year" --month="$month" --lowest="$lowest" --condition="$condition" \
  ${sited[@]+"${sited[@]}"} ${zoned[@]+"${zoned[@]}"} ${forecast[@]+"${forecast[@]}"}
step env LC_ALL=C sort -s -t '\0' -k1.28,1.43 -o "$sorted_tmp" data.dat
step mv -f "$sorted_tmp" data.sot
step datesel --day="$day" ${zoned[@]+"${zoned[@]}"}
step cp obsday.dat "$copy_tmp"
step mv -f "$copy_tmp" obsday2.dat
step nightmark --start="$start" --sky="$sky" --chart --export="$export_formats" \
  ${sited[@]+"${sited[@]}"} ${zoned[@]+"${zoned[@]}"} ${plan[@]+"${plan[@]}"}
