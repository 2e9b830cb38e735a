#!/usr/bin/env bash
# Plays the same scripted runs through a pipe with the Linux game and with
# velkor.exe under Wine, and compares them byte for byte: the dialogue up to
# the end of the first character sheet (after it, the game's seed from the
# clock decides), save.dat, and the failure report at the end without its
# location, which differs between the two programs. The one difference the Windows game is
# meant to have: it names its scenario files dat\0.dat and dat\1.dat.
#   scripts/compare-windows.sh [linux build folder] [windows build folder]
set -euo pipefail
name=compare-windows
# shellcheck source=scripts/compare-common.sh disable=SC2034
source "$(dirname "$0")/compare-common.sh"
linux=$root/${1:-build}/velkor
windows=$root/${2:-build-windows}/velkor.exe
[ -x "$linux" ] || fail "no $linux"
[ -e "$windows" ] || fail "no $windows"

start_linux() { "$linux"; }
start_windows() { "$root/scripts/wine-run.sh" "$windows"; }

# The output up to the end of the first character sheet: its kill count
# (the first line to start with a code page 932 "【") and the rule below.
before_encounter() {
  local file=$1 line
  line=$(LC_ALL=C grep -nas $'^\x81\x79' "$file" | head -n1 | cut -d: -f1 || true)
  [ -n "$line" ] || fail "$file: no character sheet"
  head -n $((line + 1)) "$file"
}

# The failure report's last two lines with the location taken out, in UTF-8.
report_without_location() {
  tail -n 2 "$1" | iconv -f CP932 -t UTF-8 | sed -E 's/ の [0-9A-F]{8,16} で/ の ? で/'
}

for system in linux windows; do
  play $system "$work/$system" $'\nユウ\n\n\n40\n20\n20\n20\nx\n'
  before_encounter "$work/$system/out" >"$work/$system.definition"
  report_without_location "$work/$system/out" >"$work/$system.report"
  cp "$work/$system/save.dat" "$work/$system.save"
  # The saved character is offered and loaded.
  play $system "$work/$system" $'y\n\n'
  before_encounter "$work/$system/out" >"$work/$system.load"
  # A scenario file that is missing stops the game at once.
  rm "$work/$system/dat/1.dat"
  play $system "$work/$system" $'\n'
  report_without_location "$work/$system/out" >"$work/$system.missing"
done

grep -q '^標準入力が終わりました' "$work/windows.report" || fail "the first run did not end with the input"
grep -qF 'ファイル dat\1.dat は開けません' "$work/windows.missing" || fail "no report of the missing dat\1.dat"
same "the definition dialogue" "$work/linux.definition" "$work/windows.definition"
same "the report of the input that ran out" "$work/linux.report" "$work/windows.report"
same "save.dat" "$work/linux.save" "$work/windows.save"
same "the load dialogue" "$work/linux.load" "$work/windows.load"
sed 's|dat/1\.dat|dat\\1.dat|' "$work/linux.missing" >"$work/linux.missing.windows"
same "the missing scenario's report" "$work/linux.missing.windows" "$work/windows.missing"
echo "compare-windows: velkor.exe under Wine gave the Linux game's bytes" \
  "($(wc -c <"$work/windows.definition") + $(wc -c <"$work/windows.load") bytes of dialogue, save.dat, three reports)"
