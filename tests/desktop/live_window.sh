#!/usr/bin/env bash
# The real window played by the automatic player for SECONDS on its own Xvfb,
# losing balls on purpose so that games end and begin anew: memory must stay
# flat after the first 20 s and both timers keep their 40 ticks a second
# (tessaly-live --check).
# Usage: live_window.sh TESSALY_LIVE SECONDS
set -uo pipefail
live=$1 seconds=$2
source "$(dirname "$0")/xvfb.sh"
start_xvfb
trap 'kill "$xvfb" 2>/dev/null' EXIT
"$live" --seconds "$seconds" --play-only --every 10 --miss-every 2 --check
