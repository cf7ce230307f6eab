#!/usr/bin/env bash
# Runs every test of Postpone: the host unit tests (ASan + UBSan), the fuzz
# smoke runs, the end-to-end tests of Postpone.exe and postpone-check.exe
# under Wine, and the release tests (the committed tree built twice).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --workflow --preset host
cmake --workflow --preset fuzz
cmake --workflow --preset win32
# Debian's own Python: setup.sh installs PyYAML for it.
/usr/bin/python3 -m unittest discover -v -s tests/release -p "test_*.py"
