#!/usr/bin/env bash
# Measures the time from starting kt730-config to its shown window, and its peak resident memory,
# next to a bare Qt window holding the same number of widgets. Offscreen platform, N runs each.
# Usage: bench/startup.sh [build-dir] [runs]
set -euo pipefail
build=${1:-build}
runs=${2:-20}
export QT_QPA_PLATFORM=offscreen KT730_EXIT_WHEN_SHOWN=1

probe() { "$@" 2>&1 >/dev/null | grep -o 'widgets=[0-9]* peak_rss=[0-9]* kB' | tail -n 1; }

widgets=$(probe "$build/kt730-config" | sed 's/widgets=\([0-9]*\).*/\1/')

measure() {  # prints the median wall time in ms and the peak RSS of the last run
  local times=() line
  for _ in $(seq "$runs"); do
    local t0 t1
    t0=$(date +%s%N)
    line=$(probe "$@")
    t1=$(date +%s%N)
    times+=($(((t1 - t0) / 1000000)))
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
  echo "$median ${line#*peak_rss=}"
}

read -r tool_ms tool_rss tool_unit <<<"$(measure "$build/kt730-config")"
read -r bare_ms bare_rss bare_unit <<<"$(measure "$build/bench/bare_window" "$widgets")"
echo "widgets:           $widgets"
echo "kt730-config:      ${tool_ms} ms to shown window, peak RSS ${tool_rss} ${tool_unit}"
echo "bare window:       ${bare_ms} ms to shown window, peak RSS ${bare_rss} ${bare_unit}"
awk -v a="$tool_ms" -v b="$bare_ms" -v c="$tool_rss" -v d="$bare_rss" \
  'BEGIN { printf "ratio (tool/bare): time %.2f, memory %.2f\n", a / b, c / d }'
