#!/usr/bin/env bash
# Runs one Windows executable under the project's Wine prefix (ctest's emulator).
source "$(dirname "$0")/wine-env.sh" 2>/dev/null
exec wine "$@"
