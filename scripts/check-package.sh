#!/usr/bin/env bash
# Installs the Debian package made from a build folder (default: build) with
# dpkg, plays a scripted run with the installed velkor command as a player
# would, and removes the package again. Skips, saying why, where a package
# cannot be installed and removed without changing the machine: not root, no
# dpkg, or a velkor package already installed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

skip() {
  echo "check-package: skipped: $*"
  exit 0
}
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
command -v dpkg >/dev/null 2>&1 || skip "no dpkg on this machine"
if dpkg-query -W -f='${Status}' velkor 2>/dev/null | grep -q ' installed$'; then
  skip "a velkor package is installed already"
fi

work=$(mktemp -d)
installed=no
cleanup() {
  [ "$installed" = no ] || dpkg --purge velkor >/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The package tests of the build made the package already (once per CI run);
# a build whose tests have not run gets one made here.
deb=$(echo "$(cd "$build" && pwd)"/package/velkor_*.deb)
if [ ! -f "$deb" ]; then
  if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    exit 1
  fi
  deb=$(echo "$work"/package/velkor_*.deb)
fi
installed=yes
dpkg -i "$deb" >/dev/null

# A player with a home of their own, starting from a folder of no meaning.
home=$work/home
mkdir -p "$home" "$work/elsewhere"
cd "$work/elsewhere"
play() {
  HOME=$home XDG_DATA_HOME='' /usr/bin/velkor | iconv -f CP932 -t UTF-8
}
fail() {
  echo "check-package: $*" >&2
  exit 1
}

# A character of 1 point of HP and nothing else loses its first battle;
# whatever the hunt asks, one of the repeated lines answers it.
{
  printf '\nTester\n\n\n1\n0\n0\n0\nZ\nx\n'
  for _ in $(seq 2000); do printf 'a\ny\nZ\n'; done
} | play >"$work/first.txt"
grep -q 'ゲームーオーバー……' "$work/first.txt" || fail "the scripted run did not end in defeat"

folder=$home/.local/share/velkor
[ "$(stat -c %s "$folder/save.dat")" -eq 68 ] || fail "no save.dat in $folder"
report=$(iconv -f CP932 -t UTF-8 "$folder/レポート.txt")
case $report in
  "【0人斬り】／VELKOR／["*"]／Tester"$'\r') ;;
  *) fail "unexpected report in $folder: $report" ;;
esac
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the game wrote into the folder it was started from"

# The next start offers the saved character (and ends with the input).
printf 'y\n\n' | play >"$work/second.txt" || true
grep -q 'ロードしますか' "$work/second.txt" || fail "the second start did not offer the saved character"

dpkg --purge velkor >/dev/null
installed=no
[ ! -e /usr/bin/velkor ] || fail "/usr/bin/velkor is still there after removal"
echo "check-package: installed $(basename "$deb"), played a run from it and removed it"
