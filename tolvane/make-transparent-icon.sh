#!/bin/sh
# Writes an icon file whose images (32 x 32 and 16 x 16, 32 bits) are fully
# transparent: the shortcut arrow drawn with it shows nothing.
# Usage: make-transparent-icon.sh FILE
set -e
out=$1
byte() { printf "\\$(printf %03o "$1")"; }
le16() { byte $(($1 & 255)); byte $(($1 >> 8 & 255)); }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }
zeros() { [ "$1" -gt 0 ] && head -c "$1" /dev/zero; true; }
ones() { [ "$1" -gt 0 ] && head -c "$1" /dev/zero | tr '\000' '\377'; true; }
size() { echo $((40 + $1 * $1 * 4 + $1 * (($1 + 31) / 32) * 4)); }
entry() { # SIDE OFFSET
  byte "$1"; byte "$1"; byte 0; byte 0; le16 1; le16 32; le32 "$(size "$1")"; le32 "$2"
}
image() { # SIDE: the header, no colour and every pixel masked out
  le32 40; le32 "$1"; le32 $(($1 * 2)); le16 1; le16 32; le32 0
  le32 $(($(size "$1") - 40)); le32 0; le32 0; le32 0; le32 0
  zeros $(($1 * $1 * 4))
  ones $(($1 * (($1 + 31) / 32) * 4))
}
{
  le16 0; le16 1; le16 2
  entry 32 38
  entry 16 $((38 + $(size 32)))
  image 32
  image 16
} >"$out.tmp"
mv "$out.tmp" "$out"
