#!/usr/bin/env bash
# End-to-end print through a real print queue. Starts a private CUPS server (its own folder and
# socket, so a system CUPS is never touched), adds the cups-pdf printer as the default queue, runs
# print_e2e (the program's print path with the real print dialog) and checks with pdfinfo the PDF
# files that cups-pdf writes for the two jobs: the 300-line list on 6 pages, the card on 1.
#
#     bash tests/printing/cups_e2e.sh build/tests/print_e2e
#
# Exit 77 (skipped) where it cannot run: not root (cupsd and the cups-pdf backend need it) or
# cups / printer-driver-cups-pdf / poppler-utils missing.
set -euo pipefail

TOOL=${1:?usage: cups_e2e.sh <print_e2e executable>}
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
QUEUE=IngressarioPDF

skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "needs root to run cupsd and the cups-pdf backend"
for need in /usr/sbin/cupsd /usr/lib/cups/backend/cups-pdf "$PPD"; do
    [ -e "$need" ] || skip "$need is missing (packages cups, printer-driver-cups-pdf)"
done
for tool in lpadmin lpstat pdfinfo; do
    command -v "$tool" >/dev/null || skip "$tool is missing"
done

WORK=$(mktemp -d /tmp/ingressario-cups.XXXXXX)
CUPSD_PID=""
# cups-pdf writes into the PDF folder of the job's owner.
OUT="$(getent passwd "$(id -un)" | cut -d: -f6)/PDF"
OUT_EXISTED=0
[ -d "$OUT" ] && OUT_EXISTED=1
BEFORE="$WORK/before.txt"
ls -1 "$OUT" 2>/dev/null | sort >"$BEFORE" || true
NEW_FILES=()

cleanup() {
    if [ -n "$CUPSD_PID" ]; then
        kill "$CUPSD_PID" 2>/dev/null || true
        wait "$CUPSD_PID" 2>/dev/null || true
    fi
    for f in "${NEW_FILES[@]}"; do rm -f "$OUT/$f"; done
    [ "$OUT_EXISTED" -eq 0 ] && rmdir "$OUT" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT
on_error() {
    echo "FAIL at line $1"
    tail -20 "$WORK/log/error_log" 2>/dev/null || true
}
trap 'on_error $LINENO' ERR

mkdir -p "$WORK/spool/tmp" "$WORK/cache" "$WORK/state" "$WORK/log" "$WORK/ppd"
chmod 0755 "$WORK" "$WORK/spool"
cat >"$WORK/cupsd.conf" <<EOF
Listen $WORK/cups.sock
LogLevel info
Browsing Off
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
    Allow all
  </Limit>
</Policy>
EOF
cat >"$WORK/cups-files.conf" <<EOF
ServerRoot $WORK
RequestRoot $WORK/spool
TempDir $WORK/spool/tmp
CacheDir $WORK/cache
StateDir $WORK/state
AccessLog $WORK/log/access_log
ErrorLog $WORK/log/error_log
PageLog $WORK/log/page_log
ServerBin /usr/lib/cups
DataDir /usr/share/cups
FileDevice No
EOF

/usr/sbin/cupsd -f -c "$WORK/cupsd.conf" -s "$WORK/cups-files.conf" >"$WORK/log/cupsd.out" 2>&1 &
CUPSD_PID=$!
export CUPS_SERVER="$WORK/cups.sock"
for _ in $(seq 1 100); do
    lpstat -r >/dev/null 2>&1 && break
    sleep 0.1
done
lpstat -r >/dev/null 2>&1 || { cat "$WORK/log/cupsd.out" "$WORK/log/error_log" 2>/dev/null; echo "FAIL: cupsd did not start"; exit 1; }

lpadmin -p "$QUEUE" -v cups-pdf:/ -E -P "$PPD" 2>/dev/null
lpadmin -d "$QUEUE"

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p -m 0700 "$XDG_RUNTIME_DIR"
"$TOOL"

# Both jobs done (the queue empties once cups-pdf has written the files).
for _ in $(seq 1 600); do
    [ -z "$(lpstat -o "$QUEUE" 2>/dev/null)" ] && break
    sleep 0.1
done
[ -z "$(lpstat -o "$QUEUE" 2>/dev/null)" ] || { tail -20 "$WORK/log/error_log"; echo "FAIL: jobs still queued"; exit 1; }

mapfile -t NEW_FILES < <(comm -13 "$BEFORE" <(ls -1 "$OUT" 2>/dev/null | sort))
echo "cups-pdf wrote: ${NEW_FILES[*]:-nothing}"

pages_of_title() { # the page count of the new PDF whose title is $1
    for f in "${NEW_FILES[@]}"; do
        if pdfinfo "$OUT/$f" 2>/dev/null | grep -q "^Title:.*$1"; then
            pdfinfo "$OUT/$f" | sed -n 's/^Pages: *//p'
            return
        fi
    done
    echo 0
}
LIST_PAGES=$(pages_of_title "Riepilogo dati")
CARD_PAGES=$(pages_of_title "Scheda Pass")
echo "list job: $LIST_PAGES pages (expected 6); card job: $CARD_PAGES pages (expected 1)"
[ "$LIST_PAGES" = 6 ] && [ "$CARD_PAGES" = 1 ] || { tail -20 "$WORK/log/error_log"; echo "FAIL"; exit 1; }
echo "PASS"
