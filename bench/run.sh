#!/usr/bin/env bash
# Batch-mode benchmark: times `orvex FILE OPT` against coreutils reference
# commands doing the same work on the same data, in the same run.
#
# usage: bench/run.sh ORVEX_BINARY GEN_BINARY [WORKDIR [TODAY_ORVEX]]
#
#   ORVEX_BINARY  the orvex executable (copied into a temporary directory and
#                 run from there, since it writes config.dat next to itself)
#   GEN_BINARY    the data generator (orvex_bench_gen, from bench/gen_data.cpp)
#   WORKDIR       where generated inputs are cached (default: build/bench-data
#                 in the repository)
#   TODAY_ORVEX   an older build (bench/today.sh makes one): its accent removal
#                 and sort run beside the others, in the same run
#
# Optional environment overrides (for quick trial runs on small data):
#   BENCH_TEXT_BYTES  size of the text file     (default 200000000)
#   BENCH_LINES       lines in the sorting file (default 5000000)
#   BENCH_REPS        runs per command, best is kept (default 3)
#
# Exit status: 0 when every orvex run succeeded (target misses are only
# reported), 1 when orvex failed, 2 on usage or setup errors.

set -euo pipefail

usage() {
    echo "usage: $0 ORVEX_BINARY GEN_BINARY [WORKDIR [TODAY_ORVEX]]" >&2
    exit 2
}
die() {
    echo "bench: $*" >&2
    exit 2
}

