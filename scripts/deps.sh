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

# --- Demo portal: the Flash player comes from npm (portal/package-lock.json) ---
# Debian's node and npm are installed only when none is on PATH already.
portal="$here/../portal"
if [ ! -f "$portal/node_modules/@ruffle-rs/ruffle/ruffle.js" ]; then
  node_pkgs=()
  command -v node >/dev/null || node_pkgs+=(nodejs)
  command -v npm >/dev/null || node_pkgs+=(npm)
  if ((${#node_pkgs[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${node_pkgs[@]}" </dev/null
  fi
  npm ci --prefix "$portal" --no-audit --no-fund ||
    echo "warning: npm ci --prefix portal failed; the demo portal's games will not play" >&2
fi
