#!/bin/sh
# The memory zettelwerk-send needs for a list: a dry run of the shipped default newsletter to 10,000
# recipients beside the same dry run to one recipient (the program's idle size with one rendering),
# both as whole processes. Prints the peak resident size of each and the difference, which must
# stay under 40 MB: the list may cost memory, the messages may not pile up.
#
#   bench/send_memory.sh [RECIPIENTS] [BUILD_DIR] [TEMPLATE]
#                                  (defaults: 10000, build, the shipped default template)
set -eu
COUNT=${1:-10000}
BUILD=${2:-build}
ROOT=$(cd "$(dirname "$0")/.." && pwd)
TEMPLATE=${3:-$ROOT/data/Zettelwerk_Vorlage.nld}
SEND=$(cd "$BUILD" && pwd)/Zettelwerk/zettelwerk-send

DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
mkdir -p "$DIR/Programm/Images"
cp "$ROOT"/data/Images/* "$DIR/Programm/Images/"
printf '[Absender]\nName=Verein\nAdresse=info@verein.example\nServer=127.0.0.1\nPort=25\nSicherheit=keine\n' \
    >"$DIR/profil.ini"
/usr/bin/python3 - "$COUNT" "$DIR" <<'PY'
import sys
count, folder = int(sys.argv[1]), sys.argv[2]
with open(folder + "/liste.csv", "w", encoding="utf-8") as f:
    f.write("Vorname;Nachname;E-Mail\n")
    for i in range(count):
        f.write(f"Anna;Nummer {i};anna{i}@example.org\n")
with open(folder + "/eine.csv", "w", encoding="utf-8") as f:
    f.write("anna@example.org\n")
PY
/usr/bin/python3 - "$SEND" "$DIR" "$TEMPLATE" "$COUNT" <<'PY'
import resource, subprocess, sys, time
send, folder, template, count = sys.argv[1:5]

def peak(listfile, out):
    # Each run in a child of its own, so that ru_maxrss of the children is this run's alone.
    code = ("import resource,subprocess,sys;"
            "subprocess.run(sys.argv[1:],check=True,stderr=subprocess.DEVNULL);"
            "print(resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss)")
    start = time.monotonic()
    kb = int(subprocess.run([sys.executable, "-c", code, send, "--program-folder", folder + "/Programm",
                             "--profile", folder + "/profil.ini", "--dry-run", folder + "/" + out,
                             template, folder + "/" + listfile],
                            check=True, capture_output=True, text=True).stdout)
    return kb / 1024, time.monotonic() - start

idle, t1 = peak("eine.csv", "eine")
full, tn = peak("liste.csv", "alle")
print(f"dry run to 1 recipient:      peak {idle:7.1f} MB  {t1:6.2f} s")
print(f"dry run to {count} recipients: peak {full:7.1f} MB  {tn:6.2f} s")
print(f"growth with the list:        {full - idle:7.1f} MB (goal: under 40 MB)")
PY
