#!/usr/bin/env bash
# Redraws packaging/icons/hicolor from the application's own icon drawing (run after changing it).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target tessaron-render-icons
QT_QPA_PLATFORM=offscreen build/Tessaron/app/tessaron-render-icons packaging/icons/hicolor
