#!/usr/bin/env bash
# Checks the example diagrams in examples/.
#   checkexamples.sh current QVTOOL EXAMPLES WORKDIR
#     every NAME.json builds into exactly the checked-in NAME.fgd, and the
#     manual's page of examples shows each one's Pascal as it is now.
#   checkexamples.sh pascal QVTOOL EXAMPLES WORKDIR
#     every NAME.fgd translates without a message; its Pascal, included into
#     the program pascal/NAME.pas, compiles with fpc, and the program prints
#     pascal/NAME.out (reading pascal/NAME.in when there is one).
#     Exits 77 (skipped) when fpc is not installed.
set -uo pipefail

mode=$1 qvtool=$2 examples=$3 work=$4
rm -rf "$work"
mkdir -p "$work"
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

shopt -s nullglob
sources=("$examples"/*.json)
if [ ${#sources[@]} -eq 0 ]; then
  fail "no example sources in $examples"
  exit 1
fi

case "$mode" in
current)
  for json in "${sources[@]}"; do
    name=$(basename "$json" .json)
    if ! "$qvtool" build --strict "$json" "$work/$name.fgd"; then
      fail "$name.json does not build"
    elif ! cmp -s "$work/$name.fgd" "$examples/$name.fgd"; then
      fail "examples/$name.fgd is not built from examples/$name.json;" \
        "rebuild it with: cmake --build build --target examples"
    fi
  done
  for fgd in "$examples"/*.fgd; do
    name=$(basename "$fgd" .fgd)
    [ -f "$examples/$name.json" ] || fail "examples/$name.fgd has no source examples/$name.json"
  done
  page="$examples/../docs/manual/examples.html"
  for json in "${sources[@]}"; do
    name=$(basename "$json" .json)
    "$qvtool" pascal "$examples/$name.fgd" >"$work/$name.pas" 2>/dev/null
    # The text of <pre id="NAME-pascal">, with the HTML entities undone.
    awk -v open="<pre id=\"$name-pascal\">" '
      index($0, open) { f = 1; $0 = substr($0, index($0, open) + length(open)) }
      f && index($0, "</pre>") { $0 = substr($0, 1, index($0, "</pre>") - 1); if ($0 != "") print; f = 0 }
      f { print }' "$page" | sed 's/&lt;/</g; s/&gt;/>/g; s/&amp;/\&/g' >"$work/$name.shown"
    if [ ! -s "$work/$name.shown" ]; then
      fail "docs/manual/examples.html does not show the Pascal of $name"
    elif ! diff -u "$work/$name.shown" "$work/$name.pas" >&2; then
      fail "docs/manual/examples.html shows another Pascal for $name than it translates to"
    fi
  done
  ;;
pascal)
  if ! command -v fpc >/dev/null 2>&1; then
    echo "fpc is not installed: skipped" >&2
    exit 77
  fi
  for json in "${sources[@]}"; do
    name=$(basename "$json" .json)
    program="$examples/pascal/$name.pas"
    if [ ! -f "$program" ]; then
      fail "examples/$name.json has no program examples/pascal/$name.pas"
      continue
    fi
    dir="$work/$name"
    mkdir -p "$dir"
    if ! "$qvtool" pascal "$examples/$name.fgd" >"$dir/$name.inc" 2>"$dir/messages"; then
      fail "$name.fgd does not translate: $(cat "$dir/messages")"
      continue
    fi
    if [ -s "$dir/messages" ]; then
      fail "$name.fgd translates with messages: $(cat "$dir/messages")"
    fi
    cp "$program" "$dir/"
    if ! (cd "$dir" && fpc -l- -vew -Sew "$name.pas" >compile.log 2>&1); then
      fail "$name: the Pascal does not compile:"
      sed 's/^/  /' "$dir/compile.log" >&2
      sed 's/^/  | /' "$dir/$name.inc" >&2
      continue
    fi
    input=/dev/null
    [ -f "$examples/pascal/$name.in" ] && input="$examples/pascal/$name.in"
    if ! timeout 20 "$dir/$name" <"$input" >"$dir/output" 2>&1; then
      fail "$name: the program failed"
    elif ! diff -u "$examples/pascal/$name.out" "$dir/output" >&2; then
      fail "$name: the program printed something else than pascal/$name.out"
    fi
  done
  ;;
*)
  echo "usage: checkexamples.sh current|pascal QVTOOL EXAMPLES WORKDIR" >&2
  exit 2
  ;;
esac

if [ $failed -eq 0 ]; then
  echo "all ${#sources[@]} examples passed ($mode)"
fi
exit $failed
