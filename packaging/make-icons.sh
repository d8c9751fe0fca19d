#!/usr/bin/env bash
# Regenerates the Windows icon from the scalable icon. Run it by hand after
# changing the SVG and commit the result; builds use the committed file, so
# Windows builders need none of these tools.
# Debian: apt-get install librsvg2-bin imagemagick
set -euo pipefail
cd "$(dirname "$0")"
svg=io.github.brinevar.Brinevar.svg
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$tmp/$size.png"
done
/usr/bin/convert "$tmp"/{16,24,32,48,64,128,256}.png brinevar.ico
