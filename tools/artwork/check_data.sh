#!/bin/sh
# Checks the shipped program folder data/: the templates are laid out exactly as the program writes
# them (Windows-1252, CR LF, the settings in their order, blocks of five lines), every picture a template
# names lies in Images/, the pictures are small baseline JPEGs, and Ver.ini and the window pictures exist.
# Prints one line per problem and exits non-zero if there was any.
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
data=${1:-$(cd "$here/../.." && pwd)/data}
problems=0
fail() { echo "FAIL: $*"; problems=$((problems + 1)); }

cd "$data" || exit 2
referenced=$(mktemp)
trap 'rm -f "$referenced"' EXIT

for nld in *.nld Vorlagen/*.nld; do
    [ -f "$nld" ] || continue
    # Text encoding: Windows-1252 without undefined bytes, not UTF-8 in disguise.
    iconv -f WINDOWS-1252 -t UTF-8 "$nld" >/dev/null 2>&1 || fail "$nld: not Windows-1252"
    if iconv -f UTF-8 -t UTF-16 "$nld" >/dev/null 2>&1 && grep -q "$(printf '[\200-\377]')" "$nld"; then
        fail "$nld: looks like UTF-8"
    fi
    [ "$(tail -c 2 "$nld" | od -An -c | tr -d ' ')" = '\r\n' ] || fail "$nld: last line does not end in CR LF"
    awk -v f="$nld" '
        function bad(msg) { printf "FAIL: %s line %d: %s\n", f, NR, msg; errors++ }
        BEGIN {
            split("Berteff KopfLogo LogoAlign Titel1 Titel2 DateText SeperatorNews SeperatorAlign " \
                  "SeperatorImpressum ImpressumAlign ImpressumText ImpressumMailTo ImpressumURL TextColor " \
                  "LinkColor BKGColor UnsubscribeLink UnsubscribeText", keys, " ")
        }
        {
            if ($0 !~ /\r$/) bad("no CR LF")
            line = $0; sub(/\r$/, "", line)
            if (line ~ /\r/) bad("stray CR")
            if (NR == 1) { if (line != "[SETTINGS]") bad("first line is not [SETTINGS]"); next }
            if (NR <= 19) {
                key = keys[NR - 1]
                if (index(line, key "=") != 1) { bad("expected key " key); next }
                value = substr(line, length(key) + 2)
                if (key ~ /Color$/ && value !~ /^#[0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F][0-9A-F]$/)
                    bad(key " is not #RRGGBB in capitals")
                if (key ~ /Align$/ && value !~ /^(left|center|right)$/) bad(key " is no alignment word")
                if (key ~ /^(KopfLogo|SeperatorNews|SeperatorImpressum)$/) picture(value)
                next
            }
            if (NR == 20) { if (line !~ /^DateOn=(TRUE|FALSE)$/) bad("expected DateOn=TRUE or FALSE"); next }
            pos = (NR - 21) % 7
            block = int((NR - 21) / 7) + 1
            if (pos == 0 && line != " ") bad("expected a line with one blank")
            if (pos == 1 && line != sprintf("[BLOCK%03d]", block)) bad(sprintf("expected [BLOCK%03d]", block))
            if (pos >= 2 && index(line, "[BLOCK")) bad("block line holds [BLOCK")
            if (pos == 3 && line != "") picture(line)
            if (pos == 6) {
                # The editor writes the link tag with "=3D" and the font-size tag with a plain "=".
                rest = line; gsub(/<a href=3D"/, "", rest); gsub(/<font size="/, "", rest)
                if (index(rest, "=")) bad("body text holds an = outside the editor'"'"'s tags")
            }
            last = NR
        }
        function picture(path,   name) {
            if (path !~ /\.jpg$/) bad("picture does not end in .jpg: " path)
            name = path; sub(/^.*[\\\/:]/, "", name)
            print name >> "'"$referenced"'"
        }
        END {
            if (NR < 20) bad("settings incomplete")
            else if ((NR - 20) % 7 != 0) bad("last block is not complete")
            exit errors > 0
        }' "$nld" || problems=$((problems + 1))
    # Only the reserved example domains for addresses.
    for host in $(iconv -f WINDOWS-1252 -t UTF-8 "$nld" | grep -oE '[A-Za-z0-9.-]+\.(de|com|org|net|eu|info)\b' | sort -u); do
        case "$host" in
            example.org | example.com | example.net | *.example.org | *.example.com | *.example.net) ;;
            *) fail "$nld: address outside the example domains: $host" ;;
        esac
    done
done

for name in $(sort -u "$referenced"); do
    [ -f "Images/$name" ] || fail "picture named by a template is missing: Images/$name"
done
for jpg in Images/*.jpg recom/*.jpg; do
    [ -f "$jpg" ] || continue
    size=$(wc -c <"$jpg")
    [ "$size" -lt 61440 ] || fail "$jpg: $size bytes, more than 60 KB"
    file "$jpg" | grep -q 'baseline' || fail "$jpg: not a baseline JPEG"
    case "$jpg" in
        Images/*) grep -qx "${jpg#Images/}" "$referenced" || echo "note: $jpg is named by no template" ;;
    esac
done
for f in recom/kopf.jpg recom/about.jpg; do
    [ -f "$f" ] || fail "missing $f"
done
head -n 1 Ver.ini 2>/dev/null | grep -q "^Version .*$(printf '\r')\$" || fail "Ver.ini: first line is not a version text ending in CR LF"

if [ "$problems" -eq 0 ]; then
    echo "data/ is fine: $(ls *.nld Vorlagen/*.nld | wc -l) templates, $(ls Images/*.jpg | wc -l) pictures"
fi
[ "$problems" -eq 0 ]
