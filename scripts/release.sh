#!/usr/bin/env bash
# Builds a release of Postpone from the committed tree and writes dist/:
#   bash scripts/release.sh --base-url https://downloads.example.org/postpone/1.0.0.0
# URL is where the zip will be downloaded from; the manifests point there.
# Two runs on the same commit, in any two folders, write the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

usage() {
    echo "usage: bash scripts/release.sh --base-url URL" >&2
    exit 2
}
base_url=""
while [[ $# -gt 0 ]]; do
    case $1 in
        --base-url) [[ $# -ge 2 ]] || usage; base_url=$2; shift 2 ;;
        --base-url=*) base_url=${1#--base-url=}; shift ;;
        *) usage ;;
    esac
done
[[ -n "$base_url" ]] || usage

bash scripts/setup.sh

# The committed tree, in a build folder of its own: nothing uncommitted and
# nothing left by another build gets in.
commit=$(git rev-parse HEAD)
work="$root/build/release"
rm -rf "$work"
mkdir -p "$work/source"
git archive --format=tar "$commit" | tar -x -C "$work/source"

# The link time stamp is the commit's time.
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export SOURCE_DATE_EPOCH
cmake -S "$work/source" -B "$work/win32" --toolchain "$work/source/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel -DBUILD_TESTING=OFF >/dev/null
cmake --build "$work/win32" --target Postpone postpone-check -j 2 >/dev/null

rm -rf "$root/dist"
python3 "$work/source/scripts/package_release.py" --source "$work/source" --build "$work/win32" \
        --base-url "$base_url" --out "$root/dist"
(cd "$root/dist" && sha256sum -c --quiet SHA256SUMS)
echo "Release $(cat "$work/win32/version.txt") of commit ${commit:0:12} in dist/:"
(cd "$root/dist" && find . -type f | sort | sed 's|^\./|    |')
