#!/usr/bin/env bash
# Starts the console from the folder that holds the program's wave files, which
# are looked up by bare name in the working directory.
set -euo pipefail
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
exe="$root/$build/app/GrainTerminal"
cd "$root/sounds" 2>/dev/null || cd "$root"
exec "$exe"
