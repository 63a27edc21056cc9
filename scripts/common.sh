# Shared by run.sh and test.sh: install what the build needs, then build.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${ZO_BUILD_DIR:-$ROOT/build}"
JOBS="${ZO_JOBS:-$(nproc 2>/dev/null || echo 2)}"  # ZO_JOBS: fewer on a shared machine

ZO_PACKAGES=(g++ cmake make pkg-config qt6-base-dev qt6-charts-dev qt6-translations-l10n libqt6opengl6-dev libqt6test6 libgl-dev
             libjpeg62-turbo-dev libgtest-dev libbenchmark-dev xvfb xauth
             fonts-dejavu-core fontconfig
             libxcb1-dev openbox xdotool x11-utils)

zo_install() {
  local missing=()
  for p in "${ZO_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then return 0; fi
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures, then builds the targets named (none: everything).
zo_build() {
  cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
  if [ $# -gt 0 ]; then
    cmake --build "$BUILD" -j "$JOBS" --target "$@"
  else
    cmake --build "$BUILD" -j "$JOBS"
  fi
}
