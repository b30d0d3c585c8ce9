#!/usr/bin/env bash
# Makes the fuzz seed corpora from the example skin and the shipped assets:
#   fuzz/corpus/skin_lines/  the example description file and variants of it
#   fuzz/corpus/gif/         the example skin's fifteen pictures and the status line
# The output is committed; run again after the example skin changes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
skin=$root/examples/skins/harbour
lines=$root/fuzz/corpus/skin_lines
gifs=$root/fuzz/corpus/gif
rm -rf "$lines" "$gifs"
mkdir -p "$lines" "$gifs"

cp "$skin/Ruvex.rvk" "$lines/harbour-crlf.rvk"
# The same lines with the other line ends the reader accepts, without a final line
# end, without the StatusLine line, and with a NUL that ends the text early.
tr -d '\r' <"$skin/Ruvex.rvk" >"$lines/harbour-lf.rvk"
tr -d '\n' <"$skin/Ruvex.rvk" >"$lines/harbour-cr.rvk"
head -c -2 "$skin/Ruvex.rvk" >"$lines/harbour-no-final-end.rvk"
grep -av '^StatusLine' "$skin/Ruvex.rvk" >"$lines/harbour-no-statusline.rvk"
{ head -n 5 "$skin/Ruvex.rvk"; printf '\0'; tail -n +6 "$skin/Ruvex.rvk"; } >"$lines/harbour-nul.rvk"

for n in $(seq 0 14); do
  cp "$skin/$n.gif" "$gifs/harbour-$n.gif"
done
cp "$root/assets/Files/statusline.gif" "$gifs/statusline.gif"
echo "Seeds: $(ls "$lines" | wc -l) description files, $(ls "$gifs" | wc -l) pictures"
