#!/usr/bin/env bash
# Starts the demo portal on HOST:PORT (default 127.0.0.1:8380) and serves
# until stopped. Run-time data (database, generated game files) goes into
# $ZORVIA_PORTAL_DATA, or portal/runtime when that is unset.
#
# Several server processes answer in parallel ($ZORVIA_PORTAL_WORKERS,
# default 4), so a slow download does not hold up the short replies. Ending
# this script (TERM, INT, HUP) ends all of them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
addr="${1:-127.0.0.1:8380}"
case "$addr" in
  *:*) ;;
  *) addr="$addr:80" ;;
esac

command -v php >/dev/null || { echo "demo portal: php is not installed (scripts/deps.sh installs it)" >&2; exit 1; }
[ -f "$here/node_modules/@ruffle-rs/ruffle/ruffle.js" ] ||
  echo "demo portal: the Flash player is missing; games will not play (run: npm ci --prefix portal)" >&2

workers="${ZORVIA_PORTAL_WORKERS:-4}"
case "$workers" in
  '' | *[!0-9]*) echo "demo portal: ZORVIA_PORTAL_WORKERS must be a number, not '$workers'" >&2; exit 2 ;;
esac
php "$here/setup.php"

args=(-d expose_php=0 -d display_errors=0 -d log_errors=1 -d variables_order=EGPCS
      -S "$addr" -t "$here/public" "$here/router.php")
echo "demo portal: http://$addr/mini.php (data in ${ZORVIA_PORTAL_DATA:-$here/runtime})" >&2
# The server logs each request and PHP's errors to stderr; the lines about
# opening and closing connections are left out.
log_filter() { grep --line-buffered -v -E ' (Accepted|Closing)$' >&2 || true; }
if [ "$workers" -le 1 ]; then
  exec php "${args[@]}" </dev/null 2> >(log_filter)
fi

# The server runs in a process group of its own, so that its workers can be
# ended together with it.
server=""
stop() {
  trap - TERM INT HUP EXIT
  if [ -n "$server" ]; then
    kill -TERM -- "-$server" 2>/dev/null || true
    wait "$server" 2>/dev/null || true
  fi
}
trap 'stop; exit 143' TERM
trap 'stop; exit 130' INT
trap 'stop; exit 129' HUP
trap stop EXIT
set -m
PHP_CLI_SERVER_WORKERS="$workers" php "${args[@]}" </dev/null 2> >(log_filter) &
server=$!
set +m
wait "$server"
