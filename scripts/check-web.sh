#!/usr/bin/env bash
# The page in a real browser, as CI runs it: installs what it needs from
# Debian's packages when missing (emscripten with Node and npm, chromium, a
# Japanese font, cmark-gfm for the guide), builds the site of the web preset
# (build-web/site), then serves it on this machine alone and drives
# headless chromium through puppeteer-core
# (web/tests/browser-check.mjs): by keyboard, by taps on a phone's screen,
# with IndexedDB refusing, offline, with a changed build, and Lighthouse and
# axe-core, whose scores it prints. Leaves build-web/check-web.png. The
# page's parts (the line editor, the widths, the answer buttons) are a test
# of the web preset, run under Node's test runner with the others
# (ctest --preset web, in check-wasm.sh).
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
command -v iconv >/dev/null 2>&1 || missing+=(libc-bin)
bash scripts/apt-install.sh ${missing[@]+"${missing[@]}"}

export NODE_PATH=/usr/share/nodejs
build=build-web
# Configured once (check-wasm.sh has done it in CI); a build configures
# again by itself when a CMakeLists.txt changed.
[ -e "$build/CMakeCache.txt" ] || cmake --preset web >/dev/null
cmake --build --preset web --target site
export VELKOR_NODE_MODULES=$PWD/$build/npm/node_modules
node web/tests/browser-check.mjs "$PWD/$build/site" "$PWD/$build"
gzipped=$(tar -C "$build/site" -cf - . | gzip -9 | wc -c)
echo "check-web: $build/site ($(du -sk "$build/site" | cut -f1) KiB, $((gzipped / 1024)) KiB gzipped) plays in chromium;" \
  "screenshot $build/check-web.png; the browser check took $(($(date +%s) - started)) s"
