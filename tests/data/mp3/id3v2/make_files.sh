#!/bin/sh
# Remakes the ID3v2-tagged MP3 files of this folder (see README.md for what
# each file must read as), then reads every file back with other readers and
# fails if one does not read as README.md says. Needs lame 3.100, id3v2
# 0.1.12, eyeD3 0.9.7 and Debian's python3 with python3-mutagen 1.46.
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Debian's python3 holds mutagen and eyed3; another python3 earlier on PATH
# may not.
py=/usr/bin/python3
# The texts below are UTF-8, and so must the helpers' arguments be read.
LC_ALL=C.UTF-8
export LC_ALL

# All files share one audio body, the same bytes as ../cbr128_44100_stereo.mp3,
# so the audio byte count is one number for all of them.
$py ../make_wav.py "$work/s44.wav" 44100 2 0.5
lame --quiet --noreplaygain -b 128 -m s --resample 44.1 "$work/s44.wav" "$work/audio.mp3"
audio="$work/audio.mp3"

# hand ARGS...: a tag built byte by byte; mutagen ARGS...: a tag as mutagen
# writes it. Both take [options] AUDIO OUT ID:ENCODING:TEXT...
hand() { $py write_id3v2.py "$@"; }
mutagen() { $py tag_with_mutagen.py "$@"; }

# 2.2 has three-letter ids and three-byte sizes. These texts end with a NUL,
# which a reader must leave out of the text.
hand --version 2 --nul "$audio" v22_latin1.mp3 \
  "TT2:0:Señora Déjà Vu" "TP1:0:Café Noir Quartet" "TAL:0:Crème Brûlée"
hand --version 2 --nul "$audio" v22_utf16.mp3 \
  "TT2:1:東京タワー" "TP1:1:Дельфин" "TAL:1:Ünïcode Zwei"

mutagen --version 3 "$audio" v23_latin1.mp3 \
  "TIT2:0:Naïve Façade" "TPE1:0:Åsa Ørsted" "TALB:0:Smørrebrød"
mutagen --version 3 "$audio" v23_utf16le_bom.mp3 \
  "TIT2:1:Москва ночью" "TPE1:1:Sölvi Þórsson" "TALB:1:大阪 Live"
# mutagen writes the BOM of the machine's byte order, so the big-endian one
# is laid down by hand.
hand --version 3 "$audio" v23_utf16be_bom.mp3 \
  "TIT2:1be:Zürich Bahnhof" "TPE1:1be:Ηλέκτρα Νότα" "TALB:1be:北京 Sessions"

mutagen --version 4 "$audio" v24_latin1.mp3 \
  "TIT2:0:Été à Paris" "TPE1:0:Hélène Dupré" "TALB:0:Les Années Folles"
# The album's clef lies outside the BMP: a surrogate pair in UTF-16, four
# bytes in UTF-8.
mutagen --version 4 "$audio" v24_utf16_bom.mp3 \
  "TIT2:1:Ночной город" "TPE1:1:Björg Hljómsveit" "TALB:1:𝄞 Clef 東京"
mutagen --version 4 "$audio" v24_utf16be.mp3 \
  "TIT2:2:Ποτάμι" "TPE1:2:Jürgen Weiß" "TALB:2:京都 Garden"
mutagen --version 4 "$audio" v24_utf8.mp3 \
  "TIT2:3:東京 Drift" "TPE1:3:Сергей Ødegaard" "TALB:3:Unterwegs 𝄞"
mutagen --version 4 "$audio" v24_multiple_artists.mp3 \
  "TIT2:3:Duett für Zwei" "TPE1:3:Artist One" "TPE1:3:Artist Two" "TALB:3:Zusammen"

# ÿ (U+00FF) is FF 00 in UTF-16LE and each BOM FF FE, so unsynchronisation
# has zero bytes to insert.
hand --version 3 --unsync "$audio" v23_unsync.mp3 \
  "TIT2:1:Hÿdra" "TPE1:1:Ÿsolde Kÿ" "TALB:1:Nÿx Unsynced"
hand --version 4 --unsync "$audio" v24_unsync.mp3 \
  "TIT2:1:Sÿnth Wave" "TPE1:1:Ÿuki 東京" "TALB:1:Four ÿ Unsync"

hand --version 3 --ext-header --padding 32 "$audio" v23_extended_header.mp3 \
  "TIT2:0:Extended Señal" "TPE1:0:Åke Header" "TALB:0:Cabeçalho"
hand --version 4 --ext-header --padding 16 "$audio" v24_extended_header.mp3 \
  "TIT2:3:Kopfzeile Größe" "TPE1:3:Łukasz Extended" "TALB:3:Заголовок"

hand --version 4 --footer "$audio" v24_footer.mp3 \
  "TIT2:3:Fußnote" "TPE1:3:Footer Ğ Band" "TALB:3:Конец Ende"

# The ID3v1 tag says other things than the ID3v2 one, so a test can tell
# which of the two was read.
mutagen --version 3 "$audio" v23_and_id3v1.mp3 \
  "TIT2:1:Zwei Drei Título" "TPE1:1:Ørjan Two" "TALB:1:Versión Dos"
id3v2 --id3v1-only --song "One Title v23" --artist "One Artist v23" \
  --album "One Album v23" v23_and_id3v1.mp3
mutagen --version 4 "$audio" v24_and_id3v1.mp3 \
  "TIT2:3:Vier Título" "TPE1:3:Øystein Four" "TALB:3:Versión Cuatro"
id3v2 --id3v1-only --song "One Title v24" --artist "One Artist v24" \
  --album "One Album v24" v24_and_id3v1.mp3

# A 182 x 182 PNG of noise makes a tag of about 100 KB in front of 9 KB of
# audio: a playing time worked out from the whole file would be far off.
mutagen --version 3 --picture 182 --padding 256 "$audio" v23_picture_100k.mp3 \
  "TIT2:0:Portada Grande" "TPE1:0:Niño Pintor" "TALB:0:Álbum Ilustrado"

mutagen --version 4 --padding 1024 "$audio" v24_padding_1024.mp3 \
  "TIT2:3:Stille Zone" "TPE1:3:Pädding Crew" "TALB:3:Tausend Nullen"

mutagen --version 3 /dev/null tag_only_v23.mp3 \
  "TIT2:1:Nur ein Tag" "TPE1:1:Тишина" "TALB:1:No Audio 無音"

# An empty title (the encoding byte alone) and an artist in UTF-16 whose
# terminator lost its second byte, leaving an odd length.
hand --version 3 --stray-byte TPE1 "$audio" v23_empty_title_odd_utf16.mp3 \
  "TIT2:0:" "TPE1:1:Odd Ünit" "TALB:0:Robust Reader"

for f in *.mp3; do
  size=$(wc -c <"$f")
  if [ "$size" -ge 16384 ] && [ "$f" != v23_picture_100k.mp3 ]; then
    echo "$f: $size bytes, not under 16 KB" >&2
    exit 1
  fi
done

$py check_files.py "$audio"
