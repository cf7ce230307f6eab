#!/usr/bin/env bash
# Installs what building and testing Postpone needs on Debian, as root. Safe to
# run again: it installs only what is missing and never prompts.
#
# A package mirror that is being synced can fail one index ("File has unexpected
# size ... Mirror sync in progress?"). That does not end the set-up: the update
# is tried again a few times; when the install then cannot be resolved, it is
# tried once more with the main suites' indexes alone (the security suite's
# left out); only when that fails too does the set-up stop, naming the index.
set -euo pipefail

packages=(cmake make g++ python3 libgtest-dev g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine32:i386 wine64 xvfb
          xdotool clang-14 libclang-rt-14-dev python3-yaml)
update_tries=${POSTPONE_APT_UPDATE_TRIES:-3}

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
    echo "setup.sh: run as root to install packages" >&2
    exit 1
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
main_only=$(mktemp -d)
trap 'rm -rf "$log" "$main_only"' EXIT

# The indexes apt could not fetch, as it names them in its "Err:" lines.
failed_indexes() {
    grep -E '^Err:' "$log" | sed -E 's/^Err:[0-9]+ +//' | sort -u || true
}

# Runs apt-get with its output both shown and kept in $log.
apt_logged() {
    apt-get "$@" 2>&1 | tee "$log"
    return "${PIPESTATUS[0]}"
}

# A copy of the machine's package sources without the security suites, in a
# folder that apt takes through Dir::Etc options: the main suites' indexes
# (bookworm and bookworm-updates, say) and nothing else.
write_main_only_sources() {
    mkdir -p "$main_only/parts"
    : > "$main_only/sources.list"
    if [[ -f /etc/apt/sources.list ]]; then
        grep -vE '^[[:space:]]*deb(-src)?[[:space:]].*[[:space:]][^[:space:]]+-security([[:space:]]|$)' \
            /etc/apt/sources.list > "$main_only/sources.list" || true
    fi
    local file
    for file in /etc/apt/sources.list.d/*.list; do
        [[ -f "$file" ]] || continue
        grep -vE '^[[:space:]]*deb(-src)?[[:space:]].*[[:space:]][^[:space:]]+-security([[:space:]]|$)' \
            "$file" > "$main_only/parts/$(basename "$file")" || true
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        [[ -f "$file" ]] || continue
        # One stanza at a time: drop the security suites from "Suites:", and
        # the stanza when none is left.
        awk '
            function flush() { if (text != "" && keep) printf "%s\n", text; text = ""; keep = 1 }
            BEGIN { keep = 1 }
            /^[[:space:]]*$/ { flush(); next }
            /^Suites:/ {
                line = "Suites:"; n = split(substr($0, 8), words, /[[:space:]]+/); kept = 0
                for (i = 1; i <= n; i++) if (words[i] != "" && words[i] !~ /-security$/) { line = line " " words[i]; kept++ }
                if (kept == 0) keep = 0
                $0 = line
            }
            { text = text (text == "" ? "" : "\n") $0 }
            END { flush() }
        ' "$file" > "$main_only/parts/$(basename "$file")"
    done
}

updated=false
for ((try = 1; try <= update_tries; try++)); do
    if apt_logged update -q; then
        updated=true
        break
    fi
    echo "setup.sh: apt-get update failed (try $try of $update_tries)" >&2
    [[ $try -lt $update_tries ]] && sleep $((try * 5))
done
failed=""
$updated || failed=$(failed_indexes | sed 's/^/setup.sh: this index failed: /')
[[ -n "$failed" ]] && echo "$failed" >&2

if apt_logged install -y -q "${missing[@]}"; then
    exit 0
fi
$updated && exit 1

echo "setup.sh: the install could not be resolved with a failed index; trying again with the main suites' indexes" \
     "alone (the security suite left out)" >&2
write_main_only_sources
main_options=(-o "Dir::Etc::SourceList=$main_only/sources.list" -o "Dir::Etc::SourceParts=$main_only/parts")
if apt_logged "${main_options[@]}" update -q && apt_logged "${main_options[@]}" install -y -q "${missing[@]}"; then
    echo "setup.sh: installed from the main suites' indexes alone; the security suite's index failed" >&2
    exit 0
fi
echo "setup.sh: the install failed with the main suites' indexes too" >&2
[[ -n "$failed" ]] && echo "$failed" >&2
failed_indexes | sed 's/^/setup.sh: this index failed: /' >&2
exit 1
