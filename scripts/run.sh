#!/usr/bin/env bash
# Builds the tool and the module simulator, starts the simulator on a pseudo-terminal and opens
# the window with that port preset: press Open, then "Communication Query".
# Pass --port DEVICE to use a real module instead of the simulator.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh --target kt730-config kt730-sim

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display to show the window on." >&2
  echo "Run it under a virtual display instead:  xvfb-run -a scripts/run.sh" >&2
  exit 1
fi

if [ "${1:-}" = "--port" ]; then
  exec build/kt730-config "$@"
fi

sim_out=$(mktemp)
build/sim/kt730-sim >"$sim_out" 2>/tmp/kt730-sim.log &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null; rm -f "$sim_out"' EXIT
for _ in $(seq 50); do
  [ -s "$sim_out" ] && break
  sleep 0.1
done
device=$(head -n 1 "$sim_out")
echo "Module simulator on $device (its log: /tmp/kt730-sim.log)"
build/kt730-config --port "$device"
