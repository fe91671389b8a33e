#!/usr/bin/env bash
# Renders every page of the widget gallery (or the pages named) to PNG files for review.
# Usage: scripts/gallery.sh [output directory] [page ...]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/gallery}")
shift || true

scripts/build-app.sh gallery
QT_QPA_PLATFORM=offscreen build/app/tools/gallery/gallery "$out" "$@"
