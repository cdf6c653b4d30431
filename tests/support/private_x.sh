# Sourced by the scripts that run the real program as a user would: a private X server with a
# window manager. start_private_x BASE picks the display BASE + (this shell's pid mod 300),
# exports DISPLAY for the X platform and starts both; their pids are in $private_x_pids, for
# the caller to stop.
start_private_x() {
    export QT_QPA_PLATFORM=xcb
    unset WAYLAND_DISPLAY
    local disp=":$(($1 + $$ % 300))"
    Xvfb "$disp" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    private_x_pids=$!
    export DISPLAY=$disp
    for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
    openbox >/dev/null 2>&1 &
    private_x_pids="$! $private_x_pids"
}
