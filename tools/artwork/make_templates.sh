#!/bin/sh
# Writes the shipped templates and Ver.ini into data/ from their readable sources in templates/:
# the sources are UTF-8 with LF line ends; the program reads Windows-1252 with CR LF.
set -e
here=$(cd "$(dirname "$0")" && pwd)
data=$(cd "$here/../.." && pwd)/data
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT

to_nld() {  # source, target
    iconv -f UTF-8 -t WINDOWS-1252 "$1" >"$tmp"  # fails on any character the code page lacks
    mkdir -p "$(dirname "$2")"
    awk '{ sub(/\r$/, ""); printf "%s\r\n", $0 }' "$tmp" >"$2"
}

cd "$here/templates"
find . -name '*.nld.txt' | sort | while read -r src; do
    rel=${src#./}
    to_nld "$rel" "$data/${rel%.txt}"
    echo "data/${rel%.txt}"
done
printf 'Version 1.0\r\n' >"$data/Ver.ini"
echo "data/Ver.ini"
