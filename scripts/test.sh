#!/usr/bin/env bash
# Runs every test of Postpone: the host unit tests (ASan + UBSan), the fuzz
# smoke runs, the end-to-end tests of Postpone.exe and postpone-check.exe
# under Wine (32-bit, or 64-bit where the machine cannot run 32-bit
# programs), and the release tests (the committed tree built twice).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --workflow --preset host
cmake --workflow --preset fuzz
cmake --workflow --preset win32
# Wine's 32-bit loader is a 32-bit Linux program. Where the kernel refuses
# those, the tests under Wine above were skipped: they run on an x86-64 build
# of the same sources under 64-bit Wine instead.
if ! wine --version >/dev/null 2>&1; then
    echo "test.sh: this machine cannot run 32-bit programs (wine --version fails); the tests under Wine run on an" \
         "x86-64 build of the same sources, under 64-bit Wine"
    cmake --workflow --preset wine64
fi
# Debian's own Python: setup.sh installs PyYAML for it.
/usr/bin/python3 -m unittest discover -v -s tests/release -p "test_*.py"
