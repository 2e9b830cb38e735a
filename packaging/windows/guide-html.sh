#!/bin/sh
# guide-html.sh GUIDE.md OUT.html [GAME]: the player's guide as one HTML page
# (for the Windows download, where no program opens Markdown, and for the
# browser's site). cmark-gfm renders the guide's tables; plain cmark, where
# it is the one installed, shows them as text. Each heading gets the id its
# contents link names (the heading's text, blanks as hyphens, as GitHub
# names it), a table or a block of code that scrolls sideways on a narrow
# screen can be scrolled from the keyboard, a link to another Markdown file
# of the sources (which neither the download nor the site carries) is shown
# as its text, and with GAME the page links back to the game at that
# address.
set -eu
if command -v cmark-gfm >/dev/null 2>&1; then
  render="cmark-gfm --extension table"
else
  render=cmark
fi
{
  printf '<!DOCTYPE html>\r\n<html lang="ja">\r\n<head>\r\n<meta charset="utf-8">\r\n'
  printf '<meta name="viewport" content="width=device-width, initial-scale=1">\r\n'
  printf '<title>VELKOR プレイヤーズガイド</title>\r\n'
  printf '<style>body{max-width:50em;margin:auto;padding:0 1em;line-height:1.6;word-break:keep-all;overflow-wrap:anywhere}'
  printf 'table{border-collapse:collapse;display:block;overflow-x:auto}td,th{border:1px solid #888;padding:0.2em 0.5em}'
  printf 'pre{background:#eee;padding:0.5em;overflow-x:auto}</style>\r\n</head>\r\n<body>\r\n'
  if [ $# -ge 3 ]; then
    printf '<nav><a href="%s">ゲームに戻る</a></nav>\r\n' "$3"
  fi
  printf '<main>\r\n'
  $render "$1" | awk '
    /^<h[1-6]>/ {
      text = $0
      sub(/^<h[1-6]>/, "", text)
      sub(/<\/h[1-6]>$/, "", text)
      gsub(/<[^>]*>/, "", text)
      id = tolower(text)
      gsub(/[!-,.\/:-@[-^`{-~]/, "", id)
      gsub(/ /, "-", id)
      level = substr($0, 3, 1)
      sub(/^<h[1-6]>/, "<h" level " id=\"" id "\">")
    }
    {
      sub(/^<pre>/, "<pre tabindex=\"0\">")
      sub(/^<table>/, "<table tabindex=\"0\">")
      while (match($0, /<a href="[^"#:]*\.md">[^<]*<\/a>/)) {
        link = substr($0, RSTART, RLENGTH)
        sub(/^<a href="[^"]*">/, "", link)
        sub(/<\/a>$/, "", link)
        $0 = substr($0, 1, RSTART - 1) link substr($0, RSTART + RLENGTH)
      }
      print
    }
  '
  printf '</main>\r\n'
  if [ $# -ge 3 ]; then
    printf '<footer><a href="%s">ゲームに戻る</a></footer>\r\n' "$3"
  fi
  printf '</body>\r\n</html>\r\n'
} >"$2"
