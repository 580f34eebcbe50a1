#!/usr/bin/env bash
# Fails when a folder includes a header from a folder it must not depend
# on, or when X headers appear outside gui/.  The table below is the
# dependency graph of the libraries; it points one way, from base up to app.
set -u
top=${1:-.}
cd "$top" || exit 2

declare -A allowed=(
  [libs/libadt]=""
  [base]="libs/libadt"
  [libs/libcxxutil]="base libs/libadt"
  [config]="base libs/libadt libs/libcxxutil"
  [gui]="config base libs/libadt libs/libcxxutil"
  [syntax]="gui config base libs/libadt libs/libcxxutil"
  [text]="syntax config base libs/libadt libs/libcxxutil"
  [diff]="text syntax config base libs/libadt libs/libcxxutil"
  [libs/stp_transport]="base libs/libadt libs/libcxxutil"
  [services]="libs/stp_transport gui config base libs/libadt libs/libcxxutil"
  [vc]="services libs/stp_transport diff text gui config base libs/libadt libs/libcxxutil"
  [viewer]="vc services libs/stp_transport diff text syntax gui config base libs/libadt libs/libcxxutil"
  [app]="viewer vc services libs/stp_transport diff text syntax gui config base libs/libadt libs/libcxxutil"
  [tools]="viewer vc services libs/stp_transport diff text syntax gui config base libs/libadt libs/libcxxutil"
)

bad=0
for dir in "${!allowed[@]}"; do
  [ -d "$dir" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    inc=$(sed -E 's/.*#include[[:space:]]*"([^"]+)".*/\1/' <<<"${hit#*:}")
    case "$inc" in */*) ;; *) continue ;; esac   # a header beside the file
    ok=0
    for dep in $dir ${allowed[$dir]}; do
      case "$inc" in "$dep"/*) ok=1 ;; esac
    done
    if [ $ok -eq 0 ]; then
      echo "$file includes \"$inc\", which $dir must not use"
      bad=1
    fi
  done < <(grep -rEo --include='*.h' --include='*.cpp' '#include[[:space:]]*"[^"]+"' "$dir")
done

# Test harnesses read the X server directly to see what a window shows.
xhits=$(grep -rlE '#include[[:space:]]*<X11/' --include='*.h' --include='*.cpp' . 2>/dev/null |
        grep -vE '^\./(gui|build[^/]*|tests)/' || true)
if [ -n "$xhits" ]; then
  echo "X headers outside gui/:"; echo "$xhits"; bad=1
fi

[ $bad -eq 0 ] && echo "layering: ok"
exit $bad
