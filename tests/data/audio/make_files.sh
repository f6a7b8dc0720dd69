#!/bin/bash
# Remakes the audio files of this folder from generated sound (see README.md
# for what each file must read as), then has check_files.py read every one
# back with mutagen into expected.tsv. Running it again gives the same bytes.
# Needs Debian 12's flac 1.4.2, vorbis-tools 1.4.2, opus-tools 0.2, speex
# 1.2.1, ffmpeg 5.1, sox 14.4.2, wavpack 5.6.0, musepack-tools (mpcenc 1.30.1),
# twolame 0.4.0, lame 3.100, id3v2 0.1.12, eyeD3 0.9.7 and python3-mutagen
# 1.46.
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Debian's python3 holds mutagen and eyed3; another python3 earlier on PATH
# may not.
py=/usr/bin/python3
# The tags below are UTF-8, and the tools that convert from the locale's
# character set must take them as such.
LC_ALL=C.UTF-8
export LC_ALL

files=(
  flac_vorbis.flac flac_picture.flac flac_two_artists.flac
  vorbis.ogg vorbis.oga opus.opus speex.spx
  aac.m4a aac_moov_at_end.m4a alac.m4a audiobook.m4b aac.aac wma.wma
  riff_info.wav id3.wav id3.aiff id3.aif
  wavpack.wv musepack.mpc mp2.mp2
  song.mp3 song_id3v1.mp3 song_id3v2.mp3 song_id3v2_cover.mp3
  song_both_renamed.mp3 other_song.mp3 other_same_length.flac
)
# Taggers change a file in place, so each run starts from nothing.
rm -f "${files[@]}" expected.tsv

# wav NAME RATE CHANNELS SECONDS: the rising tone with noise of ../mp3.
wav() { $py ../mp3/make_wav.py "$work/$1.wav" "$2" "$3" "$4"; }
# A falling sine, for the files that must sound unlike song.mp3 while lasting
# as long. -R keeps sox repeatable and -D leaves out dither.
sine() { sox -R -D -n -r "$2" -c 1 -b 16 "$work/$1.wav" synth "$3" sine 880/220 vol 0.5; }
# ffmpeg IN OUT ARGS...: -bitexact keeps the library versions, the encoder
# name and the creation time out of the file.
ff() {
  local in=$1 out=$2
  shift 2
  ffmpeg -nostdin -v error -y -fflags +bitexact -i "$in" -map_metadata -1 \
    -flags:a +bitexact "$@" -fflags +bitexact "$out"
}
tag() { $py tag_files.py "$@"; }

wav m8 8000 1 1
wav m8long 8000 1 1.5
wav s8 8000 2 1
wav m8x2 8000 1 2
wav m16 16000 1 2
wav s16 16000 2 2
wav s16x3 16000 2 3
wav s11 11025 2 1.5
wav m32 32000 1 1.5
wav m44 44100 1 1
wav song 32000 1 2
sine other 32000 2
sine other8 8000 2

# FLAC. flac writes its vendor string ("reference libFLAC 1.4.2 20221022", a
# fixed date) and a one-point SEEKTABLE; --no-utf8-convert takes the tags as
# the UTF-8 they are.
flac --silent -8 --no-padding --no-utf8-convert \
  -T "ARTIST=Björk" -T "TITLE=Jóga" -T "ALBUM=Homogenic" \
  -o flac_vorbis.flac "$work/m8long.wav"
# flac puts a --picture after the comment; metaflac puts a comment it makes
# after the blocks there are, so removing flac's comment and setting the tags
# leaves STREAMINFO, SEEKTABLE, PICTURE, VORBIS_COMMENT, PADDING.
tag png "$work/cover3k.png" 32 1
flac --silent -8 --padding=1024 --picture="3|image/png|Front||$work/cover3k.png" \
  -o flac_picture.flac "$work/m8.wav"
metaflac --remove --block-type=VORBIS_COMMENT flac_picture.flac
metaflac --no-utf8-convert --set-tag="ARTIST=Sigur Rós" --set-tag="TITLE=Hoppípolla" \
  --set-tag="ALBUM=Takk…" flac_picture.flac
flac --silent -8 --no-padding --no-utf8-convert \
  -T "ARTIST=Serge Gainsbourg" -T "ARTIST=Jane Birkin" \
  -T "TITLE=Je t’aime… moi non plus" -T "ALBUM=Jane Birkin et Serge Gainsbourg" \
  -o flac_two_artists.flac "$work/m8.wav"

# Ogg Vorbis. oggenc writes the field names in lower case, and the Ogg serial
# number is random unless -s gives it.
oggenc --quiet -q 0 -s 1001 -a "Кино" -t "Группа крови" -l "Группа крови" \
  -o vorbis.ogg "$work/m8x2.wav"
oggenc --quiet -q 0 -s 1002 -a "Stereolab" -t "Cybele’s Reverie" -l "Emperor Tomato Ketchup" \
  -o vorbis.oga "$work/s11.wav"

# Ogg Opus. opusenc adds ENCODER and ENCODER_OPTIONS comments of its own.
opusenc --quiet --serial 1003 --bitrate 12 \
  --artist "Röyksopp" --title "Eple" --album "Melody A.M." "$work/m16.wav" opus.opus

# Ogg Speex. --author would write an AUTHOR comment, so the artist goes in as
# a plain comment; the serial number is random and set afterwards.
speexenc --quiet --comment "ARTIST=Мумий Тролль" --comment "TITLE=Владивосток 2000" \
  --comment "ALBUM=Морская" "$work/m8x2.wav" speex.spx
tag ogg-serial speex.spx 1004

