#!/usr/bin/env bash
# The printer the printing tests print on: Debian's CUPS scheduler (started
# here, without systemd) with a cups-pdf queue as the default printer, so
# that Wine's programs see it as their default printer and every job comes
# out as a PDF file.
#
#   bash scripts/env/print-server.sh start    # start cupsd and the queue when missing
#   bash scripts/env/print-server.sh status
#   bash scripts/env/print-server.sh folder   # prints the folder of the PDF files
#
# The PDF files land in $QV_PDF_OUT (default /var/spool/quorvex-pdf), named
# after their job name. Runs as root on a fresh Debian 12 machine (after
# scripts/env/setup.sh); every command is idempotent.
set -euo pipefail

QUEUE=QuorvexPDF
OUT=${QV_PDF_OUT:-/var/spool/quorvex-pdf}
PPD=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd

log() { echo "print-server: $*"; }

running() { lpstat -r 2>/dev/null | grep -q 'is running'; }

start() {
  if ! running; then
    log "starting cupsd"
    mkdir -p /run/cups /var/spool/cups /var/cache/cups
    # cupsd forks into the background and leaves the caller's session.
    cupsd </dev/null >/dev/null 2>&1
    for _ in $(seq 1 100); do
      running && break
      sleep 0.1
    done
    running || { log "cupsd did not start; see /var/log/cups/error_log" >&2; exit 1; }
  fi
  mkdir -p "$OUT"
  chmod 0777 "$OUT"
  # The queue's own settings (cups-pdf reads cups-pdf-<queue>.conf for the
  # device cups-pdf:/<queue>): every file in one folder.
  local conf=/etc/cups/cups-pdf-$QUEUE.conf
  local want
  want=$(printf 'Out %s\nAnonDirName %s\nUserUMask 0022\nAnonUMask 0022\n' "$OUT" "$OUT")
  [ "$(cat "$conf" 2>/dev/null)" = "$want" ] || printf '%s\n' "$want" >"$conf"
  if ! lpstat -p "$QUEUE" >/dev/null 2>&1; then
    log "adding the PDF queue $QUEUE"
    lpadmin -p "$QUEUE" -E -v "cups-pdf:/$QUEUE" -P "$PPD" 2>/dev/null
  fi
  cupsenable "$QUEUE"
  cupsaccept "$QUEUE"
  [ "$(lpstat -d 2>/dev/null)" = "system default destination: $QUEUE" ] || lpadmin -d "$QUEUE"
  log "running; $QUEUE is the default printer, its files go to $OUT"
}

case "${1:-start}" in
  start) start ;;
  status)
    if running; then lpstat -d -p "$QUEUE"; else log "stopped"; exit 3; fi
    ;;
  folder) echo "$OUT" ;;
  *)
    echo "usage: $0 start|status|folder" >&2
    exit 2
    ;;
esac
