# What compare-web.sh and compare-windows.sh share; sourced, not run. The
# script that sources it sets `name` (for its messages) and defines, for each
# system it plays, how that system's game starts: start_<system>, reading
# the code page 932 input and writing the output.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

fail() {
  echo "$name: $*" >&2
  exit 1
}

# The folder the runs play in, removed at the end.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs one system's game in a folder of its own (given the game's data
# when new) with the UTF-8 text as its code page 932 input, into
# folder/out. The game's exit status is no matter: the output is compared.
play() {
  local system=$1 folder=$2 input=$3
  mkdir -p "$folder"
  [ -e "$folder/dat" ] || cp -r "$root/dat" "$folder/dat"
  (cd "$folder" && printf '%s' "$input" | iconv -f UTF-8 -t CP932 | "start_$system" >"$folder/out" || true)
}

# Fails, showing where, unless the two files are the same bytes.
same() {
  local what=$1 a=$2 b=$3
  cmp -s "$a" "$b" || {
    diff <(od -c "$a") <(od -c "$b") | head -20 >&2
    fail "$what differs"
  }
}
