#!/usr/bin/env bash
# Some virtual machines run a 64-bit kernel that cannot execute 32-bit code
# at all (no 32-bit compatibility mode), so Wine's 32-bit loader fails with
# "Exec format error". There the 32-bit Linux side of Wine runs under
# QEMU's user-mode emulation, registered with the kernel's binfmt_misc so
# that every 32-bit program (wine, wineserver's clients) goes through it
# transparently. Debian 12's own QEMU 7.2 loses threads and signals under
# Wine; the backported QEMU 10 runs the whole test suite. The emulator is
# unpacked from Debian's package into $HALVERN_CACHE/qemu, once.
# Does nothing where 32-bit programs run natively. Needs root.
set -euo pipefail

cache=${HALVERN_CACHE:-/var/cache/halvern}
probe=/usr/lib/wine/wine

runs_natively() {
    "$probe" --version >/dev/null 2>&1
}

[ -x "$probe" ] || { echo "emulation: $probe is missing (wine32 not installed?)" >&2; exit 1; }
binfmt=/proc/sys/fs/binfmt_misc
registered() { [ -e "$binfmt/halvern-i386" ]; }
if ! registered && runs_natively; then
    exit 0
fi

qdir=$cache/qemu
mkdir -p "$qdir"
exec 7>"$qdir/.lock"
flock 7

wrapper=$qdir/qemu-i386-wine
if [ ! -x "$qdir/qemu-i386" ]; then
    echo "emulation: this kernel runs no 32-bit code; fetching QEMU's user-mode emulator"
    . /etc/os-release
    # A private package list for the backports suite, derived from the
    # machine's own entry: the machine's sources are left as they are.
    lists=$qdir/apt
    rm -rf "$lists"
    mkdir -p "$lists/lists/partial" "$lists/archives/partial"
    uri=""
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        uri=$(awk '/^URIs:/ && !/security/ {print $2; exit}' /etc/apt/sources.list.d/debian.sources)
    elif [ -f /etc/apt/sources.list ]; then
        uri=$(awk '/^deb / && !/security/ {print $2; exit}' /etc/apt/sources.list)
    fi
    [ -n "$uri" ] || { echo "emulation: no Debian package source found on this machine" >&2; exit 1; }
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri ${VERSION_CODENAME}-backports main" \
        > "$lists/sources.list"
    apto=(-o Dir::Etc::SourceList="$lists/sources.list" -o Dir::Etc::SourceParts=/dev/null
          -o Dir::State::Lists="$lists/lists" -o Dir::Cache::Archives="$lists/archives")
    apt-get "${apto[@]}" update -qq
    (cd "$lists" && apt-get "${apto[@]}" download -qq qemu-user >/dev/null)
    deb=$(ls "$lists"/qemu-user_*.deb | head -n 1)
    rm -rf "$lists/x"
    dpkg-deb -x "$deb" "$lists/x"
    install -m 755 "$lists/x/usr/bin/qemu-i386" "$qdir/qemu-i386"
    dpkg-deb -f "$deb" Version > "$qdir/version"
    rm -rf "$lists"
fi

# Wine's reservations of the upper address space fight the emulator's own
# when the guest may use all 4 GB: keep the guest to the 2 GB a 32-bit
# Windows process has, plus the shared user page Wine maps at its end.
# HALVERN_EMULATED tells the tests where the emulator, not the processor,
# reports faults (a bad memory access arrives as an illegal instruction).
cat > "$wrapper" <<WRAP
#!/bin/sh
HALVERN_EMULATED=1 QEMU_RESERVED_VA=\${QEMU_RESERVED_VA:-0x81000000} exec "$qdir/qemu-i386" "\$@"
WRAP
chmod 755 "$wrapper"

if registered; then
    exit 0
fi
mountpoint -q "$binfmt" || mount -t binfmt_misc binfmt_misc "$binfmt"
# 32-bit little-endian ELF executables and shared objects of machine 3 (i386).
printf '%s' ':halvern-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$wrapper"':' \
    > "$binfmt/register"
if ! runs_natively; then
    echo "emulation: 32-bit programs still do not start through $wrapper" >&2
    exit 1
fi
echo "emulation: 32-bit programs run under QEMU $(cat "$qdir/version")"
