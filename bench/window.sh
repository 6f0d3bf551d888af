#!/usr/bin/env bash
# The editor window measured from outside, as a user sees it: under Xvfb with
# openbox, from the launch (or the key) until the window exists and the process
# has had no CPU tick for 0.4 s. Each figure is the median of BENCH_REPS runs.
# The build of today's main (before the long-line and tool work) and Geany run
# beside it on the same files when they are given or installed.
#
# usage: bench/window.sh ORVEX GEN GUI_BENCH WORKDIR [TODAY_ORVEX]
#
#   ORVEX        the editor to measure
#   GEN          orvex_bench_gen, which writes the files
#   GUI_BENCH    orvex_gui_bench, which writes a config.dat without splash or tips
#   WORKDIR      where the files are kept between runs
#   TODAY_ORVEX  the editor built from the commit the figures are compared with
#
# Environment: BENCH_REPS (default 3), BENCH_TEXT_MB (default 100),
# BENCH_SKIP_HUGE_LINE=1 leaves out the 100 MB line (a minute per run today),
# BENCH_TIMEOUT (default 400) is how long a window may take to come to rest.

set -euo pipefail

die() {
    echo "window bench: $*" >&2
    exit 2
}
[[ $# -ge 4 && $# -le 5 ]] || die "usage: $0 ORVEX GEN GUI_BENCH WORKDIR [TODAY_ORVEX]"

script_dir=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")" && pwd)
ORVEX=$(realpath -- "$1")
GEN=$(realpath -- "$2")
GUI_BENCH=$(realpath -- "$3")
mkdir -p -- "$4"
WORKDIR=$(realpath -- "$4")
TODAY=${5:+$(realpath -- "$5")}
REPS=${BENCH_REPS:-3}
TEXT_MB=${BENCH_TEXT_MB:-100}
IDLE_MS=400
SETTLE_S=2
TIMEOUT_S=${BENCH_TIMEOUT:-400}

for tool in Xvfb openbox xdotool python3; do
    command -v "$tool" >/dev/null || die "$tool is needed (scripts/install-deps.sh --bench)"
done
GEANY=$(command -v geany || true)
TICK_HZ=$(getconf CLK_TCK)
who=

# ------------------------------------------------------------------ files

text_file=$WORKDIR/text_$((TEXT_MB * 1000000)).txt
line10_file=$WORKDIR/line_10000000.txt
line100_file=$WORKDIR/line_100000000.txt
make_file() { # MODE PATH BYTES
    [[ -f $2 && $(stat -c %s -- "$2") == "$3" ]] && return
    echo "generating $2..."
    "$GEN" "$1" "$2.part" "$3" || die "data generation failed"
    mv -f -- "$2.part" "$2"
}
make_file text "$text_file" $((TEXT_MB * 1000000))
make_file line "$line10_file" 10000000
[[ ${BENCH_SKIP_HUGE_LINE:-0} == 1 ]] || make_file line "$line100_file" 100000000

tmp=$(mktemp -d "$WORKDIR/window.XXXXXX")
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null || true; done
    rm -rf -- "$tmp"
}
trap cleanup EXIT

# Each editor runs from a directory of its own: the program keeps config.dat and
# its recovery journals beside itself.
install_orvex() { # BINARY DIR
    mkdir -p -- "$2"
    cp -- "$1" "$2/orvex"
    "$GUI_BENCH" --quiet-config "$2/config.dat" || die "cannot write $2/config.dat"
}
install_orvex "$ORVEX" "$tmp/new"
[[ -n $TODAY ]] && install_orvex "$TODAY" "$tmp/today"

# ---------------------------------------------------------------- display

mkfifo -- "$tmp/displayfd"
exec {fd}<>"$tmp/displayfd"
Xvfb -displayfd "$fd" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
pids+=($!)
disown
read -r -t 20 -u "$fd" display_number || die "Xvfb did not start"
exec {fd}<&-
export DISPLAY=:$display_number
openbox >/dev/null 2>&1 &
pids+=($!)
disown
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# ---------------------------------------------------------------- helpers