[[ $# -ge 2 && $# -le 4 ]] || usage

script_dir=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")" && pwd)
repo_root=$(cd -- "$script_dir/.." && pwd)

ORVEX=$1
GEN=$2
WORKDIR=${3:-$repo_root/build/bench-data}
TODAY=${4:-}

TEXT_BYTES=${BENCH_TEXT_BYTES:-200000000}
LINE_COUNT=${BENCH_LINES:-5000000}
REPS=${BENCH_REPS:-3}

for v in TEXT_BYTES LINE_COUNT REPS; do
    [[ ${!v} =~ ^[0-9]+$ ]] || die "$v must be a non-negative integer (got '${!v}')"
done
((REPS >= 1)) || die "BENCH_REPS must be at least 1"

[[ -f $ORVEX && -x $ORVEX ]] || die "orvex binary not found or not executable: $ORVEX"
[[ -f $GEN && -x $GEN ]] || die "generator binary not found or not executable: $GEN"
[[ -z $TODAY || (-f $TODAY && -x $TODAY) ]] || die "older orvex binary not found or not executable: $TODAY"
for tool in cp cmp tr sort sed awk cat wc stat sync mktemp env; do
    command -v "$tool" >/dev/null 2>&1 || die "required tool not found: $tool"
done

ORVEX=$(cd -- "$(dirname -- "$ORVEX")" && pwd)/$(basename -- "$ORVEX")
GEN=$(cd -- "$(dirname -- "$GEN")" && pwd)/$(basename -- "$GEN")
mkdir -p -- "$WORKDIR"
WORKDIR=$(cd -- "$WORKDIR" && pwd)

# GNU time gives the peak resident set size (%M, in KiB).
TIME_BIN=/usr/bin/time
have_gtime=0
if [[ -x $TIME_BIN ]] && "$TIME_BIN" -f %M -o /dev/null true >/dev/null 2>&1; then
    have_gtime=1
fi

# ---------------------------------------------------------------- input data

text_file=$WORKDIR/text_${TEXT_BYTES}.txt
lines_file=$WORKDIR/lines_${LINE_COUNT}.txt

if [[ ! -f $text_file || $(stat -c %s -- "$text_file") != "$TEXT_BYTES" ]]; then
    echo "generating $text_file ($TEXT_BYTES bytes)..."
    "$GEN" text "$text_file.part" "$TEXT_BYTES" || die "data generation failed"
    mv -f -- "$text_file.part" "$text_file"
fi
if [[ ! -f $lines_file || $(wc -l <"$lines_file") -ne $LINE_COUNT ]]; then
    echo "generating $lines_file ($LINE_COUNT lines)..."
    "$GEN" lines "$lines_file.part" "$LINE_COUNT" || die "data generation failed"
    mv -f -- "$lines_file.part" "$lines_file"
fi

# ------------------------------------------------------------ scratch space

tmp=$(mktemp -d "$WORKDIR/run.XXXXXX")
# shellcheck disable=SC2317
cleanup() { rm -rf -- "$tmp"; }
trap cleanup EXIT

orvex_bin=$tmp/orvex
cp -- "$ORVEX" "$orvex_bin"
today_bin=
if [[ -n $TODAY ]]; then
    # A directory of its own: each build writes its config.dat next to itself.
    mkdir -p -- "$tmp/today"
    today_bin=$tmp/today/orvex
    cp -- "$TODAY" "$today_bin"
fi
work=$tmp/work.txt
ref_out=$tmp/ref.out
rss_file=$tmp/rss
err_log=$tmp/stderr.log

# ----------------------------------------------------------------- helpers

NOW=0
now_us() {
    local t=${EPOCHREALTIME:-}
    if [[ -n $t ]]; then
        t=${t/[.,]/}
        NOW=$((10#$t))
    else
        NOW=$(($(date +%s%N) / 1000))
    fi
}

# run_measured STDIN_FILE_OR_EMPTY STDOUT_FILE CMD...
# Sets RUN_US (wall time, microseconds) and RUN_KB (peak RSS in KiB, or "").
# Returns the command's exit status.
RUN_US=0
RUN_KB=
run_measured() {
    local in=$1 out=$2 rc=0 t0
    shift 2
    local -a pfx=()
    if ((have_gtime)); then pfx=("$TIME_BIN" -f %M -o "$rss_file"); fi
    : >"$err_log"
    now_us
    t0=$NOW
    if [[ -n $in ]]; then
        "${pfx[@]}" "$@" <"$in" >"$out" 2>>"$err_log" || rc=$?
    else
        "${pfx[@]}" "$@" </dev/null >"$out" 2>>"$err_log" || rc=$?
    fi
    now_us
    RUN_US=$((NOW - t0))
    RUN_KB=
    if ((have_gtime)) && [[ -s $rss_file ]]; then
        RUN_KB=$(tail -n 1 -- "$rss_file")
        [[ $RUN_KB =~ ^[0-9]+$ ]] || RUN_KB=
    fi
    return "$rc"
}

# Results per case key; T_ for the older build, on the cases that run it.
declare -A O_US O_KB R_US R_KB T_US T_KB FILE_B CHECK

# bench_case KEY INPUT OPT COMPARE -- REF_STDIN REF_CMD...
#   OPT      orvex option, or "" for a reference-only row
#   COMPARE  1: compare orvex output with the reference output byte for byte
#   REF_STDIN file fed to the reference on stdin, or "" for none
# orvex and reference runs are interleaved; the best time and the highest
# peak RSS over BENCH_REPS runs are kept. With PIPE_FORM=1, orvex runs in a pipe
# (`orvex - OPT <INPUT >OUT`) instead of on a copy of INPUT. With WITH_TODAY=1 and
# an older build given, that build runs on a copy of INPUT too.
bench_case() {
    local key=$1 input=$2 opt=$3 compare=$4
    shift 5
    local ref_in=$1
    shift
    local i best_o='' best_r='' kb_o='' kb_r='' best_t='' kb_t=''
    local -a orvex_run

    FILE_B[$key]=$(stat -c %s -- "$input")
    for ((i = 0; i < REPS; i++)); do
        if [[ -n $opt ]]; then
            if ((${PIPE_FORM:-0})); then
                rm -f -- "$work"
                orvex_run=(run_measured "$input" "$work" "$orvex_bin" - "$opt")
            else
                cp -- "$input" "$work"
                sync -- "$work" 2>/dev/null || sync
                orvex_run=(run_measured "" /dev/null "$orvex_bin" "$work" "$opt")
            fi
            if ! "${orvex_run[@]}"; then
                echo "bench: orvex failed on case '$key' (option $opt)" >&2
                sed -n '1,20p' -- "$err_log" >&2
                exit 1
            fi
            if [[ -z $best_o || $RUN_US -lt $best_o ]]; then best_o=$RUN_US; fi
            if [[ -n $RUN_KB && (-z $kb_o || $RUN_KB -gt $kb_o) ]]; then kb_o=$RUN_KB; fi
        fi
        if [[ -n $today_bin && ${WITH_TODAY:-0} == 1 ]]; then
            cp -- "$input" "$tmp/today.txt"
            sync -- "$tmp/today.txt" 2>/dev/null || sync
            if ! run_measured "" /dev/null "$today_bin" "$tmp/today.txt" "$opt"; then
                echo "bench: the older orvex failed on case '$key' (option $opt)" >&2
                sed -n '1,20p' -- "$err_log" >&2
                exit 1
            fi
            if [[ -z $best_t || $RUN_US -lt $best_t ]]; then best_t=$RUN_US; fi
            if [[ -n $RUN_KB && (-z $kb_t || $RUN_KB -gt $kb_t) ]]; then kb_t=$RUN_KB; fi
            rm -f -- "$tmp/today.txt"
        fi
        rm -f -- "$ref_out"
        if ! run_measured "$ref_in" "$ref_out" "$@"; then
            echo "bench: reference command failed on case '$key': $*" >&2
            sed -n '1,5p' -- "$err_log" >&2
            best_r=
            break
        fi
        if [[ -z $best_r || $RUN_US -lt $best_r ]]; then best_r=$RUN_US; fi
        if [[ -n $RUN_KB && (-z $kb_r || $RUN_KB -gt $kb_r) ]]; then kb_r=$RUN_KB; fi
    done
    O_US[$key]=$best_o
    O_KB[$key]=$kb_o
    R_US[$key]=$best_r
    R_KB[$key]=$kb_r
    T_US[$key]=$best_t
    T_KB[$key]=$kb_t
    CHECK[$key]=-
    if [[ $compare == 1 && -n $opt && -n $best_r ]]; then
        if cmp -s -- "$work" "$ref_out"; then CHECK[$key]=same; else CHECK[$key]=differs; fi
    fi
    rm -f -- "$work" "$ref_out"
}

fmt_s() { # microseconds -> seconds with 3 decimals
    [[ -n $1 ]] || { printf 'n/a'; return; }
    printf '%d.%03d' $(($1 / 1000000)) $((($1 / 1000) % 1000))
}
fmt_mb_b() { # bytes -> MB (10^6) with 1 decimal
    local t=$((($1 + 50000) / 100000))
    printf '%d.%d' $((t / 10)) $((t % 10))
}
fmt_mb_kb() { # KiB -> MB
    [[ -n $1 ]] || { printf 'n/a'; return; }
    fmt_mb_b $(($1 * 1024))
}
fmt_ratio() { # a b -> a/b with 2 decimals
    [[ -n $1 && -n $2 && $2 -gt 0 ]] || { printf -- '-'; return; }
    local r=$((($1 * 100 + $2 / 2) / $2))
    printf '%d.%02d' $((r / 100)) $((r % 100))
}

# With an older build, two more columns give its time and peak where it ran.
row_fmt='%-14s %-26s %8s %8s %6s %9s %7s %8s  %s\n'
[[ -z $today_bin ]] || row_fmt='%-14s %-26s %8s %8s %6s %9s %7s %8s %8s %9s  %s\n'
print_header() {
    local -a today_cols=()
    [[ -z $today_bin ]] || today_cols=("today s" "today MB")
    # shellcheck disable=SC2059
    printf "$row_fmt" case reference "orvex s" "ref s" ratio "orvex MB" "ref MB" "file MB" "${today_cols[@]}" output
}
# print_row LABEL REF_LABEL ORVEX_KEY REF_KEY
# The "output" column (orvex output byte-identical to the reference output)
# is only filled for cases whose reference does exactly the same job.
print_row() {
    local o=${O_US[$3]:-} r=${R_US[$4]:-} t=${T_US[$3]:-}
    local -a today_cols=()
    if [[ -n $today_bin ]]; then
        today_cols=("$( [[ -n $t ]] && fmt_s "$t" || printf -- - )"
            "$( [[ -n $t ]] && fmt_mb_kb "${T_KB[$3]:-}" || printf -- - )")
    fi
    # shellcheck disable=SC2059
    printf "$row_fmt" "$1" "$2" "$( [[ -n $o ]] && fmt_s "$o" || printf -- - )" \
        "$(fmt_s "$r")" "$(fmt_ratio "$o" "$r")" \
        "$( [[ -n $o ]] && fmt_mb_kb "${O_KB[$3]:-}" || printf -- - )" \
        "$(fmt_mb_kb "${R_KB[$4]:-}")" "$(fmt_mb_b "${FILE_B[$4]}")" "${today_cols[@]}" \
        "$( [[ $3 == "$4" ]] && printf '%s' "${CHECK[$3]:--}" || printf -- - )"
}

# ------------------------------------------------------------------- cases

echo "orvex batch benchmark: $ORVEX"
echo "data: $(fmt_mb_b "$(stat -c %s -- "$text_file")") MB text, $LINE_COUNT lines" \
    "($(fmt_mb_b "$(stat -c %s -- "$lines_file")") MB); best of $REPS;" \
    "peak RSS: $([[ $have_gtime == 1 ]] && echo "GNU time" || echo "n/a (no GNU time)")"
echo

accent_from='àâäèéêëîïôöùûüÿ'
accent_to='aaaeeeeiioouuuy'

bench_case cat "$text_file" "" 0 -- "$text_file" cat
bench_case upper "$text_file" 1 1 -- "$text_file" env LC_ALL=C tr a-z A-Z
WITH_TODAY=1 bench_case sort "$lines_file" 3 0 -- "" env LC_ALL=C sort -f "$lines_file"
WITH_TODAY=1 bench_case accents "$text_file" 5 1 -- "$text_file" \
    env LC_ALL=C.UTF-8 sed "y/$accent_from/$accent_to/"
bench_case blanks "$text_file" 6 0 -- "$text_file" env LC_ALL=C tr -d ' '
# shellcheck disable=SC2016
bench_case pad "$text_file" 7 0 -- "" env LC_ALL=C awk \
    'NR == FNR { n = length($0); if (n > m) m = n; next } { printf("%-" m "s\n", $0) }' \
    "$text_file" "$text_file"
bench_case cipher "$text_file" 8 0 -- "$text_file" env LC_ALL=C tr '\000-\377' '\007-\377\000-\006'
# orvex makes every write durable (flushed to disk, then renamed over the file):
# a save-only run ("x") against tr followed by a flush of its output shows that cost.
bench_case durable "$text_file" x 0 -- "$text_file" env LC_ALL=C sh -c 'tr a-z A-Z && sync /dev/stdout'
# The pipe form reads standard input and writes standard output, as the references do.
PIPE_FORM=1 bench_case upper_pipe "$text_file" 1 1 -- "$text_file" env LC_ALL=C tr a-z A-Z
PIPE_FORM=1 bench_case sort_pipe "$lines_file" 3 0 -- "$lines_file" env LC_ALL=C sort -f

print_header
print_row "floor"        "cat"                  cat     cat
print_row "1 upper"      "tr a-z A-Z"           upper   upper
print_row "3 sort asc"   "LC_ALL=C sort -f"     sort    sort
print_row "5 accents"    "sed y/.../ (C.UTF-8)" accents accents
print_row "5 accents"    "tr a-z A-Z (floor)"   accents upper
print_row "6 blanks"     "tr -d ' '"            blanks  blanks
print_row "7 pad"        "awk two-pass printf"  pad     pad
print_row "8 encrypt"    "tr byte rotation"     cipher  cipher
print_row "x save only"  "tr a-z A-Z + sync"    durable durable
print_row "1 upper"      "tr a-z A-Z + sync"    upper   durable
print_row "5 accents"    "tr a-z A-Z + sync"    accents durable
print_row "- 1 upper"    "tr a-z A-Z (pipe)"    upper_pipe upper_pipe
print_row "- 3 sort asc" "LC_ALL=C sort -f (pipe)" sort_pipe sort_pipe

# ----------------------------------------------------------------- targets

echo
echo "targets (informational):"
# check_ratio LABEL ORVEX_KEY REF_KEY LIMIT_NUM LIMIT_DEN LIMIT_TEXT
check_ratio() {
    local o=${O_US[$2]:-} r=${R_US[$3]:-} verdict
    if [[ -z $o || -z $r || $r -le 0 ]]; then
        verdict=n/a
    elif ((o * $5 <= r * $4)); then
        verdict=PASS
    else
        verdict=MISS
    fi
    printf '  %-32s ratio %5s  (target <= %s)  %s\n' "$1" "$(fmt_ratio "$o" "$r")" "$6" "$verdict"
}
check_ratio "case (1) vs tr a-z A-Z"        upper   upper  3 2 1.5
check_ratio "accents (5) vs tr a-z A-Z"     accents upper  11 10 1.1
check_ratio "blanks (6) vs tr -d ' '"       blanks  blanks 3 2 1.5
check_ratio "cipher (8) vs tr rotation"     cipher  cipher 3 2 1.5
check_ratio "sort (3) vs LC_ALL=C sort -f"  sort    sort   1 2 0.5
check_ratio "pipe - 1 vs tr a-z A-Z"        upper_pipe upper_pipe 3 2 1.5
check_ratio "pipe - 3 vs LC_ALL=C sort -f"  sort_pipe  sort_pipe  1 1 1.0

kb=${O_KB[sort]:-}
fb=${FILE_B[sort]}
if [[ -z $kb ]]; then
    verdict=n/a
elif ((kb * 1024 <= 2 * fb)); then
    verdict=PASS
else
    verdict=MISS
fi
printf '  %-32s peak %s MB  (target <= 2 x %s MB = %s MB)  %s\n' "sort (3) peak memory" \
    "$(fmt_mb_kb "$kb")" "$(fmt_mb_b "$fb")" "$(fmt_mb_b $((2 * fb)))" "$verdict"

exit 0
