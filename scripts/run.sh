#!/usr/bin/env bash
# Installs the dependencies, builds, and starts Vorlix.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "${BUILD_DIR:-$root/build}/src/vorlix" "$@"
