#!/usr/bin/env bash
# Checks the HTML manual: every picture it shows and every page and section it
# links to exists, and every page can be reached from index.html.
#   checkmanual.sh MANUAL_DIR
set -uo pipefail
dir=$1
failed=0
fail() {
  echo "FAIL: $*" >&2
  failed=1
}

# The ids that page $1 defines.
ids() { grep -o ' id="[^"]*"' "$dir/$1" | sed 's/ id="//; s/"$//'; }

pages=()
for f in "$dir"/*.html; do pages+=("$(basename "$f")"); done
[ ${#pages[@]} -gt 0 ] || { echo "FAIL: no pages in $dir" >&2; exit 1; }

for page in "${pages[@]}"; do
  for src in $(grep -o ' src="[^"]*"' "$dir/$page" | sed 's/ src="//; s/"$//'); do
    [ -f "$dir/$src" ] || fail "$page shows $src, which does not exist"
  done
  for href in $(grep -o ' href="[^"]*"' "$dir/$page" | sed 's/ href="//; s/"$//'); do
    case "$href" in http:* | https:* | mailto:*) continue ;; esac
    target=${href%%#*}
    anchor=
    [ "$target" != "$href" ] && anchor=${href#*#}
    [ -z "$target" ] && target=$page
    if [ ! -f "$dir/$target" ]; then
      fail "$page links to $target, which does not exist"
    elif [ -n "$anchor" ] && ! ids "$target" | grep -qx -- "$anchor"; then
      fail "$page links to $target#$anchor, which is no section there"
    fi
  done
done

# Reachability: follow the links from index.html.
declare -A seen=([index.html]=1)
queue=(index.html)
while [ ${#queue[@]} -gt 0 ]; do
  page=${queue[0]}
  queue=("${queue[@]:1}")
  for href in $(grep -o ' href="[^"#:]*\.html' "$dir/$page" | sed 's/ href="//'); do
    if [ -f "$dir/$href" ] && [ -z "${seen[$href]:-}" ]; then
      seen[$href]=1
      queue+=("$href")
    fi
  done
done
for page in "${pages[@]}"; do
  [ -n "${seen[$page]:-}" ] || fail "$page cannot be reached from index.html"
done

[ $failed -eq 0 ] && echo "manual: ${#pages[@]} pages checked"
exit $failed
