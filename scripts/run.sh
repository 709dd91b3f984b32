#!/usr/bin/env bash
# Starts the console from the folder that holds the program's wave files, which
# are looked up by bare name in the working directory.
#
# Without a display (no DISPLAY, no WAYLAND_DISPLAY, no QT_QPA_PLATFORM chosen)
# the console is served through Qt's VNC platform plugin instead, on port
# VNC_PORT (5900 unless set), in a 1024x768 screen that holds the 1016x721
# window. The address it prints has two colons (127.0.0.1::5900): with one, VNC
# viewers take the number for a display and connect to 5900 plus it. The
# plugin's 16-bit screen makes it convert every pixel to the viewer's own
# colour layout; at 32 bits it copies its pixels unconverted, and viewers that
# ask for red in the low byte show red and blue swapped. The
# plugin listens on every interface and asks no password, so the preloaded
# vnc-loopback module binds its socket to 127.0.0.1.
#
# A first run starts with a state file that switches the event archive on
# (section [Archive]), so that "Журналы" shows what happened; deleting the
# section gives the plain demonstration. An existing state file is left as
# it is.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
exe="$root/$build/app/GrainTerminal"
state="${exe}.INI"
if [ ! -e "$state" ]; then
    cat > "$state" <<'INI'
; The event archive: every journal entry and a sample of the plant every 10 s,
; kept for Days days in GrainTerminal.db beside this file (README, "Archive").
; Delete this section for the plain demonstration without an archive.
[Archive]
Days=365
SampleSeconds=10
INI
    echo "New state file $state, with the event archive switched on."
fi
cd "$root/sounds" 2>/dev/null || cd "$root"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    port=${VNC_PORT:-5900}
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
        echo "No display, and port $port for VNC is taken: set VNC_PORT to a free port." >&2
        exit 1
    fi
    echo "No display: the console is served by VNC on 127.0.0.1 port $port; view it with" \
        "a VNC viewer at 127.0.0.1::$port on this machine (or through an SSH tunnel), stop it with Ctrl+C."
    export QT_QPA_PLATFORM="vnc:size=1024x768:depth=16:port=$port"
    export GT_VNC_PORT=$port
    export LD_PRELOAD="$root/$build/tools/libvnc-loopback.so${LD_PRELOAD:+:$LD_PRELOAD}"
fi
exec "$exe"
