#!/usr/bin/env bash
# Runs every test of Postpone: the host unit tests (ASan + UBSan), the fuzz
# smoke runs, and the end-to-end tests of Postpone.exe under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake --workflow --preset host
cmake --workflow --preset fuzz
cmake --workflow --preset win32
