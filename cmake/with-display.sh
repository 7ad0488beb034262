#!/usr/bin/env bash
# Runs a command with an X display: the caller's, else a virtual one when
# xvfb-run is there (windows under Wine need a display).
if [ -n "${DISPLAY:-}" ] || ! command -v xvfb-run >/dev/null; then
  exec "$@"
fi
exec xvfb-run -a "$@"
