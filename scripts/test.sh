#!/usr/bin/env bash
# Installs the dependencies, builds, and runs every test with CTest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure -j2 --timeout 180
