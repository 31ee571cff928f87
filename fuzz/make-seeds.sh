#!/usr/bin/env bash
# Fills fuzz/seeds/<target>/ with small real files from the test fixtures (and the clipboard and
# PROJECT.CSP inputs made from them). Run it from anywhere after the fixtures change.
set -euo pipefail
cd "$(dirname "$0")"
fx=../tests/fixtures/formats
seed() {  # seed TARGET FILE...
  local target=$1
  shift
  mkdir -p "seeds/$target"
  for f in "$@"; do cp "$fx/$f" "seeds/$target/$(echo "$f" | tr / -)"; done
}
rm -rf seeds/bmp seeds/clipboard seeds/ico seeds/rla seeds/psd seeds/autodesk seeds/psp seeds/scr seeds/emf seeds/project
seed bmp rgb-v3.bmp rgb-v4.bmp rgb-os2.bmp palette8.dib palette4.bmp mono.bmp os2-palette4.bmp hostile/picture.rle
mkdir -p seeds/clipboard
for f in rgb-v3.bmp rgb-v4.bmp palette8.dib palette4.bmp mono.bmp hostile/picture.rle; do
  tail -c +15 "$fx/$f" > "seeds/clipboard/$(basename "$f").dib"
done
seed ico two.ico
seed rla hostile/picture.rla
seed psd hostile/picture.psd
seed autodesk hostile/picture.cel hostile/picture.pic
seed psp hostile/picture.psp
seed scr hostile/picture.scr rgb.pcx palette8.pcc planar4.pcx mono.pcx hostile/pcx-1bit-colours.pcx
seed emf hostile/picture.emf hostile/emf-anisotropic-no-extents.emf hostile/emf-frame-disagrees.emf
mkdir -p seeds/project
# A PROJECT.CSP, a NUL byte, then RESULT.bmp; and descriptors alone (RESULT.bmp missing).
{ printf 'index\r\n100\r\n8\r\n50\r\n6\r\n38\r\n2\r\n16\r\n12\r\n8.5\r\n6.38\r\n\0'; cat "$fx/rgb-v3.bmp"; } > seeds/project/with-result
printf 'index\r\n120\r\n10\r\n40\r\n3\r\n0\r\n' > seeds/project/lines-0-to-5
printf 'index\n160\n60\n99\n0\n0\n1\n9600\n9600\n60.99\n60.99\n' > seeds/project/largest-lf
