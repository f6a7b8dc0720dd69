#!/bin/sh
# Remakes the MP3 files of this folder from generated sound (see README.md for
# what each file must read as). Needs python3, lame 3.100 and id3v2 0.1.12.
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# wav NAME RATE CHANNELS SECONDS
wav() { python3 make_wav.py "$work/$1.wav" "$2" "$3" "$4"; }

wav s44 44100 2 0.5
lame --quiet --noreplaygain -b 128 -m s --resample 44.1 "$work/s44.wav" cbr128_44100_stereo.mp3

wav m22 22050 1 2
lame --quiet --noreplaygain -b 32 -m m --resample 22.05 "$work/m22.wav" mpeg2_cbr32_22050_mono.mp3

wav m8 8000 1 8
lame --quiet --noreplaygain -b 8 -m m --resample 8 "$work/m8.wav" mpeg25_cbr8_8000_mono.mp3

wav j44 44100 2 0.8
lame --quiet --noreplaygain -V 4 -m j --resample 44.1 "$work/j44.wav" vbr_xing_44100_joint.mp3

wav m22v 22050 1 2
lame --quiet --noreplaygain -V 4 -m m --resample 22.05 "$work/m22v.wav" mpeg2_vbr_xing_22050_mono.mp3

wav m44v 44100 1 1
lame --quiet --noreplaygain -V 4 -m m --resample 44.1 "$work/m44v.wav" vbr_xing_44100_mono.mp3

wav j48v 48000 2 0.8
lame --quiet --noreplaygain -V 4 -m j --resample 48 "$work/j48v.wav" vbr_xing_48000_joint.mp3

wav s24v 24000 2 1.5
lame --quiet --noreplaygain -V 4 -m s --resample 24 "$work/s24v.wav" mpeg2_vbr_xing_24000_stereo.mp3

wav m11v 11025 1 3
lame --quiet --noreplaygain -V 4 -m m --resample 11.025 "$work/m11v.wav" mpeg25_vbr_xing_11025_mono.mp3

wav j48 48000 2 0.4
lame --quiet --noreplaygain -b 112 -m j --resample 48 "$work/j48.wav" "$work/j48.mp3"
python3 add_picture.py "$work/j48.mp3" id3v2_picture_cbr112_48000.mp3 "Cover Art"

wav m32 32000 1 1
lame --quiet --noreplaygain -b 64 -m m --resample 32 "$work/m32.wav" id3v1_full_cbr64_32000_mono.mp3
# The album holds the byte 0xE9, which Windows-1252 reads as e acute.
id3v2 --id3v1-only \
  --song "Thirty Bytes Of Title Fill It!" \
  --artist "An Artist Whose Name Fills All" \
  --album "$(printf 'Caf\351 Album Of Exactly 30 Bytes')" \
  --year 1999 \
  --comment "A comment thirty bytes in all." \
  --genre 147 \
  id3v1_full_cbr64_32000_mono.mp3

for f in *.mp3; do
  size=$(wc -c <"$f")
  if [ "$size" -ge 16384 ]; then
    echo "$f: $size bytes, not under 16 KB" >&2
    exit 1
  fi
done
