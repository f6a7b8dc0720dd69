#!/usr/bin/python3
"""Puts an ID3v2.3 or 2.4 tag written by mutagen in front of an MP3 file.

usage: tag_with_mutagen.py [options] AUDIO OUT FRAME...

Each FRAME is ID:ENCODING:TEXT, for example "TPE1:3:Björk". ENCODING is the
text encoding byte mutagen is asked for: 0 (ISO-8859-1), 1 (UTF-16; mutagen
writes the BOM of the machine's byte order, FF FE on x86), 2 (UTF-16BE, 2.4
only) or 3 (UTF-8, 2.4 only). An id given again adds a value to that frame,
which 2.4 stores NUL-separated. mutagen ends every value with a NUL.

options:
  --version 3|4       major version (default 3)
  --padding N         zero bytes after the frames (default 0: mutagen's own
                      choice depends on the file's size)
  --picture SIDE      add an APIC front cover: a SIDE x SIDE PNG of noise

This is how most tagged files look: an ordinary library's output, without
unsynchronisation or extended headers. Runs on Debian's python3, where
python3-mutagen is installed.
"""

import argparse
import shutil
import struct
import zlib

from mutagen.id3 import ID3, APIC, Frames


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def noise_png(side, seed=1):
    # The same fixed generator as ../add_picture.py: compressed noise is as
    # big as its pixels, so SIDE sets the size, and it holds false syncs.
    state = seed
    rows = bytearray()
    for _ in range(side):
        rows.append(0)  # filter type: none
        for _ in range(side * 3):
            state = (state * 1103515245 + 12345) % (1 << 31)
            rows.append(state >> 23)
    header = struct.pack(">IIBBBBB", side, side, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + png_chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--version", type=int, choices=(3, 4), default=3)
    parser.add_argument("--padding", type=int, default=0)
    parser.add_argument("--picture", type=int, default=0)
    parser.add_argument("audio")
    parser.add_argument("out")
    parser.add_argument("frames", nargs="+")
    args = parser.parse_args()

    tags = ID3()
    for arg in args.frames:
        frame_id, encoding, text = arg.split(":", 2)
        encoding = int(encoding)
        if args.version == 3 and encoding > 1:
            # mutagen would quietly turn these into UTF-16 on saving.
            raise SystemExit("2.3 knows only encodings 0 and 1")
        if frame_id in tags:
            tags[frame_id].text.append(text)
        else:
            tags.add(Frames[frame_id](encoding=encoding, text=[text]))
    if args.picture:
        picture = noise_png(args.picture)
        tags.add(APIC(encoding=0, mime="image/png", type=3, desc="", data=picture))
        print(f"{args.out}: picture of {len(picture)} bytes")

    shutil.copyfile(args.audio, args.out)
    tags.save(args.out, v1=0, v2_version=args.version, padding=lambda info: args.padding)
    with open(args.out, "rb") as f:
        head = f.read(10)
    size = 10 + sum(b << (7 * (3 - i)) for i, b in enumerate(head[6:10]))
    print(f"{args.out}: ID3v2.{head[3]} tag of {size} bytes")


if __name__ == "__main__":
    main()
