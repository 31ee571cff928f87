#!/usr/bin/env bash
# Runs a command against a CUPS daemon of its own: configuration, spool and a PDF queue under
# a temporary folder, reached through its own socket, so the machine's printers are neither
# used nor changed. The queue "TrueSizePDF" writes every job to $PRINT_OUTPUT as a PDF file.
set -euo pipefail
# The daemon hands jobs to its filters as another user, which only root may do.
if [ "$(id -u)" != 0 ]; then echo "SKIP: a private CUPS daemon needs root" >&2; exit 77; fi
root=$(mktemp -d /tmp/dg-cups.XXXXXX)
chmod 755 "$root"
cleanup() {
    [ -n "${cupsd_pid:-}" ] && kill "$cupsd_pid" 2>/dev/null && wait "$cupsd_pid" 2>/dev/null
    rm -rf "$root"
}
trap cleanup EXIT

mkdir -p "$root"/{spool/tmp,cache,state,log,out,ppd,home}
chmod 1777 "$root/spool/tmp" "$root/out"
user=root
id lp >/dev/null 2>&1 && user=lp
cat >"$root/cupsd.conf" <<CONF
Listen $root/cups.sock
LogLevel warn
WebInterface No
Browsing No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat >"$root/cups-files.conf" <<CONF
ServerRoot $root
RequestRoot $root/spool
TempDir $root/spool/tmp
CacheDir $root/cache
StateDir $root/state
ErrorLog $root/log/error_log
AccessLog $root/log/access_log
PageLog $root/log/page_log
FileDevice Yes
User $user
Group lp
SystemGroup root
Sandboxing Relaxed
CONF

cupsd -f -c "$root/cupsd.conf" -s "$root/cups-files.conf" &
cupsd_pid=$!
export CUPS_SERVER=$root/cups.sock
for _ in $(seq 100); do [ -S "$CUPS_SERVER" ] && break; sleep 0.1; done
[ -S "$CUPS_SERVER" ] || { cat "$root/log/error_log" 2>/dev/null; echo "cupsd did not start" >&2; exit 1; }

export PRINT_OUTPUT=$root/out/job.pdf
ppd=/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd
lpadmin -p TrueSizePDF -E -v "file://$PRINT_OUTPUT" -P "$ppd" -o PageSize=A4
lpadmin -d TrueSizePDF
export HOME=$root/home PRINT_LOG=$root/log/error_log
"$@"
