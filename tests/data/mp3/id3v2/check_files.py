#!/usr/bin/python3
"""Checks that every file of README.md's table reads as the table says.

usage: check_files.py AUDIO.mp3

AUDIO.mp3 is the audio body that make_files.sh put behind each tag. Each row
is read back three ways: with mutagen, with eyeD3, and for 2.2 and 2.3 tags
with id3lib's `id3v2 -l` (it does not read 2.4). Byte facts (sizes, flags,
padding, extended header CRCs, BOMs, the ID3v1 fields, the audio bytes) come
from the file itself. Exits non-zero naming every cell that does not hold.
Runs on Debian's python3, where python3-mutagen and eyed3 are installed.
"""

import glob
import logging
import re
import subprocess
import sys
import zlib

import eyed3
import mutagen.id3

# id3lib loses the album that follows the odd-length UTF-16 artist, which
# mutagen and eyeD3 read.
ID3LIB_MISSES = {("v23_empty_title_odd_utf16.mp3", "TALB")}

V22_IDS = {"TIT2": "TT2", "TPE1": "TP1", "TALB": "TAL"}
FIELDS = (("Artist", "TPE1"), ("Title", "TIT2"), ("Album", "TALB"))

problems = []


def problem(name, text):
    problems.append(f"{name}: {text}")


def table_rows():
    with open("README.md", encoding="utf-8") as f:
        lines = [line.rstrip("\n") for line in f if line.startswith("| ")]
    heads = [cell.strip() for cell in lines[0].strip("|").split(" | ")]
    # The separator row starts with "|---", so lines holds heads, then rows.
    for line in lines[1:]:
        cells = [cell.strip() for cell in line.strip().strip("|").split(" | ")]
        if len(cells) != len(heads):
            raise SystemExit(f"README.md row has {len(cells)} cells, not {len(heads)}: {line}")
        row = dict(zip(heads, cells))
        row["File"] = row["File"].strip("`")
        yield row


def quoted(cell):
    match = re.fullmatch(r'"(.*)"', cell)
    if not match:
        raise SystemExit(f"not a quoted text: {cell}")
    return match.group(1)


def sync_safe(data):
    value = 0
    for byte in data:
        value = (value << 7) | byte
    return value


def walk_frames(version, body):
    """Returns the frames as (id, data as stored) and the padding's length."""
    frames = []
    at = 0
    id_size, head_size = (3, 6) if version == 2 else (4, 10)
    while at + head_size <= len(body) and body[at] != 0:
        frame_id = body[at:at + id_size].decode("ascii")
        if version == 2:
            size = int.from_bytes(body[at + 3:at + 6], "big")
        elif version == 3:
            size = int.from_bytes(body[at + 4:at + 8], "big")
        else:
            size = sync_safe(body[at + 4:at + 8])
        frames.append((frame_id, body[at + head_size:at + head_size + size]))
        at += head_size + size
    padding = body[at:]
    if padding.strip(b"\x00"):
        raise ValueError("bytes after the frames are not all zero")
    return frames, len(padding)


def expected_bytes(encoding, text):
    """The stored bytes of a text frame: encoding byte, then each value."""
    values = text.split(" / ")
    if encoding.startswith("0"):
        return b"\x00" + b"\x00".join(v.encode("latin-1") for v in values)
    if "BOM FF FE" in encoding:
        return b"\x01" + b"\x00\x00".join(b"\xff\xfe" + v.encode("utf-16-le") for v in values)
    if "BOM FE FF" in encoding:
        return b"\x01" + b"\x00\x00".join(b"\xfe\xff" + v.encode("utf-16-be") for v in values)
    if encoding.startswith("2"):
        return b"\x02" + b"\x00\x00".join(v.encode("utf-16-be") for v in values)
    if encoding.startswith("3"):
        return b"\x03" + b"\x00".join(v.encode("utf-8") for v in values)
    raise SystemExit(f"unknown encoding cell: {encoding}")


def field_encodings(cell):
    """'1, UTF-16, BOM FF FE' for all three, or 'TIT2 0, ...; TPE1 1, ...'."""
    if cell[0].isdigit():
        return {frame_id: cell for _, frame_id in FIELDS}
    out = {}
    for piece in cell.split("; "):
        frame_id, rest = piece.split(" ", 1)
        out[frame_id] = rest
    return out


def id3v1_fields(data):
    if len(data) < 128 or data[-128:-125] != b"TAG":
        return None
    tag = data[-128:]
    text = lambda raw: raw.split(b"\x00")[0].rstrip(b" ").decode("latin-1")
    return {"title": text(tag[3:33]), "artist": text(tag[33:63]), "album": text(tag[63:93])}


