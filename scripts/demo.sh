#!/usr/bin/env bash
# Builds Postpone.exe and postpone-check.exe and runs them under Wine on
# examples/postpone.ini with its record of starts switched on: first the
# check, then Postpone, showing each delayed start as it happens against the
# time Postpone itself started, then the check again, which reads back what
# the run recorded.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# The released 32-bit build, as 64-bit Windows runs it: in a WOW64 prefix,
# natively where the kernel runs 32-bit code and through qemu-i386 in a
# namespace of the demo's own where it does not (tests/e2e/wow64.py).
export WINEPREFIX="$root/build/demo/wineprefix-wow64" WINEDEBUG=-all LANG=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
unset DISPLAY
build=build/win32
if [[ -z ${POSTPONE_WOW64:-} ]]; then
    bash scripts/setup.sh
    cmake --preset win32 >/dev/null
    cmake --build --preset win32 --target Postpone postpone-check starter probe >/dev/null
    echo "Built build/win32/Postpone.exe ($(stat -c %s build/win32/Postpone.exe) bytes)" \
         "and build/win32/postpone-check.exe ($(stat -c %s build/win32/postpone-check.exe) bytes)"
    mkdir -p "$(dirname "$WINEPREFIX")"
    echo "Looking how 32-bit programs run here (the first time, this makes a Wine prefix)..."
    # It says which way it found, and why the native one was not taken, and
    # runs the rest of the demo that way (POSTPONE_WOW64 set).
    POSTPONE_BUILD=$root/build/win32 exec python3 tests/e2e/wow64.py run -- bash "$0"
fi
if [[ $POSTPONE_WOW64 == none* ]]; then
    echo
    echo "This machine cannot run 32-bit programs: ${POSTPONE_WOW64#none: }."
    echo "The demo runs an x86-64 build of the same sources under 64-bit Wine instead; the release is the 32-bit one."
    cmake --preset wine64 >/dev/null
    cmake --build --preset wine64 --target Postpone postpone-check starter >/dev/null
    build=build/wine64
    export PATH="$root/build/wine64/wine64-shims:$PATH" WINEPREFIX="$root/build/demo/wineprefix-win64"
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        WINEARCH=win64 wineboot -i >/dev/null 2>&1
        wineserver -w
    fi
elif [[ $POSTPONE_WOW64 == emulated ]]; then
    echo "This kernel runs no 32-bit code: the 32-bit build runs through qemu-i386 (emulated, so slower to start)."
fi

demo="$root/build/demo/run"
rm -rf "$demo" && mkdir -p "$demo"
cp "$build/Postpone.exe" "$build/postpone-check.exe" examples/postpone.ini "$demo/"
starter="$root/$build/tests/e2e/starter.exe"
cd "$demo"
# The record of starts, switched on as the example's comment says ("/" is
# taken as "\\" as Windows takes it).
sed -i 's|^;LogFile=.*|LogFile=%LOCALAPPDATA%/Postpone/postpone.log|' postpone.ini

echo
echo "Settings file (entries and the record):"
grep -E '^(Program|CmdLine|DelaySec|WndStyle|LogFile)' postpone.ini | sed 's/^/    /'
echo
echo "postpone-check.exe explains it before anything starts:"
set +e
wine postpone-check.exe | tr -d '\r' | sed 's/^/    /'
checked=${PIPESTATUS[0]}
set -e
echo "postpone-check.exe ended with exit code $checked (1: an entry is skipped or there is a warning)"
echo
# The starter hands Postpone its command line and reports the moment just
# before Postpone's process was created (Unix ms), so that each delay is
# measured from Postpone's own start, not from Wine's start-up.
export STARTER_CMD="\"$(winepath -w "$demo/Postpone.exe")\""
# (Its output goes to a file: the waiting copies would hold a pipe open.)
wine "$starter" >starter.out
report=$(tr -d '\r' <starter.out)
start_ms=$(sed -n 's/^t0=//p' <<<"$report")
spawned=$(sed -n 's/^exit=//p' <<<"$report")
echo "$(date -d "@$((start_ms / 1000))" +%T) Postpone.exe started in list mode"
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
            elapsed=$(( $(date +%s%3N) - start_ms ))
            printf '%s  +%d.%01ds after Postpone started:  %s\n' "$(date +%T)" $((elapsed / 1000)) $((elapsed % 1000 / 100)) \
                "$(printf '%s\n' "$lines" | sed -n "${seen}p")"
        done
    fi
    sleep 0.1
done
wineserver -w
echo
if (( seen != expected )); then
    echo "Only $seen of $expected programs started within 30 seconds." >&2
    exit 1
fi
echo "All $expected programs started; Postpone left nothing running."
echo
echo "postpone-check.exe reads back what the run recorded:"
set +e
read_back=$(wine postpone-check.exe | tr -d '\r')
set -e
grep -E '^(record:|last run|entry [0-9]+:|    last run:)' <<<"$read_back" | sed 's/^/    /'
if ! grep -q '^last run .*: 3 started, 0 failed, 0 not started' <<<"$read_back"; then
    echo "The record does not say that the three programs started." >&2
    exit 1
fi
