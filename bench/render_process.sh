#!/bin/sh
# zettelwerk-render of a large newsletter (200 blocks, each with its own 250 KB picture) as whole
# processes, beside its floor: `base64 -w 76` over the same picture bytes in the order the message
# carries them (head logo, then per block the separator and the block's picture, then the imprint
# separator). Both write their file into the same folder. Prints median, minimum and mean of each
# and their ratios to the floor.
#
#   bench/render_process.sh [RUNS] [BUILD_DIR...]      (defaults: 20 runs, build)
#
# Several build folders (say, of two branches) are measured side by side. All commands run in turns,
# so that a machine busy with other work slows each alike. When hyperfine is installed
# (apt-get install hyperfine), all of them also go through hyperfine, which reports user and system
# time. The fixture goes to a temporary folder under TMPDIR.
set -eu
RUNS=${1:-20}
[ $# -gt 0 ] && shift
[ $# -gt 0 ] || set -- build

BLOCKS=200
PICTURE_BYTES=256000
SETTING_PICTURE_BYTES=8192

DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
PROGRAM=$DIR/Programm
mkdir -p "$PROGRAM/Images"
# Random bytes behind a JPEG's first bytes: only pictures go into a message.
picture() { { printf '\377\330\377'; head -c $(($1 - 3)) /dev/urandom; } >"$2"; }
for name in kopf trenner fuss; do
    picture $SETTING_PICTURE_BYTES "$PROGRAM/Images/$name.jpg"
done

crlf() { printf '%s\r\n' "$@"; }
{
    crlf "[SETTINGS]" "Berteff=Vereinsnachrichten" 'KopfLogo=C:\Bilder\kopf.jpg' "LogoAlign=center" \
        "Titel1=Liebe Mitglieder" "Titel2=Neues aus dem Verein" "DateText=Stand:" \
        'SeperatorNews=C:\Bilder\trenner.jpg' "SeperatorAlign=center" 'SeperatorImpressum=C:\Bilder\fuss.jpg' \
        "ImpressumAlign=center" "ImpressumText=Turnverein e.V." "ImpressumMailTo=info@example.org" \
        "ImpressumURL=www.example.org" "TextColor=#000000" "LinkColor=#0000FF" "BKGColor=#FFFFFF" \
        "UnsubscribeLink=" "UnsubscribeText=" "DateOn=TRUE"
    k=1
    while [ $k -le $BLOCKS ]; do
        crlf " " "$(printf '[BLOCK%03d]' $k)" "Meldung $k" "C:\\Bilder\\bild$k.jpg" "Mehr dazu" \
            "www.example.org/meldung?nr=$k" \
            "Ein Text mit <b>Auszeichnung</b> und genug Worten, dass er umbrochen wird, wie es Meldungen meistens sind."
        k=$((k + 1))
    done
} >"$DIR/Vorlage.nld"

# The floor's input: the picture bytes in part order, the separator once per block.
cat "$PROGRAM/Images/kopf.jpg" >"$DIR/floor.bin"
k=1
while [ $k -le $BLOCKS ]; do
    picture $PICTURE_BYTES "$PROGRAM/Images/bild$k.jpg"
    cat "$PROGRAM/Images/trenner.jpg" "$PROGRAM/Images/bild$k.jpg" >>"$DIR/floor.bin"
    k=$((k + 1))
done
cat "$PROGRAM/Images/fuss.jpg" >>"$DIR/floor.bin"

# Command 0 is the floor, 1.. the builds.
FLOOR_CMD="base64 -w 76 '$DIR/floor.bin' >'$DIR/floor.b64'"
n=0
for build in "$@"; do
    n=$((n + 1))
    render=$(cd "$build" && pwd)/Zettelwerk/zettelwerk-render
    [ -x "$render" ] || { echo "no $render: build first" >&2; exit 2; }
    eval "CMD$n=\"'\$render' --program-folder '\$PROGRAM' --date 07.12.2026 '\$DIR/Vorlage.nld' '\$DIR/out\$n.eml'\""
    eval "NAME$n=\$build"
done
CMD0=$FLOOR_CMD
NAME0="base64 -w 76"

i=0
while [ $i -le $n ]; do  # one warm-up run each
    eval "sh -c \"\$CMD$i\""
    : >"$DIR/times$i"
    i=$((i + 1))
done
echo "message: $(wc -c <"$DIR/out1.eml") bytes; floor output: $(wc -c <"$DIR/floor.b64") bytes"

run=0
while [ $run -lt "$RUNS" ]; do
    i=0
    while [ $i -le $n ]; do
        start=$(date +%s%N)
        eval "sh -c \"\$CMD$i\""
        echo $((($(date +%s%N) - start) / 1000)) >>"$DIR/times$i"
        i=$((i + 1))
    done
    run=$((run + 1))
done

stats() { sort -n "$1" | awk '{ a[NR] = $1; s += $1 } END { printf "%d %d %d", a[int((NR + 1) / 2)], a[1], s / NR }'; }
printf '%d runs each, in turns (ms)           median    min   mean   ratio to the floor (median min mean)\n' "$RUNS"
set -- $(stats "$DIR/times0")
floor="$1 $2 $3"
i=0
while [ $i -le $n ]; do
    eval "name=\$NAME$i"
    set -- $(stats "$DIR/times$i") $floor
    awk -v name="$name" -v m="$1" -v lo="$2" -v mean="$3" -v fm="$4" -v flo="$5" -v fmean="$6" 'BEGIN {
        printf "  %-34s %6.1f %6.1f %6.1f   %.2f %.2f %.2f\n", name, m / 1000, lo / 1000, mean / 1000, m / fm, lo / flo, mean / fmean
    }'
    i=$((i + 1))
done

if command -v hyperfine >/dev/null 2>&1; then
    set --
    i=0
    while [ $i -le $n ]; do
        eval "set -- \"\$@\" -n \"\$NAME$i\" \"\$CMD$i\""
        i=$((i + 1))
    done
    hyperfine --warmup 3 --runs "$RUNS" "$@"
fi
