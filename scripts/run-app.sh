#!/usr/bin/env bash
# Installs what is missing, builds the application (Release, no sanitizers) and starts it. The configuration file
# and the logs are kept beside the program, in build/app/app/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build-app.sh
build=build/app
exec "$build/app/MyQuorvaneRE" "$@"
