#!/usr/bin/env bash
# Runs every test of Postpone: the host unit tests (ASan + UBSan), the fuzz
# smoke runs, the end-to-end tests of the released 32-bit Postpone.exe and
# postpone-check.exe under Wine in a WOW64 prefix (as 64-bit Windows runs
# them), and the release tests (the committed tree built twice).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --workflow --preset host
cmake --workflow --preset fuzz
cmake --preset win32
cmake --build --preset win32
# 32-bit programs run natively where the kernel runs 32-bit code, and through
# qemu-i386 in a namespace of the tests' own where it does not; wow64.py
# decides by starting one, once, and says which.
POSTPONE_WOW64=$(python3 tests/e2e/wow64.py way)
export POSTPONE_WOW64
if [[ $POSTPONE_WOW64 == none* ]]; then
    # Neither: the tests of the 32-bit build under Wine are skipped (the form
    # of the released files is still checked), and the same sources built for
    # x86-64 run under 64-bit Wine instead, where nothing is redirected.
    echo "test.sh: ${POSTPONE_WOW64#none: }"
    echo "test.sh: the tests under Wine run on an x86-64 build of the same sources, under 64-bit Wine (last resort)"
    ctest --preset win32
    cmake --workflow --preset wine64
else
    # Verbose: the log shows each module's tests, and what the checker says
    # of the real 64-bit and 32-bit folders.
    python3 tests/e2e/wow64.py run -- ctest --preset win32 --verbose
fi
# Debian's own Python: setup.sh installs PyYAML for it.
python3 tests/e2e/wow64.py run -- /usr/bin/python3 -m unittest discover -v -s tests/release -p "test_*.py"
