# Sourced by the test and run scripts: a throw-away Wine prefix, a virtual
# display, one persistent wineserver and a null ALSA device, all stopped by
# wine_env_stop. Expects $wine_work to name a scratch folder.

# The variables every program of the environment runs with: the prefix, the
# Chinese locale (Wine's code page 936), quiet Wine, no offers to install
# Mono or Gecko, the null sound device.
wine_env_vars() {
    export WINEPREFIX=$wine_work/prefix
    export WINEARCH=win32
    export WINEDEBUG=${WINEDEBUG:--all}
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export LANG=zh_CN.UTF-8
    export LC_ALL=zh_CN.UTF-8
    export ALSA_CONFIG_PATH=$wine_work/asound.conf
    cat > "$ALSA_CONFIG_PATH" <<'ALSA'
pcm.!default { type plug slave.pcm "nul" }
pcm.nul { type null }
ALSA
}

wine_env_start() {
    wine_env_vars
    mkdir -p "$WINEPREFIX"

    # Xvfb picks a free display itself and tells its number, so that several
    # test runs on one machine never collide.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp \
        3>"$wine_work/display" >"$wine_work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    echo "$xvfb_pid" > "$wine_work/xvfb.pid"
    local i
    for i in $(seq 1 100); do
        [ -s "$wine_work/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$wine_work/display" ]; then
        echo "wine-env: the virtual display did not start:" >&2
        cat "$wine_work/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$(tr -d '[:space:]' < "$wine_work/display")"

    wineserver -p >"$wine_work/wineserver.log" 2>&1
    wineboot -i >"$wine_work/wineboot.log" 2>&1 || true
    # Without a window manager, an unmanaged window hides at once instead of
    # waiting two seconds for a manager that never answers.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    wine_env_hold_desktop
}

# Wine closes the desktop a few seconds after its last program ends; the next
# program then starts it again and waits up to ten seconds, twice, and one
# that starts while it closes can hang. DesktopHold (built into the build's
# bin folder) stays on the desktop until wineserver -k, so it never closes.
wine_env_hold_desktop() {
    local hold=${build:-}/bin/DesktopHold.exe i
    if [ -z "${build:-}" ] || [ ! -f "$hold" ]; then
        echo "wine-env: no DesktopHold.exe in the build; programs may wait for the desktop" >&2
        return 0
    fi
    wine "$hold" >"$wine_work/desktop.log" 2>&1 </dev/null &
    for i in $(seq 1 600); do
        grep -q '^ready' "$wine_work/desktop.log" 2>/dev/null && return 0
        sleep 0.1
    done
    # Programs still run without it, only slower to start and end.
    echo "wine-env: the desktop did not come up in 60 s; going on without DesktopHold:" >&2
    cat "$wine_work/desktop.log" >&2
    return 0
}

wine_env_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -n "${xvfb_pid:-}" ]; then
        kill "$xvfb_pid" >/dev/null 2>&1 || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