def id3lib_read(path):
    out = subprocess.run(["id3v2", "-l", path], capture_output=True, check=True).stdout
    values = {}
    for line in out.decode("utf-8").splitlines():
        match = re.match(r"([A-Z0-9]{3,4}) \(.*?\): (.*)$", line)
        if match:
            values[match.group(1)] = match.group(2)
    return values


def check(row, audio):
    name = row["File"]
    with open(name, "rb") as f:
        data = f.read()
    if len(data) != int(row["Bytes"]):
        problem(name, f"{len(data)} bytes, not {row['Bytes']}")

    # The header: version and flags as the table says.
    match = re.match(r"2\.(\d), flags 0x([0-9A-F]{2})", row["ID3v2 tag"])
    version, flags = int(match.group(1)), int(match.group(2), 16)
    if data[:3] != b"ID3" or data[3] != version or data[5] != flags:
        problem(name, f"header {data[:6]!r} is not 2.{version} with flags {flags:02X}")
    footer = bool(flags & 0x10)
    tag_size = 10 + sync_safe(data[6:10]) + (10 if footer else 0)
    if tag_size != int(row["Tag bytes"]):
        problem(name, f"tag of {tag_size} bytes, not {row['Tag bytes']}")
    if footer and data[tag_size - 10:tag_size] != b"3DI" + data[3:10]:
        problem(name, "footer is not 3DI and a copy of the header")
    body = data[10:tag_size - (10 if footer else 0)]

    # Unsynchronisation: 2.3 undoes it over the whole body before reading
    # frames; 2.4 frame by frame, each frame's size counting stored bytes.
    inserted = 0
    if flags & 0x80 and version < 4:
        inserted = len(body)
        body = body.replace(b"\xff\x00", b"\xff")
        inserted -= len(body)

    # The extended header, with its CRC.
    if flags & 0x40:
        if version == 3:
            size = 4 + int.from_bytes(body[:4], "big")
        else:
            size = sync_safe(body[:4])
        extended, body = body[:size], body[size:]
        frames, padding = walk_frames(version, body)
        frame_bytes = body[:len(body) - padding]
        if version == 3:
            crc_ok = (extended[4:6] == b"\x80\x00" and
                      int.from_bytes(extended[6:10], "big") == padding and
                      int.from_bytes(extended[10:14], "big") == zlib.crc32(frame_bytes))
        else:
            crc_ok = (extended[4:7] == b"\x01\x20\x05" and
                      sync_safe(extended[7:12]) == zlib.crc32(body))
        if not crc_ok:
            problem(name, f"extended header {extended.hex()} has a wrong size, padding or CRC")
        if f"extended header of {len(extended)} bytes" not in row["ID3v2 tag"]:
            problem(name, f"extended header of {len(extended)} bytes")

    frames, padding = walk_frames(version, body)
    stated = re.search(r"(\d+) bytes of padding", row["ID3v2 tag"])
    if padding != (int(stated.group(1)) if stated else 0):
        problem(name, f"{padding} bytes of padding")
    if flags & 0x80 and version == 4:
        offset = 10
        decoded = []
        for frame_id, frame_data in frames:
            # Every 2.4 frame says it is unsynchronised.
            if data[offset + 9] & 0x02 == 0:
                problem(name, f"{frame_id} has no unsynchronisation flag")
            offset += 10 + len(frame_data)
            plain = frame_data.replace(b"\xff\x00", b"\xff")
            inserted += len(frame_data) - len(plain)
            decoded.append((frame_id, plain))
        frames = decoded
    if flags & 0x80:
        stated = re.search(r"(\d+) zero bytes inserted", row["ID3v2 tag"])
        if not inserted or not stated or int(stated.group(1)) != inserted:
            problem(name, f"unsynchronisation inserted {inserted} zero bytes")

    # The text frames' stored bytes: encoding byte, BOM and text.
    stored = {}
    for frame_id, frame_data in frames:
        stored[frame_id] = frame_data
    encodings = field_encodings(row["Encoding"])
    for column, frame_id in FIELDS:
        want = quoted(row[column])
        key = V22_IDS[frame_id] if version == 2 else frame_id
        raw = stored.get(key)
        if raw is None:
            problem(name, f"no {key} frame")
            continue
        expect = expected_bytes(encodings[frame_id], want)
        if not raw.startswith(expect):
            problem(name, f"{key} holds {raw.hex()}, not {expect.hex()}...")
        rest = raw[len(expect):]
        if "odd length" in encodings[frame_id]:
            if (len(raw) - 1) % 2 == 0 or rest != b"\x00":
                problem(name, f"{key} is not UTF-16 with one stray byte")
        elif rest not in (b"", b"\x00", b"\x00\x00"):
            problem(name, f"{key} has {rest.hex()} after its text")
        elif bool(rest) != ("NUL-ended" in row["ID3v2 tag"]):
            problem(name, f"{key} NUL ending does not match the table")

    # mutagen: version, encodings and texts (it leaves out an empty frame).
    tags = mutagen.id3.ID3(name)
    if tags.version[:2] != (2, version):
        problem(name, f"mutagen reads version {tags.version}")
    if tags.size + (10 if footer else 0) != tag_size:
        problem(name, f"mutagen reads a tag of {tags.size} bytes")
    for column, frame_id in FIELDS:
        want = quoted(row[column])
        got = " / ".join(tags[frame_id].text) if frame_id in tags else ""
        if got != want:
            problem(name, f"mutagen reads {column} {got!r}, not {want!r}")
        if frame_id in tags and tags[frame_id].encoding != int(encodings[frame_id][0]):
            problem(name, f"mutagen reads {frame_id} encoding {tags[frame_id].encoding}")
    picture = re.search(r"APIC of a (\d+)-byte PNG", row["ID3v2 tag"])
    pictures = tags.getall("APIC")
    if picture:
        if len(pictures) != 1 or len(pictures[0].data) != int(picture.group(1)):
            problem(name, "APIC picture not as stated")
    elif pictures:
        problem(name, "has an APIC picture")

    # eyeD3.
    tag = eyed3.load(name).tag if data[tag_size:] else eyed3.id3.Tag()
    if not data[tag_size:]:
        tag.parse(name)
    if tag.version[:2] != (2, version):
        problem(name, f"eyeD3 reads version {tag.version}")
    for column, frame_id in FIELDS:
        want = quoted(row[column])
        got = (getattr(tag, column.lower()) or "").replace("\x00", " / ")
        if got != want:
            problem(name, f"eyeD3 reads {column} {got!r}, not {want!r}")

    # id3lib, for the versions it knows.
    if version < 4:
        values = id3lib_read(name)
        for column, frame_id in FIELDS:
            key = V22_IDS[frame_id] if version == 2 else frame_id
            if (name, frame_id) in ID3LIB_MISSES:
                if key in values:
                    problem(name, f"id3v2 -l now reads {key}; ID3LIB_MISSES is out of date")
                continue
            want = quoted(row[column])
            if values.get(key) != want:
                problem(name, f"id3v2 -l reads {key} {values.get(key)!r}, not {want!r}")

    # The ID3v1 tag, if any.
    v1 = id3v1_fields(data)
    if row["ID3v1"] == "none":
        if v1 is not None:
            problem(name, "has an ID3v1 tag")
    else:
        stated = dict(re.findall(r'(title|artist|album) "([^"]*)"', row["ID3v1"]))
        if v1 != stated:
            problem(name, f"ID3v1 tag reads {v1}, not {stated}")
        out = subprocess.run(["id3v2", "-l", name], capture_output=True, check=True).stdout
        text = out.decode("latin-1")
        for key in ("Title", "Artist", "Album"):
            if not re.search(rf"{key} *: {re.escape(stated[key.lower()])} ", text):
                problem(name, f"id3v2 -l does not read ID3v1 {key} {stated[key.lower()]!r}")

    # The audio: exactly the shared body, or nothing.
    end = len(data) - (128 if v1 is not None else 0)
    body_audio = data[tag_size:end]
    if len(body_audio) != int(row["Audio bytes"]):
        problem(name, f"{len(body_audio)} audio bytes, not {row['Audio bytes']}")
    if body_audio not in (b"", audio):
        problem(name, "audio bytes are not the shared audio body")


def main():
    logging.disable(logging.CRITICAL)  # eyeD3 warns about the broken texts
    with open(sys.argv[1], "rb") as f:
        audio = f.read()
    count = 0
    named = set()
    for row in table_rows():
        check(row, audio)
        named.add(row["File"])
        count += 1
    for name in sorted(set(glob.glob("*.mp3")) - named):
        problem(name, "not in README.md's table")
    for line in problems:
        print(line, file=sys.stderr)
    if problems:
        sys.exit(1)
    print(f"{count} files read as README.md says")


if __name__ == "__main__":
    main()
