#!/usr/bin/env bash
# Screenshots of the tray app on a real desktop (Xvfb, openbox and a tray host at one edge),
# signed out and signed in with the panel open, as the RealDesktop scenario of desktop_tests
# walks it with the app from build/.
#   tests/e2e/desktop-screenshot.sh xfce4-panel|trayer top|bottom OUT.png
# OUT.png shows the panel signed in; OUT-signed-out.png the panel as the first click opens it.
set -euo pipefail
[ $# -eq 3 ] || { sed -n '5p' "$0" >&2; exit 2; }
case "$1 $2" in
  "xfce4-panel top") config=XfcePanelTopDark ;;
  "xfce4-panel bottom") config=XfcePanelBottomLight ;;
  "trayer top") config=TrayerTopLight ;;
  "trayer bottom") config=TrayerBottomDark ;;
  *) sed -n '5p' "$0" >&2; exit 2 ;;
esac
out=$(realpath -m "$3")
cd "$(dirname "$0")/../.."
shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
VEXORA_DESKTOP_SCREENSHOTS="$shots" build/tests/desktop_tests --gtest_filter="RealDesktop.Scenario/$config" >"$shots/log" 2>&1 ||
  grep -A3 Failure "$shots/log" >&2 || true
[ -f "$shots/$config-signed-out.png" ] || { echo "no screenshot: the panel did not open" >&2; exit 1; }
cp "$shots/$config-signed-out.png" "${out%.png}-signed-out.png"
cp "$shots/$config-signed-in.png" "$out" 2>/dev/null || echo "not signed in: only ${out%.png}-signed-out.png" >&2
