#!/bin/sh
# Installs the Debian packages the build, the tests and `make run` need, if any is missing.
set -e
PACKAGES="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-webengine-dev qt6-translations-l10n \
libjpeg62-turbo-dev libjpeg-turbo-progs libexif-dev libgmime-3.0-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-liberation2 \
xvfb xauth imagemagick clang libclang-rt-14-dev dpkg-dev file xdg-utils \
libcurl4-openssl-dev qtkeychain-qt6-dev python3-aiosmtpd dovecot-imapd openssl gnome-keyring dbus libsecret-tools \
libheif-dev libwebp-dev libpng-dev libheif-examples netpbm liblcms2-dev libhunspell-dev hunspell-de-de"
missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0
echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends $missing
