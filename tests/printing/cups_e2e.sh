#!/usr/bin/env bash
# End-to-end print through a real print queue. Starts a private CUPS server (its own folder and
# socket, so a system CUPS is never touched) with one queue, the default, whose device is a file
# in this run's own folder and whose driver hands the job on as PDF. print_e2e prints each job
# through the program's print path with the real print dialog; pdfinfo and pdftotext then check
# the file the queue wrote: the 300-line list on 6 pages, the card on 1. A long list cancelled from
# its progress window must leave nothing: no job queued or printed, no file written.
#
#     bash tests/printing/cups_e2e.sh build/tests/print_e2e
#
# Nothing outside the run's folder is written, and nothing outside it and tests/printing/cups is
# read: no machine-wide printer configuration and no folder of the user's, so files left there by
# other prints cannot confuse the check.
#
# Exit 77 (skipped) where it cannot run: not root (cupsd needs it) or cups, cups-filters or
# poppler-utils missing.
set -euo pipefail

TOOL=${1:?usage: cups_e2e.sh <print_e2e executable>}
QUEUE=IngressarioPDF

skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "needs root to run cupsd"
for need in /usr/sbin/cupsd /usr/lib/cups/filter/pdftopdf; do
    [ -e "$need" ] || skip "$need is missing (packages cups, cups-filters)"
done
for tool in lpadmin lpstat pdfinfo pdftotext; do
    command -v "$tool" >/dev/null || skip "$tool is missing"
done

WORK=$(mktemp -d /tmp/ingressario-cups.XXXXXX)
OUT="$WORK/out"
CUPSD_PID=""

cleanup() {
    if [ -n "$CUPSD_PID" ]; then
        kill "$CUPSD_PID" 2>/dev/null || true
        wait "$CUPSD_PID" 2>/dev/null || true
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT
on_error() {
    echo "FAIL at line $1"
    tail -20 "$WORK/log/error_log" 2>/dev/null || true
}
trap 'on_error $LINENO' ERR

mkdir -p "$WORK/spool/tmp" "$WORK/cache" "$WORK/state" "$WORK/log" "$WORK/ppd" "$OUT"
chmod 0755 "$WORK" "$WORK/spool"
# The server's configuration (FileDevice: the queue's device may be a plain file, this run's own)
# and a printer that takes PDF: the job goes through the standard PDF filter (copies, page ranges)
# and reaches the device as PDF, its text intact. The end-to-end print test uses the same files.
CUPS_FILES="$(dirname "$0")/cups"
for conf in cupsd.conf cups-files.conf; do
    sed "s|@WORK@|$WORK|g" "$CUPS_FILES/$conf" >"$WORK/$conf"
done
cp "$CUPS_FILES/pdf-file.ppd" "$WORK/pdf-file.ppd"

/usr/sbin/cupsd -f -c "$WORK/cupsd.conf" -s "$WORK/cups-files.conf" >"$WORK/log/cupsd.out" 2>&1 &
CUPSD_PID=$!
export CUPS_SERVER="$WORK/cups.sock"
for _ in $(seq 1 100); do
    lpstat -r >/dev/null 2>&1 && break
    sleep 0.1
done
lpstat -r >/dev/null 2>&1 || { cat "$WORK/log/cupsd.out" "$WORK/log/error_log" 2>/dev/null; echo "FAIL: cupsd did not start"; exit 1; }

lpadmin -p "$QUEUE" -v "file:$OUT/none.pdf" -E -P "$WORK/pdf-file.ppd"
lpadmin -d "$QUEUE"

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"

# One job at a time, each into its own file: the device is one file that every job rewrites.
print_job() { # $1: list or card; the job's PDF ends up in $OUT/$1.pdf
    lpadmin -p "$QUEUE" -v "file:$OUT/$1.pdf"
    "$TOOL" "$1"
    for _ in $(seq 1 600); do
        [ -z "$(lpstat -o "$QUEUE" 2>/dev/null)" ] && break
        sleep 0.1
    done
    [ -z "$(lpstat -o "$QUEUE" 2>/dev/null)" ] || { tail -20 "$WORK/log/error_log"; echo "FAIL: $1 job still queued"; exit 1; }
    [ -s "$OUT/$1.pdf" ] || { tail -20 "$WORK/log/error_log"; echo "FAIL: the $1 job wrote nothing"; exit 1; }
}
pages() { pdfinfo "$OUT/$1.pdf" | sed -n 's/^Pages: *//p'; }
page_text() { pdftotext -f "$2" -l "$2" -layout "$OUT/$1.pdf" -; }

print_job list
print_job card
LIST_PAGES=$(pages list)
CARD_PAGES=$(pages card)
echo "list job: $LIST_PAGES pages (expected 6); card job: $CARD_PAGES pages (expected 1)"
[ "$LIST_PAGES" = 6 ] && [ "$CARD_PAGES" = 1 ] || { echo "FAIL: page counts"; exit 1; }

# What reached the device is the program's own pages: the first and the last line of the list
# where they belong, the card's values on the card.
page_text list 1 | grep -q "Cod. 00001" || { echo "FAIL: the list's first line is not on page 1"; exit 1; }
page_text list 6 | grep -q "Cod. 00300" || { echo "FAIL: the list's last line is not on page 6"; exit 1; }
page_text card 1 | grep -q "Prova di stampa" || { echo "FAIL: the card's note is not on the card"; exit 1; }
# Cancelled while printing: the queue is never given the job.
lpadmin -p "$QUEUE" -v "file:$OUT/cancel.pdf"
DONE_BEFORE=$(lpstat -W completed -o "$QUEUE" 2>/dev/null | wc -l)
"$TOOL" cancel || { echo "FAIL: the cancelled job did not end as cancelled"; exit 1; }
sleep 2
[ -z "$(lpstat -o "$QUEUE" 2>/dev/null)" ] || { lpstat -o "$QUEUE"; echo "FAIL: the cancelled job is queued"; exit 1; }
DONE_AFTER=$(lpstat -W completed -o "$QUEUE" 2>/dev/null | wc -l)
[ "$DONE_AFTER" = "$DONE_BEFORE" ] || { lpstat -W completed -o "$QUEUE"; echo "FAIL: the cancelled job was printed"; exit 1; }
[ ! -e "$OUT/cancel.pdf" ] || { echo "FAIL: the cancelled job wrote $(pdfinfo "$OUT/cancel.pdf" | sed -n 's/^Pages: *//p') pages"; exit 1; }
echo "cancel job: nothing queued, nothing printed"
echo "PASS"
