# Sourced by the scripts: where the build, the shared cache and the compiler
# cache lie, and the build step itself.
#
#   HALVERN_BUILD  the build folder (default: build/ in the checkout)
#   HALVERN_CACHE  the cross-built libraries and the emulator (default:
#                  /var/cache/halvern for root, and for other users when
#                  root's set-up built the libraries there; otherwise
#                  ~/.cache/halvern)
#   CCACHE_DIR     the compiler cache (default: $HALVERN_CACHE/ccache when
#                  this user may write there, otherwise ~/.cache/halvern/ccache)

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${HALVERN_BUILD:-$top/build}
user_cache=${XDG_CACHE_HOME:-$HOME/.cache}/halvern
if [ -z "${HALVERN_CACHE:-}" ]; then
    if [ "$(id -u)" -eq 0 ] || [ -d /var/cache/halvern/deps ]; then
        HALVERN_CACHE=/var/cache/halvern
    else
        HALVERN_CACHE=$user_cache
    fi
fi
export HALVERN_CACHE
if [ -z "${CCACHE_DIR:-}" ]; then
    CCACHE_DIR=$HALVERN_CACHE/ccache
    if ! mkdir -p "$CCACHE_DIR" 2>/dev/null || [ ! -w "$CCACHE_DIR" ]; then
        CCACHE_DIR=$user_cache/ccache
    fi
fi
export CCACHE_DIR
mkdir -p "$CCACHE_DIR"
# Paths below the checkout are hashed relative to it, so that another clone
# of the same sources (CI's, a worktree) reuses the compiled objects.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$top} CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}

# Configures and builds everything into $build. With "quiet", shows one
# progress line instead of the compiler's lines, and the end of the build's
# output only when it fails.
build_all() {
    cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw32.cmake" \
          -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    if [ "${1:-}" != quiet ]; then
        cmake --build "$build" -j"$(nproc)"
        return
    fi
    local log=$build/build.log tty=0
    [ -t 1 ] && tty=1
    # A terminal sees one line counting up; a log gets a line every tenth.
    if ! cmake --build "$build" -j"$(nproc)" 2>&1 | tee "$log" | awk -v tty=$tty '
        match($0, /^\[ *[0-9]+%\]/) {
            p = substr($0, RSTART + 1, RLENGTH - 3) + 0
            if (tty && p != last) { printf "\r   building: %3d%%", p; fflush(); last = p }
            if (!tty && int(p / 10) != int(last / 10)) { printf "   building: %3d%%\n", p; fflush(); last = p }
        }
        END { if (tty && last != "") printf "\n" }'; then
        echo "the build failed; its last lines (all of them in $log):" >&2
        grep -v '^\[ *[0-9]*%\]' "$log" | tail -n 40 >&2
        return 1
    fi
}
