#!/usr/bin/env bash
# Installs what is missing, builds the program with what lies beside it (the
# page folder and the sample), and starts it. The tests and benchmarks are
# left to test.sh.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
zo_install
zo_build ZeltorOmra zo_resources
EXE="$BUILD/bin/ZeltorOmra"
if [ ! -x "$EXE" ]; then
  echo "The program was not built: $EXE is missing." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "There is no display. Start the program under a virtual one:"
  echo "  xvfb-run -a $0"
  exit 1
fi
cd "$(dirname "$EXE")"
exec "$EXE"
