#!/usr/bin/env bash
# Runs a command against a CUPS daemon of its own: configuration, spool and a PDF queue under
# a temporary folder, reached through its own socket, so the machine's printers are neither
# used nor changed. The queue "TrueSizePDF" writes every job to $PRINT_OUTPUT as a PDF file.
# Three more queues stand for printers a studio has, each writing every job as a PDF file of
# its own, $PRINT_QUEUES/NAME/JOB-TITLE.pdf (JOB the job's number in five digits):
#   A4-300       A4 at 300 dpi with uneven margins (left 12, top 18, right 6, bottom 24 pt)
#   Letter-600   Letter at 600 dpi with margins of a quarter inch
#   Stencil-203  paper 8 x 11 inches at 203 dpi, printing to the edges (a thermal stencil printer)
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

mkdir -p "$root"/{spool/tmp,cache,state,log,out,ppd,home,bin/backend}
chmod 1777 "$root/spool/tmp" "$root/out"

# The system's filters and backends, and one backend more, "pages:FOLDER", which keeps every
# job as a file of its own.
for part in /usr/lib/cups/*; do
    [ "$(basename "$part")" = backend ] || ln -s "$part" "$root/bin/"
done
for backend in /usr/lib/cups/backend/*; do ln -s "$backend" "$root/bin/backend/"; done
cat >"$root/bin/backend/pages" <<'BACKEND'
#!/bin/sh
if [ $# -eq 0 ]; then echo 'direct pages "Unknown" "One PDF file a job"'; exit 0; fi
title=$(printf '%s' "$3" | tr -c 'A-Za-z0-9#-' '_')
out="${DEVICE_URI#pages:}/$(printf %05d "$1")-$title.pdf"
if [ -n "$6" ]; then cat "$6" >"$out.part"; else cat >"$out.part"; fi && mv "$out.part" "$out"
BACKEND
chmod 755 "$root/bin" "$root/bin/backend" "$root/bin/backend/pages"
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
ServerBin $root/bin
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

# A PPD of one paper size and one resolution: name, paper, its size and printable area in
# points (left, bottom, right, top from the lower left corner), resolution in dpi. The queue
# passes the PDF it is given on to its device.
ppd_for() {
    cat <<PPD
*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "TESTQ.PPD"
*Manufacturer: "Test"
*Product: "($1)"
*ModelName: "$1"
*ShortNickName: "$1"
*NickName: "$1"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: True
*DefaultColorSpace: RGB
*FileSystem: False
*Throughput: "1"
*LandscapeOrientation: Plus90
*TTRasterizer: Type42
*cupsFilter: "application/vnd.cups-pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: $2
*PageSize $2/$2: "<</PageSize[$3 $4]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: $2
*PageRegion $2/$2: "<</PageSize[$3 $4]/ImagingBBox null>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: $2
*ImageableArea $2/$2: "$5 $6 $7 $8"
*DefaultPaperDimension: $2
*PaperDimension $2/$2: "$3 $4"
*OpenUI *Resolution/Resolution: PickOne
*OrderDependency: 10 AnySetup *Resolution
*DefaultResolution: ${9}dpi
*Resolution ${9}dpi/$9 DPI: "<</HWResolution[$9 $9]>>setpagedevice"
*CloseUI: *Resolution
PPD
}
export PRINT_QUEUES=$root/out
ppd_for A4-300 A4 595 842 12 24 589 824 300 >"$root/ppd/A4-300.ppd"
ppd_for Letter-600 Letter 612 792 18 18 594 774 600 >"$root/ppd/Letter-600.ppd"
ppd_for Stencil-203 w576h792 576 792 0 0 576 792 203 >"$root/ppd/Stencil-203.ppd"
for queue in A4-300 Letter-600 Stencil-203; do
    mkdir -m 1777 "$PRINT_QUEUES/$queue"
    lpadmin -p "$queue" -E -v "pages:$PRINT_QUEUES/$queue" -P "$root/ppd/$queue.ppd" 2>/dev/null
done
export HOME=$root/home PRINT_LOG=$root/log/error_log
"$@"