NOW_US=0
now_us() {
    local t=${EPOCHREALTIME/[.,]/}
    NOW_US=$((10#$t))
}

# wait_idle PID START_US QUIET_MS [--window]: returns once the process has had no
# CPU tick for QUIET_MS (and, with --window, shows a window); sets IDLE_US to the
# moment of its last tick, counted from START_US.
IDLE_US=0
WINDOW_ID=
wait_idle() {
    local answer window
    answer=$(python3 "$script_dir/wait_idle.py" "$1" "$2" "$3" "$TIMEOUT_S" "${4:-}") || return 1
    read -r IDLE_US window <<<"$answer"
    [[ -n $window ]] && WINDOW_ID=$window
    return 0
}

peak_mb() { # PID -> the process's peak resident size, in MB
    local kb
    kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$1/status")
    echo $(((kb * 1024 + 500000) / 1000000))
}

# launch WHO FILE: starts the editor on FILE, waits for its window and its first
# idle moment; sets PID, OPEN_US and OPEN_MB.
PID=
launch() {
    local who=$1 file=$2
    WINDOW_ID=
    now_us
    local start=$NOW_US
    case $who in
    new | today)
        rm -rf -- "$tmp/$who/recuperation"
        "$tmp/$who/orvex" "$file" >/dev/null 2>&1 &
        ;;
    geany)
        rm -rf -- "$tmp/geany-config"
        "$GEANY" -i -c "$tmp/geany-config" "$file" >/dev/null 2>&1 &
        ;;
    esac
    PID=$!
    pids+=("$PID")
    wait_idle "$PID" "$start" "$IDLE_MS" --window || return 1
    OPEN_US=$IDLE_US
    OPEN_MB=$(peak_mb "$PID")
}
finish() {
    kill -9 "$PID" 2>/dev/null || true
    wait "$PID" 2>/dev/null || true
}

# press KEYS: the key to the window, timed until the next idle moment; sets KEY_US.
# The window is left to settle first, so that the journal written after the last
# change is not counted against this key.
press() {
    # Not a longer rest: a blinking caret on a long line costs a few ticks every
    # half second.
    sleep "$SETTLE_S"
    now_us
    wait_idle "$PID" "$NOW_US" "$IDLE_MS" || return 1
    xdotool windowactivate --sync "$WINDOW_ID" >/dev/null 2>&1 || true
    now_us
    local start=$NOW_US
    xdotool key --clearmodifiers "$@"
    wait_idle "$PID" "$start" "$IDLE_MS" || return 1
    KEY_US=$IDLE_US
}

declare -A FIG
median() { # values... -> the median
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}
record() { # KEY VALUES...
    local key=$1
    shift
    FIG[$key]=$(median "$@")
}

# A session on the 100 MB text: open, upper case, undo, redo.
text_session() { # WHO
    local who=$1 i
    local -a open=() mb=() upper=() undo=() redo=()
    for ((i = 0; i < REPS; i++)); do
        launch "$who" "$text_file" || die "$who: no idle moment on the text"
        open+=("$OPEN_US")
        mb+=("$OPEN_MB")
        if [[ $who == geany ]]; then
            press ctrl+a && press ctrl+alt+u || die "$who: no idle moment"
            upper+=("$KEY_US")
            press ctrl+z || die "$who: no idle moment"
            undo+=("$KEY_US")
            press ctrl+y || die "$who: no idle moment"
            redo+=("$KEY_US")
        else
            press ctrl+alt+a || die "$who: no idle moment"
            upper+=("$KEY_US")
            press ctrl+z || die "$who: no idle moment"
            undo+=("$KEY_US")
            press ctrl+shift+z || die "$who: no idle moment"
            redo+=("$KEY_US")
        fi
        finish
    done
    record "open/$who" "${open[@]}"
    record "openmb/$who" "${mb[@]}"
    record "upper/$who" "${upper[@]}"
    record "undo/$who" "${undo[@]}"
    record "redo/$who" "${redo[@]}"
}

# A session on a long line: open, then a key typed at its start.
line_session() { # WHO FILE ROW
    local who=$1 file=$2 row=$3 i
    local -a open=() key=()
    # A window that is never idle (a caret that blinks on the line draws all of it
    # each time) is given up on after its first run.
    for ((i = 0; i < REPS; i++)); do
        if ! launch "$who" "$file"; then
            FIG[$row/$who]=never
            finish
            return
        fi
        open+=("$OPEN_US")
        if press x; then key+=("$KEY_US"); else FIG[${row}key/$who]=never; fi
        finish
        [[ ${FIG[${row}key/$who]:-} == never ]] && break
    done
    record "$row/$who" "${open[@]}"
    [[ ${FIG[${row}key/$who]:-} == never ]] || record "${row}key/$who" "${key[@]}"
}

