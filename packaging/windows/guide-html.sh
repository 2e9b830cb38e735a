#!/bin/sh
# guide-html.sh GUIDE.md OUT.html: the player's guide as one HTML page for
# the Windows download, where no program opens Markdown. cmark-gfm renders
# the guide's tables; plain cmark, where it is the one installed, shows them
# as text.
set -eu
if command -v cmark-gfm >/dev/null 2>&1; then
  render="cmark-gfm --extension table"
else
  render=cmark
fi
{
  printf '<!DOCTYPE html>\r\n<html lang="ja">\r\n<head>\r\n<meta charset="utf-8">\r\n'
  printf '<title>VELKOR プレイヤーズガイド</title>\r\n'
  printf '<style>body{max-width:50em;margin:auto;line-height:1.6}'
  printf 'table{border-collapse:collapse}td,th{border:1px solid #888;padding:0.2em 0.5em}'
  printf 'pre{background:#eee;padding:0.5em}</style>\r\n</head>\r\n<body>\r\n'
  $render "$1"
  printf '</body>\r\n</html>\r\n'
} >"$2"
