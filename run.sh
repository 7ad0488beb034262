#!/usr/bin/env bash
# The run command: installs what is missing, builds the reference host and
# the Trace module in a Release build, registers the module in the add-on
# registry and opens the host on the sample town.
#
#   ./run.sh [PROJECT]         open the host (on PROJECT instead of the sample)
#   ./run.sh --script FILE     replay a script in the host, without a window
#                              when there is no display
#   ./run.sh --geom            the kernel alone: buffer zones of data/ with trace-geom
#   ./run.sh --help            these lines and the host's options
set -euo pipefail
cd "$(dirname "$0")"

if [[ "${1:-}" == "--geom" ]]; then
  exec ./scripts/run-geom.sh
fi

BUILD=${TRACE_RUN_BUILD_DIR:-build-release}
HOST="$BUILD/host/trace-host"
if [[ "${1:-}" == "--help" || "${1:-}" == "-h" ]]; then
  # This script's own usage at once; the host's options come from the host,
  # built first when it is not there yet.
  sed -n 's/^#   //p' "$0"
  echo
  [[ -x "$HOST" ]] && exec "$HOST" --help
  echo "The host's options follow once it is built (a few minutes, once):"
  echo
fi

./scripts/install-deps.sh

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRACE_BUILD_TESTS=OFF \
  -DTRACE_BUILD_UI=ON >/dev/null
cmake --build "$BUILD" --target trace-host Trace -j "$(nproc)"

if [[ "${1:-}" == "--help" || "${1:-}" == "-h" ]]; then
  exec "$HOST" --help
fi

MODULE=$(find "$BUILD/addon" -maxdepth 1 -name 'libTrace.so' | head -n 1)
# Registration as a registration tool does it: the add-on (active) and its
# class, into the registry file (TRACE_REGISTRY_FILE, else the user's
# configuration folder).
"$HOST" --register "$(realpath "$MODULE")"

if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]]; then
  if [[ "${1:-}" == "--script" ]]; then
    # A script needs no screen: without a display it runs offscreen.
    export QT_QPA_PLATFORM=offscreen
  else
    # The host would say so too, but name itself rather than this command.
    echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)." >&2
    echo "Run the host under a virtual display:  xvfb-run -a ./run.sh $*" >&2
    echo "or replay a script without a window:   ./run.sh --script FILE" >&2
    exit 3
  fi
fi
exec "$HOST" "$@"
