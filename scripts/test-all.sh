#!/usr/bin/env bash
# Sets up what is missing, builds the three builds and runs every test:
# the portable tests natively, the Windows tests under Wine and Xvfb, on
# both Windows builds (the 32-bit release with Wine's 32-bit loader).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/env/setup.sh

bash scripts/env/firebird-server.sh start  # the database tests run against it
cmake --workflow --preset native
cmake --workflow --preset win64
cmake --workflow --preset win32        # the release