editors=(new)
[[ -n $TODAY ]] && editors+=(today)
[[ -n $GEANY ]] && editors+=(geany)

echo "editor window, measured from outside (Xvfb + openbox), median of $REPS"
for who in "${editors[@]}"; do
    echo "  $who: 100 MB text..."
    text_session "$who"
    echo "  $who: one 10 MB line..."
    line_session "$who" "$line10_file" line10
    if [[ ${BENCH_SKIP_HUGE_LINE:-0} != 1 && $who != geany ]]; then
        echo "  $who: one 100 MB line..."
        line_session "$who" "$line100_file" line100
    fi
done

# ---------------------------------------------------------------- report

secs() { # KEY -> seconds, or -
    local v=${FIG[$1]:-}
    [[ -n $v ]] || { printf -- -; return; }
    [[ $v != never ]] || { printf 'no rest'; return; }
    printf '%d.%02d' $((v / 1000000)) $(((v / 10000) % 100))
}
ratio() { # A B -> A/B
    local a=${FIG[$1]:-} b=${FIG[$2]:-}
    number "$1" && number "$2" && ((b > 0)) || { printf -- -; return; }
    local r=$(((a * 100 + b / 2) / b))
    printf '%d.%02d' $((r / 100)) $((r % 100))
}
verdict() { # CONDITION-RESULT
    if "$@"; then printf PASS; else printf MISS; fi
}
number() { [[ ${FIG[$1]:-} =~ ^[0-9]+$ ]]; }
at_most_us() { number "$1" && ((FIG[$1] <= $2)); }
at_most_ratio() { # A B NUM DEN: A/B <= NUM/DEN
    number "$1" && number "$2" && ((FIG[$1] * $4 <= FIG[$2] * $3))
}
file_mb=$TEXT_MB
mb_ok() { [[ -n ${FIG[openmb/new]:-} ]] && ((FIG[openmb/new] * 2 <= file_mb * 3)); }

fmt='  %-34s %9s %9s %9s   %s\n'
echo
# shellcheck disable=SC2059
printf "$fmt" "row" "orvex" "today" "geany" "target"
# shellcheck disable=SC2059
{
printf "$fmt" "open one 10 MB line" "$(secs line10/new)" "$(secs line10/today)" "$(secs line10/geany)" \
    "<= 0.35x geany: $(ratio line10/new line10/geany)x $(verdict at_most_ratio line10/new line10/geany 35 100)"
printf "$fmt" "open one 100 MB line" "$(secs line100/new)" "$(secs line100/today)" "-" \
    "<= 10 s $(verdict at_most_us line100/new 10000000)"
printf "$fmt" "key in the 10 MB line" "$(secs line10key/new)" "$(secs line10key/today)" "$(secs line10key/geany)" \
    "measured"
printf "$fmt" "key in the 100 MB line" "$(secs line100key/new)" "$(secs line100key/today)" "-" "measured"
printf "$fmt" "open ${TEXT_MB} MB text" "$(secs open/new)" "$(secs open/today)" "$(secs open/geany)" ""
printf "$fmt" "upper case, ${TEXT_MB} MB" "$(secs upper/new)" "$(secs upper/today)" "$(secs upper/geany)" \
    "<= 0.5 s $(verdict at_most_us upper/new 500000)"
printf "$fmt" "its undo" "$(secs undo/new)" "$(secs undo/today)" "$(secs undo/geany)" \
    "<= 0.5 s $(verdict at_most_us undo/new 500000)"
printf "$fmt" "its redo" "$(secs redo/new)" "$(secs redo/today)" "$(secs redo/geany)" \
    "<= 0.5 s $(verdict at_most_us redo/new 500000)"
printf "$fmt" "open: peak memory, MB" "${FIG[openmb/new]:--}" "${FIG[openmb/today]:--}" "${FIG[openmb/geany]:--}" \
    "<= 1.5x the file ($((file_mb * 3 / 2)) MB) $(verdict mb_ok)"
}
echo "  (geany: select all, then its toggle case for upper case; its undo and redo keys)"
echo "  (CPU ticks every $((1000 / TICK_HZ)) ms; times are to the last tick before ${IDLE_MS} ms of rest)"
