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

installed() {
    [[ $(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true) == "install ok installed" ]]
}

# Where the kernel runs no 32-bit code, the tests run the 32-bit build through
# qemu-i386 (tests/e2e/wow64.py), in a namespace of their own. Debian 12's own
# qemu (7.2) cannot run 32-bit Wine; the backports suite's (10) can. It comes
# without its recommended qemu-user-binfmt, which would register handlers for
# the whole machine, and from an index kept in a folder of its own, so that
# the machine's package lists and sources stay as they are.
install_qemu_user() {
    if /usr/lib/wine/wine --version >/dev/null 2>&1 && ! grep -qs '^magic 7f454c4601010100' /proc/sys/fs/binfmt_misc/*; then
        return 0  # 32-bit programs run natively
    fi
    installed qemu-user && [[ $(dpkg-query -W -f='${Version}' qemu-user) == *bpo* ]] && return 0
    local codename uri apt_dir
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    uri=$(grep -hoE '^(URIs:[[:space:]]*|deb[[:space:]]+)[a-z]+://[^[:space:]]+/debian/?([[:space:]]|$)' \
              /etc/apt/sources.list.d/*.sources /etc/apt/sources.list 2>/dev/null |
          sed -E 's/^(URIs:|deb)[[:space:]]*//; s/[[:space:]]*$//' | head -1 || true)
    if [[ -z "$uri" || -z "$codename" ]]; then
        echo "setup.sh: no Debian suite found in the package sources for $codename-backports (qemu-user)" >&2
        return 1
    fi
    echo "Installing qemu-user from $codename-backports (this kernel runs no 32-bit code; the tests emulate it)"
    apt_dir=$(mktemp -d)
    mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial"
    printf 'Types: deb\nURIs: %s\nSuites: %s-backports\nComponents: main\nSigned-By: %s\n' "$uri" "$codename" \
        /usr/share/keyrings/debian-archive-keyring.gpg > "$apt_dir/parts/backports.sources"
    local options=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt_dir/parts"
                   -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache=")
    local done=1
    for ((try = 1; try <= update_tries; try++)); do
        if apt-get "${options[@]}" update -q && DEBIAN_FRONTEND=noninteractive apt-get "${options[@]}" install -y -q \
               --no-install-recommends -t "$codename-backports" qemu-user; then
            done=0
            break
        fi
        [[ $try -lt $update_tries ]] && sleep $((try * 5))
    done
    rm -rf "$apt_dir"
    return $done
}

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
if [[ ${#missing[@]} -eq 0 ]]; then
    install_qemu_user
    exit 0
fi

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
    install_qemu_user
    exit 0
fi
$updated && exit 1

echo "setup.sh: the install could not be resolved with a failed index; trying again with the main suites' indexes" \
     "alone (the security suite left out)" >&2
write_main_only_sources
main_options=(-o "Dir::Etc::SourceList=$main_only/sources.list" -o "Dir::Etc::SourceParts=$main_only/parts")
if apt_logged "${main_options[@]}" update -q && apt_logged "${main_options[@]}" install -y -q "${missing[@]}"; then
    echo "setup.sh: installed from the main suites' indexes alone; the security suite's index failed" >&2
    install_qemu_user
    exit 0
fi
echo "setup.sh: the install failed with the main suites' indexes too" >&2
[[ -n "$failed" ]] && echo "$failed" >&2
failed_indexes | sed 's/^/setup.sh: this index failed: /' >&2
exit 1
