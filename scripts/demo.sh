#!/usr/bin/env bash
# Builds Postpone.exe and runs it under Wine on examples/postpone.ini, showing
# each delayed start as it happens.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Postpone >/dev/null
echo "Built build/win32/Postpone.exe ($(stat -c %s build/win32/Postpone.exe) bytes)"

export WINEPREFIX="$root/build/demo/wineprefix" WINEARCH=win32 WINEDEBUG=-all LANG=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "Creating a Wine prefix (once)..."
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi

demo="$root/build/demo/run"
rm -rf "$demo" && mkdir -p "$demo"
cp build/win32/Postpone.exe examples/postpone.ini "$demo/"
cd "$demo"

echo
echo "Settings file (entries only):"
grep -E '^(Program|CmdLine|DelaySec|WndStyle)' postpone.ini | sed 's/^/    /'
echo
start=$(date +%s%N)
echo "$(date +%T) Postpone.exe starts in list mode"
set +e
wine Postpone.exe
spawned=$?
set -e
echo "$(date +%T) Postpone.exe ended with exit code $spawned: that many entries wait in hidden copies"

expected=3
seen=0
deadline=$(( $(date +%s) + 30 ))
while (( seen < expected && $(date +%s) < deadline )); do
    if [[ -f demo.log ]]; then
        lines=$(tr -d '\r' < demo.log)
        count=$(printf '%s\n' "$lines" | grep -c . || true)
        while (( seen < count )); do
            seen=$((seen + 1))
            elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
            printf '%s  +%d.%01ds after Postpone started:  %s\n' "$(date +%T)" $((elapsed / 1000)) $((elapsed % 1000 / 100)) \
                "$(printf '%s\n' "$lines" | sed -n "${seen}p")"
        done
    fi
    sleep 0.1
done
wineserver -w
echo
if (( seen == expected )); then
    echo "All $expected programs started; Postpone left nothing running."
else
    echo "Only $seen of $expected programs started within 30 seconds." >&2
    exit 1
fi
