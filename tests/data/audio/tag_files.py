#!/usr/bin/python3
"""Does what the encoders and taggers of make_files.sh cannot do themselves.

usage:
  tag_files.py png OUT SIDE SEED
      writes a SIDE x SIDE PNG of noise (about 3 x SIDE x SIDE bytes)
  tag_files.py id3 FILE VERSION ID=TEXT...
      puts an ID3v2.VERSION tag (3 or 4) with the text frames ID (TPE1, TIT2,
      TALB...) into a WAV or AIFF file, as a chunk; an ID given again adds a
      value
  tag_files.py asf FILE NAME=TEXT...
      sets the ASF attributes NAME (Title, Author, WM/AlbumTitle...) of a WMA
      file, dropping those the encoder wrote
  tag_files.py ogg-serial FILE SERIAL
      gives every page of a one-stream Ogg file the serial number SERIAL

speexenc picks its Ogg serial number at random and has no option to fix it,
so its file is only the same bytes twice after ogg-serial. Runs on Debian's
python3, where python3-mutagen is installed.
"""

import struct
import sys
import zlib

import mutagen.aiff
import mutagen.asf
import mutagen.id3
import mutagen.wave

# A fixed size, so the tag does not depend on mutagen's own choice.
ID3_PADDING = 64


def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data +
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def noise_png(side, seed):
    # The generator of ../mp3/add_picture.py: compressed noise is as big as
    # its pixels, so SIDE sets the size.
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


def pairs(args):
    for arg in args:
        name, sep, text = arg.partition("=")
        if not sep:
            raise SystemExit(f"not NAME=TEXT: {arg}")
        yield name, text


def tag_id3(path, version, frames):
    version = int(version)
    audio = mutagen.File(path)
    if not isinstance(audio, (mutagen.wave.WAVE, mutagen.aiff.AIFF)):
        raise SystemExit(f"{path}: neither WAV nor AIFF")
    if audio.tags is None:
        audio.add_tags()
    # 2.3 knows no UTF-8, so its texts go in UTF-16.
    encoding = 3 if version == 4 else 1
    for frame_id, text in pairs(frames):
        if frame_id in audio.tags:
            audio.tags[frame_id].text.append(text)
        else:
            audio.tags.add(mutagen.id3.Frames[frame_id](encoding=encoding, text=[text]))
    audio.save(v2_version=version, padding=lambda info: ID3_PADDING)


def tag_asf(path, attributes):
    audio = mutagen.asf.ASF(path)
    audio.tags.clear()
    given = {}
    for name, text in pairs(attributes):
        given.setdefault(name, []).append(mutagen.asf.ASFUnicodeAttribute(text))
    for name, texts in given.items():
        audio.tags[name] = texts
    audio.save()


def ogg_crc(data):
    # Ogg's CRC-32: polynomial 0x04C11DB7, not reflected, starting at 0.
    crc = 0
    for byte in data:
        crc ^= byte << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7) if crc & 0x80000000 else crc << 1
            crc &= 0xFFFFFFFF
    return crc


def set_ogg_serial(path, serial):
    with open(path, "rb") as f:
        data = bytearray(f.read())
    at = 0
    pages = 0
    while at < len(data):
        if data[at:at + 4] != b"OggS":
            raise SystemExit(f"{path}: no Ogg page at {at}")
        segments = data[at + 26]
        body = sum(data[at + 27:at + 27 + segments])
        end = at + 27 + segments + body
        struct.pack_into("<I", data, at + 14, serial)
        struct.pack_into("<I", data, at + 22, 0)
        struct.pack_into("<I", data, at + 22, ogg_crc(data[at:end]))
        at = end
        pages += 1
    with open(path, "wb") as f:
        f.write(data)
    print(f"{path}: {pages} pages, serial {serial}")


def main():
    if len(sys.argv) < 3:
        raise SystemExit(__doc__)
    command, args = sys.argv[1], sys.argv[2:]
    if command == "png" and len(args) == 3:
        picture = noise_png(int(args[1]), int(args[2]))
        with open(args[0], "wb") as f:
            f.write(picture)
        print(f"{args[0]}: {len(picture)} bytes")
    elif command == "id3" and len(args) >= 3:
        tag_id3(args[0], args[1], args[2:])
    elif command == "asf" and len(args) >= 2:
        tag_asf(args[0], args[1:])
    elif command == "ogg-serial" and len(args) == 2:
        set_ogg_serial(args[0], int(args[1]))
    else:
        raise SystemExit(__doc__)


if __name__ == "__main__":
    main()
