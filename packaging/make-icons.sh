#!/usr/bin/env bash
# Regenerates the Windows and macOS icons from the scalable icon. Run it by
# hand after changing the SVG and commit the results; builds use the
# committed files, so Windows and macOS builders need none of these tools.
# Debian: apt-get install librsvg2-bin imagemagick icnsutils
set -euo pipefail
cd "$(dirname "$0")"
svg=io.github.brinevar.Brinevar.svg
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for size in 16 24 32 48 64 128 256 512; do
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$tmp/$size.png"
done
/usr/bin/convert "$tmp"/{16,24,32,48,64,128,256}.png brinevar.ico
png2icns brinevar.icns "$tmp"/{16,32,48,128,256,512}.png >/dev/null
