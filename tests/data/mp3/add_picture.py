#!/usr/bin/env python3
"""Puts an ID3v2.3 tag with a title and a cover picture in front of an MP3 file.

usage: add_picture.py IN.mp3 OUT.mp3 TITLE

The picture is a 36 x 36 PNG of noise from a fixed generator. Its compressed
pixels are close to random bytes, so they hold 0xFF bytes that pass for MPEG
frame syncs, as the cover art of real files does. The tag is not
unsynchronised (taggers rarely do it), so those false syncs stay in the file.
The generator's seed is the first from 1 up whose tag holds such a false sync
in its first 3000 bytes, where a reader that does not step over the tag looks
for the first frame.
"""

import struct
import sys
import zlib

PICTURE_SIDE = 36
PADDING = 256


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def noise_png(seed):
    state = seed
    rows = bytearray()
    for _ in range(PICTURE_SIDE):
        rows.append(0)  # filter type: none
        for _ in range(PICTURE_SIDE * 3):
            state = (state * 1103515245 + 12345) % (1 << 31)
            rows.append(state >> 23)
    header = struct.pack(">IIBBBBB", PICTURE_SIDE, PICTURE_SIDE, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", header) +
            png_chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + png_chunk(b"IEND", b""))


def frame(frame_id, data):
    # ID3v2.3 frame sizes are plain big-endian, not sync-safe.
    return frame_id + struct.pack(">I", len(data)) + b"\x00\x00" + data


def sync_safe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def first_false_sync(data):
    for i in range(2, min(len(data), 3000)):
        if data[i - 2] == 0xFF and data[i - 1] >= 0xE2 and 0x10 <= data[i] <= 0xEB:
            return i - 2
    return None


def main():
    source, out, title = sys.argv[1], sys.argv[2], sys.argv[3]
    seed = 0
    at = None
    while at is None:
        seed += 1
        frames = frame(b"TIT2", b"\x00" + title.encode("latin-1"))
        # text encoding, MIME type, picture type 3 (front cover), empty description
        frames += frame(b"APIC", b"\x00image/png\x00\x03\x00" + noise_png(seed))
        body = frames + bytes(PADDING)
        tag = b"ID3\x03\x00\x00" + sync_safe(len(body)) + body
        at = first_false_sync(tag)
    with open(source, "rb") as f:
        audio = f.read()
    with open(out, "wb") as f:
        f.write(tag + audio)
    print(f"{out}: ID3v2 tag of {len(tag)} bytes (seed {seed}), first false sync at {at}: "
          f"{tag[at]:02X} {tag[at + 1]:02X} {tag[at + 2]:02X}")


if __name__ == "__main__":
    main()
