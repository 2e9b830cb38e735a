#!/usr/bin/env bash
# Makes the Debian package from the release preset's build (build-release),
# which has the flags of dpkg-buildflags, hardening included, beside
# Release's own (scripts/packager-flags.sh): after ./test.sh --release, as CI
# runs it, nothing is left to build. The package's test makes the package
# there and checks its contents, and lintian checks it. This is the one
# package of a CI run (.ci/run skips that test in ./test.sh). Then
# installs it with dpkg, plays a scripted run with the installed velkor
# command as a player would, and removes the package again. That second half
# is skipped, saying why, where a package cannot be installed and removed
# without changing the machine: not root, or a velkor package already
# installed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-release

skip() {
  echo "check-package: skipped: $*"
  exit 0
}
command -v dpkg >/dev/null 2>&1 || skip "no dpkg on this machine"
bash scripts/ensure-tools.sh --package --tests

source scripts/packager-flags.sh
# Only what the package holds and its test are built here, and making the
# package does not build the rest first.
cmake --preset release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target velkor velkor-sim velkor_packaging_files packaging_tests >/dev/null

# The package's test makes it into $build/package/ and checks its files and
# fields (packaging/tests/package_posix_test.cpp).
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! "$build/packaging/packaging_tests" --gtest_filter='Package.*' >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
deb=$(echo "$build"/package/velkor_*.deb)
[ -f "$deb" ] || { cat "$log" >&2; echo "check-package: no package in $build/package" >&2; exit 1; }
# Every error and warning fails; the informational and pedantic tags are
# shown. The tags left are explained in packaging/lintian-notes.txt.
lintian -EvIL +pedantic --fail-on error,warning --suppress-tags-from-file packaging/lintian-notes.txt "$deb"
echo "check-package: lintian passed $(basename "$deb")"

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
if dpkg-query -W -f='${Status}' velkor 2>/dev/null | grep -q ' installed$'; then
  skip "a velkor package is installed already"
fi

work=$(mktemp -d)
installed=no
cleanup() {
  [ "$installed" = no ] || dpkg --purge velkor >/dev/null
  rm -rf "$work"
  rm -f "$log"
}
trap cleanup EXIT

installed=yes
dpkg -i "$deb" >/dev/null

# A player with a home of their own, starting from a folder of no meaning.
home=$work/home
mkdir -p "$home" "$work/elsewhere"
cd "$work/elsewhere"
play() {
  HOME=$home XDG_DATA_HOME='' /usr/games/velkor | iconv -f CP932 -t UTF-8
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
# The report readable where the player is.
HOME=$home XDG_DATA_HOME='' /usr/games/velkor --report | grep -q '^【0人斬り】／VELKOR／\[.*\]／Tester$' ||
  fail "velkor --report did not show the run"
/usr/bin/velkor-sim battles -n 10 --threads 1 >/dev/null || fail "the installed velkor-sim did not run"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the game wrote into the folder it was started from"

# The next start offers the saved character (and ends with the input).
printf 'y\n\n' | play >"$work/second.txt" || true
grep -q 'ロードしますか' "$work/second.txt" || fail "the second start did not offer the saved character"

dpkg --purge velkor >/dev/null
installed=no
[ ! -e /usr/games/velkor ] || fail "/usr/games/velkor is still there after removal"
echo "check-package: installed $(basename "$deb"), played a run from it and removed it"
