#!/usr/bin/env bash
# Installs the Debian packages of scripts/packages.txt that are missing.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
mapfile -t wanted < <(grep -v '^\s*#' "$here/packages.txt" | grep -v '^\s*$')
missing=()
for p in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null
fi

# --- Flash player from npm, pinned by lock files: the game box's own copy
# (assets/player, shipped in the program folder) and the demo portal's
# opt-in copy (portal). Debian's node and npm are installed only when none
# is on PATH already.
npm_install() { # folder, what is lost without it
  local folder="$1"
  [ -f "$folder/node_modules/@ruffle-rs/ruffle/ruffle.js" ] && return 0
  local node_pkgs=()
  command -v node >/dev/null || node_pkgs+=(nodejs)
  command -v npm >/dev/null || node_pkgs+=(npm)
  if ((${#node_pkgs[@]})); then
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${node_pkgs[@]}" </dev/null
  fi
  npm ci --prefix "$folder" --no-audit --no-fund ||
    echo "warning: npm ci --prefix $folder failed; $2" >&2
}
npm_install "$here/../assets/player" "the game box will show no Flash games"
npm_install "$here/../portal" "the demo portal's opt-in player will be missing"
