#!/bin/sh
# start-card.sh - bring the simulated card up in a Wine prefix at machine
# start: install razuDov.sys as a kernel service (once), start it, and power
# the card up with its scenario and the network driver's registry
# parameters, as the real driver configures the card at boot: the settings
# are part of the power-up, so the card associates by them (a cell of the
# registry's ESSID, or none), whatever cell the scenario names.
#
# usage: WINEPREFIX=... sim/start-card.sh <build dir> <scenario file> [registry key]
#   registry key: the driver's parameter key, for example
#     'HKLM\System\CurrentControlSet\Services\Zorb\Parameters' (Windows NT) or
#     'HKLM\System\CurrentControlSet\Services\Class\Net\0000' (Windows 98).
# A wineserver must be running (wineserver -p): the service stops with it.
set -eu

build=${1:?build directory}
scenario=${2:?scenario file}
key=${3:-}
: "${WINEPREFIX:?set WINEPREFIX}"
export WINEDEBUG=${WINEDEBUG:--all}

sys="$build/sim/razuDov.sys"
cardctl="$build/sim/cardctl.exe"
drivers="$WINEPREFIX/drive_c/windows/system32/drivers"
[ -f "$sys" ] || { echo "start-card: $sys is not built" >&2; exit 1; }

if ! wine sc query razuDov >/dev/null 2>&1; then
    wine sc create razuDov type= kernel start= demand \
        binpath= 'C:\windows\system32\drivers\razuDov.sys' >/dev/null
fi
if ! cmp -s "$sys" "$drivers/razuDov.sys"; then
    wine sc stop razuDov >/dev/null 2>&1 || true
    mkdir -p "$drivers"
    cp "$sys" "$drivers/razuDov.sys"
fi
# Right after the system starts, the service manager may hold its lock for a
# while (longer on a busy machine).
for _ in $(seq 60); do
    wine sc start razuDov >/dev/null 2>&1 || true
    wine sc query razuDov 2>/dev/null | grep -q RUNNING && break
    sleep 0.2
done

boot=$(mktemp)
cp "$scenario" "$boot"
echo >>"$boot"
if [ -n "$key" ]; then
    lines=$(mktemp)
    # "    Name    REG_SZ    text" / "    Name    REG_DWORD    0x1"
    wine reg query "$key" 2>/dev/null | tr -d '\r' | awk '
        function number(text,   i, c, v) {
            if (substr(text, 1, 2) != "0x") return text + 0;
            v = 0;
            for (i = 3; i <= length(text); i++) {
                c = index("0123456789abcdef", tolower(substr(text, i, 1))) - 1;
                v = v * 16 + c;
            }
            return v;
        }
        $2 == "REG_SZ" || $2 == "REG_DWORD" {
            name = $1; type = $2; value = "";
            for (i = 3; i <= NF; i++) value = value (i > 3 ? " " : "") $i;
            if (type == "REG_DWORD") value = sprintf("%d", number(value));
            gsub(/"/, "", value);
            printf "setting \"%s\" \"%s\"\n", name, value;
        }' > "$lines"
    cat "$lines" >>"$boot"
    rm -f "$lines"
fi
status=0
wine "$cardctl" load "$(winepath -w "$boot")" || status=$?
rm -f "$boot"
exit $status
