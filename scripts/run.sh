#!/usr/bin/env bash
# Installs what is missing, builds, starts the demo portal on loopback and
# runs the game box against it. Closing the game box stops the portal.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh"
build="${ZORVIA_BUILD_DIR:-$root/build}"

export ZORVIA_SITE_HOST="${ZORVIA_SITE_HOST:-127.0.0.1:8380}"
portal_pid=""
if [ -x "$root/portal/serve.sh" ]; then
  "$root/portal/serve.sh" "$ZORVIA_SITE_HOST" &
  portal_pid=$!
  trap 'kill $portal_pid 2>/dev/null || true; wait $portal_pid 2>/dev/null || true' EXIT
  # Wait (at most 15 s) until the portal answers, so that the game box's
  # category request at start-up finds it.
  site="${ZORVIA_SITE_HOST}"
  host="${site%:*}"; port="${site##*:}"
  [ "$host" = "$site" ] && port=80
  host="${host#[}"; host="${host%]}"
  for _ in $(seq 150); do
    (exec 3<>"/dev/tcp/$host/$port") 2>/dev/null && break
    kill -0 "$portal_pid" 2>/dev/null || break
    sleep 0.1
  done
fi
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1
"$build/bin/zorvia"
