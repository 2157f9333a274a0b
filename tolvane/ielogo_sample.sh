#!/bin/sh
# Writes ielogo_sample.bmp: a sample for the browser's animated logo, frames
# of 26 x 26 dots stacked top to bottom in one 26-dot-wide bitmap (24 bits
# per dot). The first frame is the still logo, a ring; in the nine after it a
# dot runs once round the ring. Usage: ielogo_sample.sh OUT.bmp
set -e
out=$1
[ -n "$out" ] || { echo "usage: $0 OUT.bmp" >&2; exit 2; }
awk 'BEGIN {
  w = 26; frames = 10; h = w * frames; stride = 80;  # 78 bytes of dots, padded to a multiple of 4
  size = 54 + stride * h;
  # File and information headers, little-endian.
  hdr = "42 4d"; hdr = hdr le(size, 4) le(0, 4) le(54, 4);
  hdr = hdr le(40, 4) le(w, 4) le(h, 4) le(1, 2) le(24, 2) le(0, 4) le(stride * h, 4);
  hdr = hdr le(2835, 4) le(2835, 4) le(0, 4) le(0, 4);
  n = split(hdr, b, " "); line = "";
  for (i = 1; i <= n; i++) line = line "\\" sprintf("%03o", hex(b[i]));
  print line;
  pi = atan2(0, -1);
  for (row = h - 1; row >= 0; row--) {  # bottom-up
    f = int(row / w); y = row % w; line = "";
    for (x = 0; x < w; x++) {
      dx = x - 12.5; dy = y - 12.5; r = sqrt(dx * dx + dy * dy);
      red = 236; green = 240; blue = 248;                           # the toolbar face
      if (r >= 7.5 && r <= 10.5) { red = 40; green = 96; blue = 200 }   # the ring
      if (f > 0) {
        a = 2 * pi * (f - 1) / (frames - 1) - pi / 2;
        px = 12.5 + 9 * cos(a); py = 12.5 + 9 * sin(a);
        if ((x - px) ^ 2 + (y - py) ^ 2 <= 6.5) { red = 240; green = 160; blue = 24 }  # the running dot
      }
      line = line oct(blue) oct(green) oct(red);
    }
    print line "\\000\\000";
  }
}
function le(v, bytes,   s, i) { s = ""; for (i = 0; i < bytes; i++) { s = s " " sprintf("%02x", v % 256); v = int(v / 256) } return s }
function hex(s,   d, v, i) { v = 0; for (i = 1; i <= length(s); i++) { d = index("0123456789abcdef", substr(s, i, 1)) - 1; v = v * 16 + d } return v }
function oct(v) { return "\\" sprintf("%03o", v) }' </dev/null | {
  : >"$out.tmp"
  while IFS= read -r line; do printf "$line" >>"$out.tmp"; done
}
mv "$out.tmp" "$out"
