#!/usr/bin/python3
"""Reads every file back and writes what it reads as into expected.tsv.

usage: check_files.py FILE...

Each FILE is read with mutagen: the class it picks, the length, bitrate,
sample rate, channels and bits per sample of its stream info, and the artist,
title and album of its tag, several values joined with " / ". mutagen 1.46
does not read a WAV file's LIST/INFO chunk, so for riff_info.wav the tags come
from that chunk, read here byte by byte. ffprobe, a reader of its own, must
find the same tags.

Then the facts the files are made for are checked: the song_* files hold the
very audio bytes of song.mp3, the other_* files last as long as song.mp3 with
other sound, and the blocks, atoms and chunks lie where README.md says. Exits
non-zero naming every fact that does not hold. Runs on Debian's python3, where
python3-mutagen is installed.
"""

import json
import struct
import subprocess
import sys

import mutagen
import mutagen.flac

HEADS = ("file", "format", "length_seconds", "bitrate_kbps", "sample_rate", "channels",
         "bits_per_sample", "artist", "title", "album")

# The keys of artist, title and album in each kind of tag. Vorbis comments
# and APEv2 keys are read without regard to case.
KEYS = {
    "id3": ("TPE1", "TIT2", "TALB"),
    "vorbis": ("artist", "title", "album"),
    "ape": ("Artist", "Title", "Album"),
    "mp4": ("\xa9ART", "\xa9nam", "\xa9alb"),
    "asf": ("Author", "Title", "WM/AlbumTitle"),
}
KIND = {
    "MP3": "id3", "WAVE": "id3", "AIFF": "id3",
    "FLAC": "vorbis", "OggVorbis": "vorbis", "OggOpus": "vorbis", "OggSpeex": "vorbis",
    "WavPack": "ape", "Musepack": "ape",
    "MP4": "mp4", "ASF": "asf",
}

problems = []


def problem(text):
    problems.append(text)


def values(tags, kind, key):
    if tags is None or key not in tags:
        return []
    if kind == "id3":
        return [str(text) for text in tags[key].text]
    return [str(value) for value in tags[key]]


def riff_chunks(data, at, end):
    while at + 8 <= end:
        kind = data[at:at + 4]
        size = struct.unpack("<I", data[at + 4:at + 8])[0]
        yield kind, at + 8, size
        at += 8 + size + (size & 1)


def riff_info(path):
    """The LIST/INFO texts of a WAV file, NUL-ended UTF-8 as ffmpeg writes."""
    with open(path, "rb") as f:
        data = f.read()
    texts = {}
    for kind, at, size in riff_chunks(data, 12, len(data)):
        if kind == b"LIST" and data[at:at + 4] == b"INFO":
            for field, field_at, field_size in riff_chunks(data, at + 4, at + size):
                texts[field.decode("ascii")] = data[field_at:field_at + field_size].rstrip(b"\0").decode("utf-8")
    return texts


def read(path):
    audio = mutagen.File(path)
    if audio is None:
        problem(f"{path}: mutagen does not know it")
        return None
    info = audio.info
    name = type(audio).__name__
    bitrate = getattr(info, "bitrate", 0)
    row = {
        "file": path,
        "format": name,
        "length_seconds": f"{info.length:.3f}",
        # 0 is mutagen's way of saying it does not know.
        "bitrate_kbps": str(round(bitrate / 1000)) if bitrate else "",
        "sample_rate": str(getattr(info, "sample_rate", "") or ""),
        "channels": str(getattr(info, "channels", "") or ""),
        "bits_per_sample": str(getattr(info, "bits_per_sample", "") or ""),
    }
    if path == "riff_info.wav":
        texts = riff_info(path)
        found = [[texts[key]] if key in texts else [] for key in ("IART", "INAM", "IPRD")]
    elif name in KIND:
        kind = KIND[name]
        found = [values(audio.tags, kind, key) for key in KEYS[kind]]
    else:
        found = [[], [], []]
    for head, texts in zip(("artist", "title", "album"), found):
        row[head] = " / ".join(texts)
    return row


def ffprobe_tags(path):
    result = subprocess.run(
        ["ffprobe", "-v", "error", "-show_entries", "format_tags:stream_tags", "-of", "json=string_validation=ignore", path],
        check=True, capture_output=True)
    # ffmpeg hands on an ID3v1 tag's bytes as they are, not as UTF-8; those
    # are ISO-8859-1.
    parsed = json.loads(result.stdout.decode("utf-8", "surrogateescape"))
    tags = {}
    for part in [parsed.get("format", {})] + parsed.get("streams", []):
        for key, value in part.get("tags", {}).items():
            raw = value.encode("utf-8", "surrogateescape")
            try:
                value = raw.decode("utf-8")
            except UnicodeDecodeError:
                value = raw.decode("latin-1")
            tags.setdefault(key.lower(), value)
    # ffmpeg joins several values with ";".
    return [" / ".join(tags[key].split(";")) if key in tags else ""
            for key in ("artist", "title", "album")]


def check_tags_with_ffprobe(row):
    theirs = ffprobe_tags(row["file"])
    ours = [row["artist"], row["title"], row["album"]]
    if theirs != ours:
        problem(f"{row['file']}: ffprobe reads {theirs}, mutagen {ours}")


