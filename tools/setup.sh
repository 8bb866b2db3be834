#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine and
# cross-builds the two third-party libraries into a cache outside the checkout.
# Safe to run again: every step is skipped when its result is already there.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)

packages=(g++-mingw-w64-i686-posix wine wine32:i386 wine64 xvfb cmake googletest
          fonts-wqy-zenhei ccache nasm dpkg-dev make autoconf automake libtool pkg-config)

find_missing() {
    missing=()
    local p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
}

find_missing
if [ ${#missing[@]} -gt 0 ]; then
    # Two set-ups at once on one machine: the second waits for the first's
    # installation instead of failing on the package manager's lock.
    exec 8>/tmp/halvern-setup.lock
    flock 8
    find_missing
fi
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    # An earlier set-up stopped in the middle of installing leaves dpkg
    # unfinished, and apt refuses to install anything until it is completed.
    dpkg --configure -a >/dev/null 2>&1 || true
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its ANSI code page (936) from the Unix locale.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    dpkg-query -W -f='${Status}' locales 2>/dev/null | grep -q 'ok installed' || \
        { apt-get update -qq; DEBIAN_FRONTEND=noninteractive apt-get install -y -qq locales >/dev/null; }
    localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

# Kernels that run no 32-bit code get the 32-bit side of Wine emulated.
bash "$here/emulation.sh"

bash "$here/deps.sh"
