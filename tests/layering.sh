#!/usr/bin/env bash
# The folder tree is the architecture.  The table below is the dependency
# graph of the product's folders, each edge a folder whose headers another
# includes directly; it must be exactly the graph the code has (no missing
# and no stale edges, no folder that does not exist) and have no cycle.
# Code outside a gui/ sub-folder includes only the headers that the
# sub-folder's own header (gui/x11/x11.h, ...) lists as public, and only
# gui/x11/ includes X headers.  Test harnesses may include anything.
set -u
top=${1:-.}
cd "$top" || exit 2

declare -A uses=(
  [libs/libadt]=""
  [base]="libs/libadt"
  [libs/libcxxutil]="base"
  [libs/stp_transport]="libs/libcxxutil gui/loop base"
  [config]="base"
  [gui/loop]="base"
  [gui/x11]="gui/loop base"
  [gui/core]="gui/x11 gui/loop config base"
  [gui/text]="gui/core gui/x11 gui/loop base"
  [gui/widgets]="gui/core gui/x11 base"
  [gui/menus]="gui/core gui/x11 base"
  [gui/lists]="gui/widgets gui/text gui/core gui/x11 config base"
  [syntax]="libs/libcxxutil config base"
  [text]="base"
  [diff]="text libs/libadt config base"
  [services]="libs/stp_transport gui/loop libs/libcxxutil base"
  [services/windlib]="services libs/stp_transport libs/libcxxutil gui/widgets gui/core gui/x11 gui/loop base"
  [services/diffview]="services/windlib services viewer gui/widgets base"
  [svc_router]="services libs/stp_transport libs/libcxxutil gui/loop config base"
  [vc]="services/windlib services libs/stp_transport gui/widgets gui/loop text config base"
  [kvc]="diff base"
  [vc_service]="kvc vc services diff base"
  [viewer]="vc diff text syntax gui/lists gui/menus gui/widgets gui/text gui/core gui/x11 config base"
  [app]="services/diffview editor viewer vc services libs/stp_transport libs/libcxxutil syntax text gui/core gui/x11 config base"
  [tools]="diff text gui/text gui/core config base"
  [editor]="diff text gui/widgets gui/text gui/core gui/x11 gui/loop base"
  [diffmerge]="editor diff base"
  [bench]="vc_service vc services libs/stp_transport base"
)

bad=0
fail() { echo "$*"; bad=1; }

# The folder a path belongs to: a gui/ sub-folder, a libs/ library, the
# toolkit's part of services/, or a top-level folder.
folder_of() {
  case "$1" in
    gui/*/*) local r=${1#gui/}; echo "gui/${r%%/*}" ;;
    libs/*/*) local r=${1#libs/}; echo "libs/${r%%/*}" ;;
    services/windlib/*) echo services/windlib ;;
    services/diffview/*) echo services/diffview ;;
    */*) echo "${1%%/*}" ;;
  esac
}

sources=$(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -vE '^(tests|build[^/]*)/')
declare -A used has_code
while IFS=: read -r file inc; do
  [ -n "$inc" ] || continue
  from=$(folder_of "$file"); to=$(folder_of "$inc")
  has_code[$from]=1
  [ -z "$to" ] || [ "$to" = "$from" ] && continue
  used["$from $to"]=1
  case " ${uses[$from]-} " in
    *" $to "*) ;;
    *) fail "$file includes \"$inc\": $from does not build on $to" ;;
  esac
  case "$inc" in
    gui/*/*) umbrella="$to/${to#gui/}.h"
             grep -q "#include \"$inc\"" "$umbrella" 2>/dev/null ||
               fail "$file includes \"$inc\", which $umbrella does not list as public" ;;
  esac
done < <(for f in $sources; do
           sed -nE "s|^#include[[:space:]]*\"([^\"]+/[^\"]+)\".*|$f:\1|p" "$f"
           echo "$f:"
         done)

for from in "${!uses[@]}"; do
  [ -d "$from" ] || fail "the table names $from, which does not exist"
  for to in ${uses[$from]}; do
    [ -n "${used["$from $to"]-}" ] || fail "the table says $from builds on $to, but nothing there includes it"
  done
done
for from in "${!has_code[@]}"; do
  [ -n "${uses[$from]+x}" ] || fail "$from is missing from the table"
done

# No cycle: every folder's dependencies can be settled before it.
declare -A state
visit() {
  case "${state[$1]-}" in done) return 0 ;; active) fail "cycle through $1"; return 1 ;; esac
  state[$1]=active
  local d; for d in ${uses[$1]-}; do visit "$d" || return 1; done
  state[$1]=done
}
for f in "${!uses[@]}"; do visit "$f"; done

# Every header a gui/ sub-folder lists as public exists.
for umbrella in gui/*/*.h; do
  [ "$(basename "$umbrella" .h)" = "$(basename "$(dirname "$umbrella")")" ] || continue
  for h in $(sed -nE 's/^#include "([^"]+)".*/\1/p' "$umbrella"); do
    [ -f "$h" ] || fail "$umbrella lists $h, which does not exist"
  done
done

xhits=$(grep -lE '#include[[:space:]]*<X11/' $sources | grep -v '^gui/x11/')
[ -z "$xhits" ] || fail "X headers outside gui/x11/: $xhits"

[ $bad -eq 0 ] && echo "layering: ok"
exit $bad
