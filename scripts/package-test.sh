#!/usr/bin/env bash
# Checks what a user gets from a package: builds a Release copy in its own
# folder, installs it into a staging folder, validates the desktop entry and
# the AppStream metadata, makes the .deb and the .tar.gz, checks that both carry
# the embedded font's licence, reads the package's dependencies, and starts the
# staged program once under Xvfb.
# Usage: scripts/package-test.sh   (build folder: $PACKAGE_BUILD_DIR or build-package)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh

build=${PACKAGE_BUILD_DIR:-build-package}
packages=(cmake ninja-build g++ qt6-base-dev fonts-liberation
          desktop-file-utils appstream dpkg-dev file xvfb xauth xdotool python3)
ensure_packages "${packages[@]}"

fail() { echo "package-test: $*" >&2; exit 1; }
step() { echo "== $*"; }

step "Release build in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DBUILD_TESTING=OFF -DBRINEVAR_BENCH=OFF >/dev/null
cmake --build "$build" --target brinevar

step "cmake --install into a staging folder"
stage=$(realpath "$build")/stage
rm -rf "$stage"
DESTDIR=$stage cmake --install "$build" >/dev/null
(cd "$stage" && find . -type f | sort)

share=$stage/usr/share
desktop=$(echo "$share"/applications/*.desktop)
[ -f "$desktop" ] || fail "no desktop entry in $share/applications"
id=$(basename "$desktop" .desktop)
[ -x "$stage/usr/bin/brinevar" ] || fail "no usr/bin/brinevar"
[ -f "$share/icons/hicolor/scalable/apps/$id.svg" ] || fail "no scalable icon named $id"
[ -f "$share/metainfo/$id.metainfo.xml" ] || fail "no metainfo named $id"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry does not name the icon $id"
grep -q "<id>$id</id>" "$share/metainfo/$id.metainfo.xml" || fail "the metainfo id is not $id"

step "desktop-file-validate"
desktop-file-validate "$desktop"
step "appstreamcli validate --no-net"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml"

step "cpack"
rm -f "$build"/brinevar_*.deb "$build"/brinevar-*.tar.gz
(cd "$build" && cpack >/dev/null)
deb=$(echo "$build"/brinevar_*.deb)
tgz=$(echo "$build"/brinevar-*.tar.gz)
[ -f "$deb" ] && [ -f "$tgz" ] || fail "cpack made no .deb or no .tar.gz"

step "dpkg-deb -I $(basename "$deb")"
dpkg-deb -I "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6 qt6-qpa-plugins; do
    grep -q "\\b$lib\\b" <<<"$depends" || fail "Depends does not name $lib: $depends"
done
step "dpkg-deb -c $(basename "$deb")"
contents=$(dpkg-deb -c "$deb")
echo "$contents"
for f in ./usr/bin/brinevar "./usr/share/applications/$id.desktop" \
         "./usr/share/metainfo/$id.metainfo.xml" "./usr/share/icons/hicolor/scalable/apps/$id.svg" \
         ./usr/share/doc/brinevar/copyright ./usr/share/doc/brinevar/GPL-2; do
    grep -q " $f\$" <<<"$contents" || fail "the package lacks $f"
done
step "tar -tzf $(basename "$tgz")"
contents=$(tar -tzf "$tgz")
echo "$contents"
for f in bin/brinevar share/doc/brinevar/copyright share/doc/brinevar/GPL-2; do
    grep -q "/$f\$" <<<"$contents" || fail "the archive lacks $f"
done

# The program embeds a GPL-2 font: each package carries the font's licence
# terms with their exception and the GPL-2 text they refer to.
font_licence() { # $1: package name, then a command printing one of its files
    local what=$1 copyright gpl
    shift
    copyright=$("$@" copyright) && gpl=$("$@" GPL-2) || fail "cannot read $what's licence files"
    grep -q 'LiberationSansNarrow-Regular.ttf' <<<"$copyright" &&
        grep -q 'As a special exception, if you create a document which uses this font' <<<"$copyright" ||
        fail "$what: the copyright file lacks the font's licence exception"
    grep -q 'GNU GENERAL PUBLIC LICENSE' <<<"$gpl" && grep -q 'Version 2, June 1991' <<<"$gpl" &&
        grep -q 'END OF TERMS AND CONDITIONS' <<<"$gpl" || fail "$what: GPL-2 is not the whole GPL version 2"
}
deb_doc() { dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "./usr/share/doc/brinevar/$1"; }
tgz_doc() { tar -xzOf "$tgz" --wildcards "*/share/doc/brinevar/$1"; }
font_licence "$(basename "$deb")" deb_doc
font_licence "$(basename "$tgz")" tgz_doc

step "start the staged program under Xvfb"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME/Brinevar" "$XDG_DATA_HOME" "$work/updates"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# A stored Updates folder, so that the program opens without asking.
printf '[MZTPath]\nPath=%s/\n' "$work/updates" >"$XDG_CONFIG_HOME/Brinevar/Brinevar.conf"
cat >"$work/run.sh" <<'EOF'
set -euo pipefail
"$1" &
pid=$!
id=$(timeout 30 xdotool search --sync --onlyvisible --name '^Brinevar$' | head -n1) || {
    kill "$pid" 2>/dev/null; echo "package-test: no window named Brinevar appeared" >&2; exit 1; }
echo "window $id: $(xdotool getwindowname "$id")"
python3 "$2" "$id"
status=0
timeout 20 tail --pid="$pid" -f /dev/null || { kill "$pid"; echo "package-test: still running after close" >&2; exit 1; }
wait "$pid" || status=$?
echo "closed, exit status $status"
exit "$status"
EOF
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/run.sh" "$stage/usr/bin/brinevar" "$PWD/scripts/close-window.py"
# Closing by the close box writes nothing.
written=$(find "$work" "$stage" -name 'tanks.*')
[ -z "$written" ] || fail "closing the window wrote $written"

echo "package-test: all checks passed ($(basename "$deb"), $(basename "$tgz"))"
