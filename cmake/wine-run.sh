#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix (WINEPREFIX, else
# wine-prefix in the current folder), with Wine's own chatter off.
#
# Now and then a Wine process loses its connection to the Wine server as it
# starts ("wine client error: ... Connection reset by peer") and dies before
# the program runs at all. That is Wine's doing, not the program's: such a
# start is tried again, twice at most. Any other failure stands as it is.
export WINEPREFIX=${WINEPREFIX:-$PWD/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
Err=$(mktemp)
trap 'rm -f "$Err"' EXIT
for Attempt in 1 2 3; do
  wine "$@" 2>"$Err"
  Status=$?
  if [[ $Status -ne 0 && $Attempt -lt 3 ]] && grep -q '^wine client error' "$Err"; then
    echo "wine-run: Wine lost its server as the program started; starting it again" >&2
    sleep 1
    continue
  fi
  cat "$Err" >&2
  exit $Status
done
