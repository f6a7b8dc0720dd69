#!/usr/bin/env python3
"""Puts a hand-built ID3v2 tag in front of an MP3 file.

usage: write_id3v2.py [options] AUDIO OUT FRAME...

Each FRAME is ID:ENCODING:TEXT, for example "TIT2:1be:Zürich". ENCODING is the
text encoding byte, 0 (ISO-8859-1), 1 (UTF-16 with a little-endian BOM),
1be (UTF-16 with a big-endian BOM), 2 (UTF-16BE without a BOM) or 3 (UTF-8).
The frame ids must suit the version: three letters for 2.2, four for 2.3/2.4.

options:
  --version 2|3|4     major version (default 3)
  --nul               end each text with a NUL (two bytes in UTF-16)
  --stray-byte ID     add one 0x00 byte after the text of frame ID, so a UTF-16
                      text has an odd length (a NUL terminator cut in half)
  --unsync            unsynchronise: the whole tag after the header in 2.2/2.3;
                      in 2.4 each frame on its own, with its frame flag set,
                      and the header flag as well
  --ext-header        add an extended header with a CRC-32 of the frames
  --footer            add a 2.4 footer (no padding is allowed then)
  --padding N         zero bytes after the frames (default 0)

These are the tags that common tagging libraries cannot write (2.2, a 2.3
UTF-16 text with a big-endian BOM, unsynchronisation, extended headers,
footers, broken texts), so every byte is laid down here. Nothing depends on
time or chance: the same arguments give the same bytes. AUDIO may be
/dev/null for a file that is only a tag.
"""

import argparse
import struct
import sys
import zlib


def sync_safe(n, width=4):
    out = bytearray()
    for shift in range(7 * (width - 1), -1, -7):
        out.append((n >> shift) & 0x7F)
    return bytes(out)


def unsynchronise(data):
    # Every 0xFF that a reader could take for the start of a frame sync
    # (followed by 0xE0 or more), or that would be ambiguous after decoding
    # (followed by 0x00, or at the very end), gets a 0x00 after it.
    out = bytearray()
    for i, byte in enumerate(data):
        out.append(byte)
        if byte == 0xFF and (i + 1 == len(data) or data[i + 1] >= 0xE0 or data[i + 1] == 0x00):
            out.append(0x00)
    return bytes(out)


def encode_text(encoding, text, nul):
    if encoding == "0":
        return b"\x00", text.encode("latin-1") + (b"\x00" if nul else b"")
    if encoding == "1":
        return b"\x01", b"\xff\xfe" + text.encode("utf-16-le") + (b"\x00\x00" if nul else b"")
    if encoding == "1be":
        return b"\x01", b"\xfe\xff" + text.encode("utf-16-be") + (b"\x00\x00" if nul else b"")
    if encoding == "2":
        return b"\x02", text.encode("utf-16-be") + (b"\x00\x00" if nul else b"")
    if encoding == "3":
        return b"\x03", text.encode("utf-8") + (b"\x00" if nul else b"")
    raise SystemExit(f"unknown encoding {encoding!r}")


def frame(version, frame_id, data, unsync):
    if version == 2:
        if len(frame_id) != 3:
            raise SystemExit(f"2.2 frame ids have three letters: {frame_id}")
        return frame_id.encode("ascii") + struct.pack(">I", len(data))[1:] + data
    if len(frame_id) != 4:
        raise SystemExit(f"2.3 and 2.4 frame ids have four letters: {frame_id}")
    if version == 3:
        # 2.3 sizes are plain big-endian and count the bytes before
        # unsynchronisation, which covers the whole tag at once.
        return frame_id.encode("ascii") + struct.pack(">I", len(data)) + b"\x00\x00" + data
    flags = 0
    if unsync:
        data = unsynchronise(data)
        flags |= 0x02
    # 2.4 sizes are sync-safe and count the bytes as they lie in the file.
    return frame_id.encode("ascii") + sync_safe(len(data)) + bytes([0, flags]) + data


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--version", type=int, choices=(2, 3, 4), default=3)
    parser.add_argument("--nul", action="store_true")
    parser.add_argument("--stray-byte", default=None)
    parser.add_argument("--unsync", action="store_true")
    parser.add_argument("--ext-header", action="store_true")
    parser.add_argument("--footer", action="store_true")
    parser.add_argument("--padding", type=int, default=0)
    parser.add_argument("audio")
    parser.add_argument("out")
    parser.add_argument("frames", nargs="+")
    args = parser.parse_args()
    version = args.version

    if args.footer and (version != 4 or args.padding):
        raise SystemExit("a footer needs version 4 and no padding")
    if args.ext_header and version == 2:
        raise SystemExit("2.2 has no extended header")

    frames = b""
    for arg in args.frames:
        frame_id, encoding, text = arg.split(":", 2)
        if version == 2 and encoding not in ("0", "1", "1be"):
            raise SystemExit("2.2 knows only ISO-8859-1 and UTF-16 with a BOM")
        if version == 3 and encoding not in ("0", "1", "1be"):
            raise SystemExit("2.3 knows only ISO-8859-1 and UTF-16 with a BOM")
        encoding_byte, body = encode_text(encoding, text, args.nul)
        if frame_id == args.stray_byte:
            body += b"\x00"
        frames += frame(version, frame_id, encoding_byte + body, args.unsync)

    padding = bytes(args.padding)
    flags = 0
    extended = b""
    if args.ext_header:
        flags |= 0x40
        if version == 3:
            # Size 10 (itself not counted), flag bit 15 for the CRC, the
            # padding size, then the CRC of the frames alone.
            extended = (struct.pack(">IHI", 10, 0x8000, len(padding)) +
                        struct.pack(">I", zlib.crc32(frames) & 0xFFFFFFFF))
        else:
            # Size 12 (itself counted, sync-safe), one flag byte holding
            # the CRC flag, then the CRC's own length and the CRC as a
            # five-byte sync-safe number over frames and padding.
            crc = zlib.crc32(frames + padding) & 0xFFFFFFFF
            extended = sync_safe(12) + b"\x01\x20\x05" + sync_safe(crc, 5)
    body = extended + frames + padding
    if args.unsync:
        flags |= 0x80
        if version < 4:
            body = unsynchronise(body)
    if args.footer:
        flags |= 0x10

    header = b"ID3" + bytes([version, 0, flags]) + sync_safe(len(body))
    tag = header + body
    if args.footer:
        tag += b"3DI" + header[3:]
    with open(args.audio, "rb") as f:
        audio = f.read()
    with open(args.out, "wb") as f:
        f.write(tag + audio)
    print(f"{args.out}: ID3v2.{version} tag of {len(tag)} bytes, then {len(audio)} bytes")


if __name__ == "__main__":
    main()
