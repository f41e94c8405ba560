#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: unit tests of the
# portable core, and UI tests under a private Xvfb display.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
build="${ZORVIA_BUILD_DIR:-$root/build}"

display=":$((90 + RANDOM % 400))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  xdpyinfo -display "$display" >/dev/null 2>&1 && break
  sleep 0.1
done
export DISPLAY="$display"
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu --no-first-run --disable-background-networking --disable-component-update}"
export QT_QPA_PLATFORM=xcb
export LC_ALL=C.UTF-8

cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 300 "$@"
