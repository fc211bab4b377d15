#!/usr/bin/env bash
# Shows the practice sheet window on a private X display and checks where its controls land on
# screen. The screenshots and the test report stay in the artifacts folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/private_display.sh"
mkdir -p "$SUMWISE_ARTIFACTS"
start_private_display "$SUMWISE_ARTIFACTS/window_geometry_xvfb.log"
QT_QPA_PLATFORM=xcb "$SUMWISE_E2E_BIN/window_geometry_probe" \
  --gtest_output="xml:$SUMWISE_ARTIFACTS/window_geometry.xml"
