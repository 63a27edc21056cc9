#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exits non-zero on any failure.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
zo_install
zo_build
(cd "$BUILD" && ctest --output-on-failure -j "$JOBS" --timeout 600)

# The model and file code again under AddressSanitizer and UBSan: the readers
# are fed broken files there, and a silent overrun must fail the run.
ASAN="${ZO_ASAN_DIR:-$ROOT/build-asan}"
cmake -S "$ROOT" -B "$ASAN" -DCMAKE_BUILD_TYPE=Debug -DZO_GUI=OFF -DZO_SANITIZE=ON >/dev/null
cmake --build "$ASAN" -j "$JOBS"
(cd "$ASAN" && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
   ctest --output-on-failure -j "$JOBS" --timeout 900)
