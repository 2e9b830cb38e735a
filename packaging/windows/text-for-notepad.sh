#!/bin/sh
# text-for-notepad.sh IN OUT: a UTF-8 text with a byte order mark and CR LF
# line ends, which Notepad on a Japanese Windows shows right whatever its
# default code page.
set -eu
{
  printf '\357\273\277'
  LC_ALL=C sed 's/\r$//; s/$/\r/' "$1"
} >"$2"
