#!/usr/bin/env bash
# Runs a command beside a print server of its own: a scratch cupsd (its own configuration,
# spool and socket, so the machine's printing is left alone) with one PDF printer as the
# default. The command sees CUPS_SERVER (Wine's printing reads it) and QUILLA_PDF_DIR, the
# folder where the printer's jobs land as PDF files. The server is stopped afterwards.
# Usage: scripts/with_pdf_printer.sh COMMAND [ARG...]
set -euo pipefail
fail() { echo "with_pdf_printer: $*" >&2; exit 1; }
for tool in cupsd lpadmin lpstat pdftoppm; do
  command -v "$tool" >/dev/null ||
    fail "$tool is missing: install cups, printer-driver-cups-pdf and poppler-utils (scripts/install-packages.sh)"
done
# cups-pdf runs only as root, which a cupsd started by another user cannot do.
[ "$(id -u)" = 0 ] || fail "the PDF printer needs a cupsd started as root: run the tests as root"
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -f "$ppd" ] || fail "$ppd is missing: install printer-driver-cups-pdf"
[ -f /etc/cups/cups-pdf.conf ] || fail "/etc/cups/cups-pdf.conf is missing: install printer-driver-cups-pdf"

# cups-pdf writes where its configuration says, ${HOME} being the home of the job's user.
home=$(getent passwd "$(id -un)" | cut -d: -f6)
out=$(sed -n 's/^[[:space:]]*Out[[:space:]]\+//p' /etc/cups/cups-pdf.conf | tail -n1)
out=${out:-'${HOME}/PDF'}
export QUILLA_PDF_DIR=${out//'${HOME}'/$home}

scratch=$(mktemp -d /tmp/quilla-cups.XXXXXX)
chmod 755 "$scratch"
mkdir -p "$scratch"/{spool,cache,state,tmp,log,ppd}
export CUPS_SERVER=$scratch/cups.sock
cat >"$scratch/cupsd.conf" <<CONF
Listen $CUPS_SERVER
LogLevel warn
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$scratch/cups-files.conf" <<CONF
ServerRoot $scratch
RequestRoot $scratch/spool
CacheDir $scratch/cache
StateDir $scratch/state
TempDir $scratch/tmp
ErrorLog $scratch/log/error_log
AccessLog $scratch/log/access_log
PageLog $scratch/log/page_log
CONF

cupsd -f -c "$scratch/cupsd.conf" -s "$scratch/cups-files.conf" &
cupsd_pid=$!
stop() {
  kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
  rm -rf "$scratch"
}
trap stop EXIT

for _ in $(seq 100); do
  [ -S "$CUPS_SERVER" ] && lpstat -r >/dev/null 2>&1 && break
  kill -0 "$cupsd_pid" 2>/dev/null || fail "cupsd did not start: $(cat "$scratch"/log/error_log 2>/dev/null)"
  sleep 0.1
done
lpstat -r >/dev/null 2>&1 || fail "cupsd does not answer on $CUPS_SERVER"
# lpadmin warns that printer drivers are deprecated; nothing else is said on success.
lpadmin -p QuillaPDF -v cups-pdf:/ -E -P "$ppd" 2>&1 | grep -v deprecated >&2 || true
lpstat -p QuillaPDF >/dev/null 2>&1 || fail "cannot add the PDF printer"
lpadmin -d QuillaPDF
export QUILLA_PDFTOPPM=$(command -v pdftoppm)
mkdir -p "$QUILLA_PDF_DIR"
"$@"