# AAC and ALAC in MP4. The ipod muxer (.m4a, .m4b) writes the tags as ©ART,
# ©nam and ©alb atoms. Its AAC sample entry says 2 channels whatever the
# sound, and mutagen believes it over a mono AudioSpecificConfig (which might
# hide parametric stereo), so the AAC in MP4 is stereo: both say the same.
aac_tags=(-metadata "artist=Beyoncé" -metadata "title=Halo" -metadata "album=I Am… Sasha Fierce")
ff "$work/s16.wav" aac.m4a -c:a aac -b:a 24k "${aac_tags[@]}" -movflags +faststart
ff "$work/s16.wav" aac_moov_at_end.m4a -c:a aac -b:a 24k "${aac_tags[@]}"
ff "$work/m8.wav" alac.m4a -c:a alac \
  -metadata "artist=Café Tacvba" -metadata "title=Eres" -metadata "album=Cuatro caminos" \
  -movflags +faststart
ff "$work/s16x3.wav" audiobook.m4b -c:a aac -b:a 24k -brand "M4B " \
  -metadata "artist=Лев Толстой" -metadata "title=Глава 1" -metadata "album=Война и мир" \
  -movflags +faststart
ff "$work/m16.wav" aac.aac -c:a aac -b:a 24k -f adts

# WMA. ffmpeg writes the artist and title twice (in the content description
# and again among the extended attributes), so mutagen sets the tags: Title
# and Author in the content description, WM/AlbumTitle as an extended one.
ff "$work/m16.wav" wma.wma -c:a wmav2 -b:a 24k
tag asf wma.wma "Title=Pour que tu m’aimes encore" "Author=Céline Dion" "WM/AlbumTitle=D’eux"

# WAV and AIFF. ffmpeg writes -metadata into a LIST/INFO chunk before the
# data, as NUL-ended UTF-8; an ID3 tag goes into a chunk by mutagen.
ff "$work/m8.wav" riff_info.wav -c:a pcm_s16le \
  -metadata "artist=Motörhead" -metadata "title=Ace of Spades" -metadata "album=Ace of Spades"
cp "$work/m8.wav" id3.wav
tag id3 id3.wav 3 "TPE1=Édith Piaf" "TIT2=La Vie en rose" "TALB=Chansons parisiennes"
ff "$work/m8.wav" id3.aiff -c:a pcm_s16be
tag id3 id3.aiff 4 "TPE1=Åge Aleksandersen" "TIT2=Levva livet" "TALB=Ramp"
ff "$work/s8.wav" id3.aif -c:a pcm_s16be
tag id3 id3.aif 3 "TPE1=Die Ärzte" "TIT2=Schrei nach Liebe" "TALB=Die Bestie in Menschengestalt"

# WavPack (lossless) and Musepack, each with an APEv2 tag at its end written
# by the encoder.
wavpack -q -hh -y -w "Artist=Hüsker Dü" -w "Title=Diane" -w "Album=Metal Circus" \
  "$work/s8.wav" -o wavpack.wv
mpcenc --silent --overwrite --quality 0 \
  --artist "Mötley Crüe" --title "Kickstart My Heart" --album "Dr. Feelgood" \
  "$work/m44.wav" musepack.mpc

# MPEG-1 Layer II, tagged by eyeD3 (ID3v2.4, UTF-8, 256 bytes of padding).
twolame --quiet -b 48 -m m "$work/m32.wav" mp2.mp2
eyed3() { eyeD3 --no-color --quiet "$@" >/dev/null; }
eyed3 --to-v2.4 --encoding utf8 -a "Ærøskøbing Brass" -t "Fanfare für Alle" -A "Blæsere" mp2.mp2

# One song, tagged four ways by real taggers; none of them touches the audio
# frames (check_files.py compares them with song.mp3's). lame writes an
# "Info" frame first, so the song reads as 2.000 seconds.
lame --quiet --noreplaygain -b 48 -m m --resample 32 "$work/song.wav" song.mp3
lame --quiet --noreplaygain -b 48 -m m --resample 32 "$work/other.wav" other_song.mp3
flac --silent -8 --no-padding --no-utf8-convert \
  -T "ARTIST=Кино" -T "TITLE=Другая песня" -T "ALBUM=Звезда по имени Солнце" \
  -o other_same_length.flac "$work/other8.wav"
# ID3v1 holds single bytes: 0xE9 is é in ISO-8859-1.
cafe=$(printf 'Caf\351')
cp song.mp3 song_id3v1.mp3
id3v2 --id3v1-only -a "Kino" -t "Zvezda po imeni Solntse" -A "$cafe Kamchatka" song_id3v1.mp3
cp song.mp3 song_id3v2.mp3
eyed3 --to-v2.4 --encoding utf8 -a "Кино" -t "Звезда по имени Солнце" \
  -A "Звезда по имени Солнце" song_id3v2.mp3
tag png "$work/cover20k.png" 82 7
cp song.mp3 song_id3v2_cover.mp3
eyed3 --to-v2.3 -a "Кино" -t "Звезда по имени Солнце" -A "Звезда по имени Солнце" \
  --add-image "$work/cover20k.png:FRONT_COVER" song_id3v2_cover.mp3
# id3v2 writes both tags when not told one, ID3v2.3 in ISO-8859-1.
cp song.mp3 song_both_renamed.mp3
id3v2 -a "Kino" -t "Star Called Sun" -A "$cafe Kamchatka" song_both_renamed.mp3

for f in "${files[@]}"; do
  size=$(wc -c <"$f")
  if [ "$size" -ge 40960 ]; then
    echo "$f: $size bytes, not under 40 KB" >&2
    exit 1
  fi
done

$py check_files.py "${files[@]}"