def id3v2_size(data):
    if data[:3] != b"ID3":
        return 0
    size = 0
    for byte in data[6:10]:
        size = (size << 7) | byte
    return 10 + size + (10 if data[5] & 0x10 else 0)


def mpeg_audio(path):
    """The bytes between a leading ID3v2 tag and a trailing ID3v1 tag."""
    with open(path, "rb") as f:
        data = f.read()
    end = len(data) - 128 if len(data) >= 128 and data[-128:-125] == b"TAG" else len(data)
    return data[id3v2_size(data):end]


def first_frame_size(audio):
    # MPEG-1 Layer III: 144 x bitrate / sample rate bytes, plus the padding bit.
    bitrates = (0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320)
    rates = (44100, 48000, 32000)
    bitrate = bitrates[audio[2] >> 4] * 1000
    rate = rates[(audio[2] >> 2) & 3]
    return 144 * bitrate // rate + ((audio[2] >> 1) & 1)


def check_songs(rows):
    song = mpeg_audio("song.mp3")
    info_size = first_frame_size(song)
    if song[21:25] != b"Info":
        problem("song.mp3: the first frame holds no Info header at offset 21")
    for name in ("song_id3v1.mp3", "song_id3v2.mp3", "song_id3v2_cover.mp3", "song_both_renamed.mp3"):
        audio = mpeg_audio(name)
        if audio == song:
            continue
        if audio[info_size:] == song[info_size:]:
            problem(f"{name}: the Info frame was rewritten, the frames after it are the same")
        else:
            problem(f"{name}: {len(audio)} audio bytes, not song.mp3's {len(song)}")
    length = rows["song.mp3"]["length_seconds"]
    for name in ("other_song.mp3", "other_same_length.flac"):
        if rows[name]["length_seconds"] != length:
            problem(f"{name}: {rows[name]['length_seconds']} seconds, song.mp3 {length}")
    other = mpeg_audio("other_song.mp3")
    if len(other) != len(song) or other[info_size:] == song[info_size:]:
        problem("other_song.mp3: not the same frame count of other sound")
    for name in ("song.mp3", "other_song.mp3"):
        if mutagen.File(name).tags is not None:
            problem(f"{name}: tagged")
    pictures = mutagen.File("song_id3v2_cover.mp3").tags.getall("APIC")
    if len(pictures) != 1 or pictures[0].type != 3 or not 19000 < len(pictures[0].data) < 21000:
        problem("song_id3v2_cover.mp3: not one front cover of about 20 KB")


def check_flac_blocks():
    order = [type(block).__name__ for block in mutagen.flac.FLAC("flac_picture.flac").metadata_blocks]
    if order != ["StreamInfo", "SeekTable", "Picture", "VCFLACDict", "Padding"]:
        problem(f"flac_picture.flac: blocks {order}")


def mp4_atoms(path):
    with open(path, "rb") as f:
        data = f.read()
    at = 0
    atoms = []
    while at < len(data):
        size, kind = struct.unpack(">I4s", data[at:at + 8])
        atoms.append(kind.decode("latin-1"))
        at += size
    return atoms, data[8:12]


def check_mp4_layout():
    for name, first, brand in (("aac.m4a", "moov", b"M4A "), ("aac_moov_at_end.m4a", "mdat", b"M4A "),
                               ("alac.m4a", "moov", b"M4A "), ("audiobook.m4b", "moov", b"M4B ")):
        atoms, major = mp4_atoms(name)
        rest = [atom for atom in atoms if atom in ("moov", "mdat")]
        if rest[0] != first or major != brand:
            problem(f"{name}: atoms {atoms}, brand {major}")


def check_chunks():
    for name, chunk in (("id3.wav", b"id3 "), ("riff_info.wav", b"LIST")):
        with open(name, "rb") as f:
            data = f.read()
        kinds = [kind for kind, _, _ in riff_chunks(data, 12, len(data))]
        if chunk not in kinds:
            problem(f"{name}: chunks {kinds}")
    for name in ("id3.aiff", "id3.aif"):
        with open(name, "rb") as f:
            data = f.read()
        at = 12
        kinds = []
        while at + 8 <= len(data):
            size = struct.unpack(">I", data[at + 4:at + 8])[0]
            kinds.append(data[at:at + 4])
            at += 8 + size + (size & 1)
        if data[8:12] != b"AIFF" or b"ID3 " not in kinds:
            problem(f"{name}: {data[8:12]} with chunks {kinds}")


def main():
    rows = {}
    for path in sys.argv[1:]:
        row = read(path)
        if row:
            rows[path] = row
            check_tags_with_ffprobe(row)
    check_songs(rows)
    check_flac_blocks()
    check_mp4_layout()
    check_chunks()
    with open("expected.tsv", "w", encoding="utf-8", newline="\n") as f:
        f.write("\t".join(HEADS) + "\n")
        for row in rows.values():
            f.write("\t".join(row[head] for head in HEADS) + "\n")
    if problems:
        for text in problems:
            print(text, file=sys.stderr)
        sys.exit(1)
    print(f"expected.tsv: {len(rows)} files")


if __name__ == "__main__":
    main()
