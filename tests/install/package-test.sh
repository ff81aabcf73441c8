#!/bin/sh
# Builds the Debian package, unpacks it into a temporary root (dpkg-deb -x) and runs what it installed
# from there: zettelwerk-render on a shipped template, and the window until its start-up is complete.
# Usage: package-test.sh BUILD_FOLDER
set -eu
build=$(cd "$1" && pwd)
root=$(mktemp -d)
pid=""
cleanup() { [ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$root"; }
trap cleanup EXIT
fail() { echo "package test: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$root/pkg" >"$root/cpack.log" 2>&1) || { cat "$root/cpack.log"; fail "cpack failed"; }
deb=$(ls "$root"/pkg/zettelwerk_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libc6 libqt6widgets6 qt6-qpa-plugins qt6-translations-l10n libqt6webenginecore6-bin xdg-utils \
    libhunspell hunspell-de-de; do
    echo "$depends" | grep -q "$needed" || fail "Depends lacks $needed: $depends"
done
dpkg-deb -f "$deb" Recommends | grep -q wine || fail "wine is not recommended"
dpkg-deb -x "$deb" "$root/fs"

usr=$root/fs/usr
program=$usr/lib/zettelwerk
[ -L "$usr/bin/zettelwerk" ] && [ -L "$usr/bin/zettelwerk-render" ] || fail "bin/ links missing"
[ -f "$program/zettelwerk-installed" ] || fail "install marker missing"
[ -f "$usr/share/applications/zettelwerk.desktop" ] || fail "desktop entry missing"
grep -q '^MimeType=application/x-zettelwerk-template;' "$usr/share/applications/zettelwerk.desktop" || fail "no MIME type in the desktop entry"
grep -q 'pattern="\*.nld"' "$usr/share/mime/packages/zettelwerk.xml" || fail "MIME type without *.nld"
for size in 16 32 48 256; do
    [ -f "$usr/share/icons/hicolor/${size}x$size/apps/zettelwerk.png" ] || fail "icon $size missing"
    [ -f "$usr/share/icons/hicolor/${size}x$size/mimetypes/application-x-zettelwerk-template.png" ] || fail "template icon $size missing"
done
[ -z "$(find "$program" -perm /222 ! -type l)" ] || fail "installed program folder is writable"
before=$(cd "$program" && find . -type f | sort | xargs md5sum)

export HOME="$root/home" XDG_RUNTIME_DIR="$root/run" QT_QPA_PLATFORM=offscreen
unset XDG_DATA_HOME XDG_CONFIG_HOME
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

"$usr/bin/zettelwerk-render" --date 07.12.2026 "$program/Vorlagen/Sportverein.nld" "$root/Sport.eml" || fail "zettelwerk-render failed"
grep -q '^Content-Type: multipart/related;' "$root/Sport.eml" || fail "no message written"

# The window: no tip and no showcase, as a returning user has it.
user=$HOME/.local/share/Zettelwerk
mkdir -p "$user" && touch "$user/NoTip.ini" "$user/NoWer.ini"
"$usr/bin/zettelwerk" >"$root/window.log" 2>&1 &
pid=$!
tries=0
until [ -f "$user/Copy.ini" ] && [ -f "$user/Temp001.edt" ]; do
    kill -0 "$pid" 2>/dev/null || { cat "$root/window.log"; fail "the window ended during start-up"; }
    tries=$((tries + 1))
    [ $tries -lt 300 ] || { cat "$root/window.log"; fail "start-up not complete after 30 s"; }
    sleep 0.1
done
kill -0 "$pid" || fail "the window ended after start-up"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""
[ -f "$user/Vorlagen/Sportverein.nld" ] && [ -f "$user/Zettelwerk_Vorlage.nld" ] || fail "per-user folder not seeded"
[ ! -e "$user/zettelwerk" ] && [ ! -e "$user/zettelwerk-installed" ] || fail "executables or marker copied"
after=$(cd "$program" && find . -type f | sort | xargs md5sum)
[ "$before" = "$after" ] || fail "the installed program folder changed"
echo "package test: $(basename "$deb") installs and runs"
