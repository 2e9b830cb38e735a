#!/usr/bin/env bash
# The page in a real browser, as CI runs it: installs what it needs from
# Debian's packages when missing (emscripten with Node and npm, chromium, a
# Japanese font, cmark-gfm for the guide), builds the page of the web preset
# (build-web/site), serves it on localhost and plays it in headless chromium
# through puppeteer-core (web/tests/browser-check.mjs), which leaves
# build-web/check-web.png. Also runs the page's line editor tests.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

missing=()
command -v em++ >/dev/null 2>&1 || missing+=(emscripten)
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)
[ -e /usr/share/nodejs/acorn ] || missing+=(node-acorn)
[ -e /usr/src/googletest/CMakeLists.txt ] || missing+=(googletest)
[ -x /usr/bin/chromium ] || missing+=(chromium)
[ -e /usr/share/fonts/opentype/ipafont-gothic ] || missing+=(fonts-ipafont-gothic)
command -v cmark-gfm >/dev/null 2>&1 || missing+=(cmark-gfm)
command -v python3 >/dev/null 2>&1 || missing+=(python3)
bash scripts/apt-install.sh ${missing[@]+"${missing[@]}"}

export NODE_PATH=/usr/share/nodejs
build=build-web
cmake --preset web >/dev/null
cmake --build --preset web --target velkor_site
export VELKOR_NODE_MODULES=$PWD/$build/npm/node_modules
node --test web/tests/

# A server of the folder on a free port of this machine alone.
log=$(mktemp)
python3 -u -m http.server --bind 127.0.0.1 0 -d "$build/site" >"$log" 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; rm -f "$log"' EXIT
port=""
for _ in $(seq 100); do
  port=$(sed -n 's/^Serving HTTP on [0-9.]* port \([0-9]*\).*/\1/p' "$log")
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "check-web: the server did not start" >&2; cat "$log" >&2; exit 1; }

node web/tests/browser-check.mjs "http://127.0.0.1:$port/" "$PWD/$build"
echo "check-web: $build/site ($(du -sk "$build/site" | cut -f1) KiB) plays in chromium;" \
  "screenshot $build/check-web.png; the browser check took $(($(date +%s) - started)) s"
