#!/usr/bin/env bash
# Takes the README's screenshot: the bench and the simulator's panel in the middle of a short
# scene (tervani-showcase), photographed on a virtual X display.
#
#   tools/screenshot.sh [OUTPUT.png]        default docs/screenshot.png
#
# Needs a build (cmake --build build) and the packages xvfb and imagemagick. BUILD_DIR names
# another build folder.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
output=${1:-$root/docs/screenshot.png}
showcase=$build/tools/tervani-showcase

[[ -x $showcase ]] || { echo "screenshot.sh: $showcase missing; build first" >&2; exit 1; }
command -v xvfb-run >/dev/null || { echo "screenshot.sh: needs xvfb" >&2; exit 1; }
command -v import >/dev/null || { echo "screenshot.sh: needs imagemagick" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$output")"

# Runs on the virtual display: start the scene, wait for "bereit", photograph, end the scene.
cat >"$work/take.sh" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
showcase=$1 raw=$2 log=$3
"$showcase" >"$log" 2>&1 &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true' EXIT
for _ in $(seq 1 200); do
    grep -q '^bereit$' "$log" && break
    kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; exit 1; }
    sleep 0.1
done
grep -q '^bereit$' "$log" || { echo "the scene did not get ready" >&2; exit 1; }
import -window root "$raw"
INNER
chmod +x "$work/take.sh"

xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24 -br" \
    "$work/take.sh" "$showcase" "$work/raw.png" "$work/showcase.log"

# Cut away the empty screen around the two windows and frame them.
convert "$work/raw.png" -trim +repage -bordercolor black -border 12 "$output"
echo "screenshot.sh: wrote $output"
