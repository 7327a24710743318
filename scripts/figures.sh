# What scripts/bench.sh does with its figures: reads their targets from
# docs/performance.md, judges each figure line against its target, and samples
# a running program from /proc. Sourced, not run (tests/scripts checks it).

# A figure line as the measuring programs print it.
FIGURE_LINE='^[a-zA-Z][^:]*: [0-9.]+ [^,]+, ratio [0-9.]+ \(floor: .*\)$'

# The targets of docs/performance.md's table "The figures", one entry a
# figure: its name as a pattern (the table's N and <table> stand for any
# number and any name) and its target ratio, or "none" where the table has
# none yet.
FIGURE_TARGETS=()
load_targets() { # performance.md
    local name target
    FIGURE_TARGETS=()
    while IFS=$'\t' read -r name target; do
        [[ $target =~ ^[0-9]+(\.[0-9]+)?$ ]] || target=none
        FIGURE_TARGETS+=("$name"$'\t'"$target")
    done < <(awk -F'|' '
        /^## / { on = ($0 ~ /^## The figures/); next }
        on && /^\| *`/ {
            target = $5; gsub(/^ +| +$/, "", target)
            names = $2
            while (match(names, /`[^`]+`/)) {
                print substr(names, RSTART + 1, RLENGTH - 2) "\t" target
                names = substr(names, RSTART + RLENGTH)
            }
        }' "$1" | sed -e 's/<[^>]*>/*/g' -e 's/\bN\b/*/g')
}

# The target of a figure: a ratio, "none", or "?" when the table lacks it.
target_of() { # name
    local entry pattern
    for entry in "${FIGURE_TARGETS[@]}"; do
        pattern=${entry%%$'\t'*}
        # shellcheck disable=SC2053 # the table's name is a pattern
        if [[ $1 == $pattern ]]; then
            echo "${entry#*$'\t'}"
            return
        fi
    done
    echo "?"
}

# Prints a figure line with its target and the verdict, ok or over; counts
# the figures over their target, those judged, and those the table lacks.
FIGURES_OVER=0
FIGURES_JUDGED=0
FIGURES_UNLISTED=0
judge_figure() { # line
    local name=${1%%: *} ratio target
    ratio=$(sed -n 's/.*, ratio \([0-9.]*\) (floor: .*/\1/p' <<<"$1")
    target=$(target_of "$name")
    case $target in
    none) echo "$1, target: none yet" ;;
    "?")
        echo "$1, target: not in docs/performance.md"
        FIGURES_UNLISTED=$((FIGURES_UNLISTED + 1))
        ;;
    *)
        FIGURES_JUDGED=$((FIGURES_JUDGED + 1))
        if awk -v r="$ratio" -v t="$target" 'BEGIN { exit !(r <= t) }'; then
            echo "$1, target $target: ok"
        else
            echo "$1, target $target: over"
            FIGURES_OVER=$((FIGURES_OVER + 1))
        fi
        ;;
    esac
}

# The last line of a run.
figures_summary() {
    echo "$FIGURES_OVER of $FIGURES_JUDGED figures with a target over it$(
        [ "$FIGURES_UNLISTED" -eq 0 ] || echo "; $FIGURES_UNLISTED not in docs/performance.md")"
}

# CPU jiffies, resident and private KiB of a running process, "jiffies kib
# private"; fails
# when the process has ended, even while it waits to be reaped (a zombie
# keeps its /proc entry and its last counts).
proc_sample() { # pid
    local stat state jiffies kib private
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    # The name in parentheses may hold blanks: the fields after it count.
    stat=${stat##*) }
    read -r state _ _ _ _ _ _ _ _ _ _ utime stime _ <<<"$stat"
    case $state in Z | X | x) return 1 ;; esac
    jiffies=$((utime + stime))
    kib=$(awk '/^VmRSS/ { print $2 }' "/proc/$1/status" 2>/dev/null)
    [ -n "$kib" ] || return 1
    # Private pages: what the process holds that no other process shares.
    private=$(awk '/^Private_(Clean|Dirty):/ { n += $2 } END { print n + 0 }' \
        "/proc/$1/smaps_rollup" 2>/dev/null)
    echo "$jiffies $kib ${private:-0}"
}
