#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix (WINEPREFIX, else
# wine-prefix in the current folder), with Wine's own chatter off.
export WINEPREFIX=${WINEPREFIX:-$PWD/wine-prefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec wine "$@"
