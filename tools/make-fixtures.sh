#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Korvid developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Regenerates the committed media: samples/ (what `make run` opens), tests/data/ (small
# fixtures named for what they exercise) and the pictures in resources/bitmaps/.
# Needs ImageMagick, ffmpeg and python3 (Debian: imagemagick ffmpeg python3).
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in convert ffmpeg python3; do
    command -v "$tool" >/dev/null || { echo "make-fixtures: $tool is missing (apt-get install imagemagick ffmpeg python3)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
media=tools/mkmedia.py
# No dates or tool names in the files, so that a re-run gives the same bytes.
strip=(-strip -define png:exclude-chunks=date,time)

# A landscape of our own: sky, sun, hills.
scene() { # width height out
    convert -size "$1x$2" gradient:'#3f7fd0-#cde6ff' \
        -fill '#ffd54f' -draw "circle $(($1 * 3 / 4)),$(($2 / 4)) $(($1 * 3 / 4 + $1 / 12)),$(($2 / 4))" \
        -fill '#2f7d32' -draw "polygon 0,$2 0,$(($2 * 2 / 3)) $(($1 / 4)),$(($2 / 2)) $(($1 / 2)),$(($2 * 2 / 3)) $(($1 * 3 / 4)),$(($2 * 2 / 5)) $1,$(($2 * 3 / 5)) $1,$2" \
        -fill '#1b5e20' -draw "polygon 0,$2 0,$(($2 * 5 / 6)) $(($1 / 3)),$(($2 * 3 / 4)) $(($1 * 2 / 3)),$(($2 * 7 / 8)) $1,$(($2 * 4 / 5)) $1,$2" \
        -depth 8 "${strip[@]}" "$3"
}

# --- samples/ ---------------------------------------------------------------------
mkdir -p samples
rm -f samples/*
scene 320 240 "$work/scene.png"
convert "$work/scene.png" -quality 80 "${strip[@]}" samples/sunset.jpg
convert "$work/scene.png" -resize 200x150 -colors 256 -type Palette "${strip[@]}" BMP3:samples/landscape.bmp
convert "$work/scene.png" -resize 200x150 -colors 256 "${strip[@]}" samples/hills.gif
convert "$work/scene.png" -resize 200x150 -colors 256 "${strip[@]}" samples/valley.pcx
convert "$work/scene.png" -resize 240x180 -compress lzw "${strip[@]}" samples/harbour.tif
convert -size 200x200 xc:none -fill '#d32f2f' -draw 'circle 70,80 70,20' \
    -fill '#1976d2c0' -draw 'circle 130,80 130,20' -fill '#388e3cc0' -draw 'circle 100,130 100,70' \
    -depth 8 "${strip[@]}" samples/circles.png
scene 32 32 "$work/icon.png"
convert "$work/icon.png" -define icon:auto-resize=32,16 samples/landscape.ico
python3 "$media" wmf samples/shapes.wmf shapes
python3 "$media" mid samples/tune.mid
python3 "$media" rmi samples/tune.rmi
ffmpeg -loglevel error -y -f lavfi -i 'sine=frequency=660:duration=0.6:sample_rate=11025' \
    -ac 1 -c:a pcm_s16le -map_metadata -1 -fflags +bitexact samples/chime.wav
ffmpeg -loglevel error -y -f lavfi -i 'testsrc=size=160x120:rate=10:duration=2' \
    -c:v mjpeg -q:v 8 -map_metadata -1 -fflags +bitexact samples/clock.avi
ffmpeg -loglevel error -y -f lavfi -i 'testsrc2=size=160x120:rate=10:duration=2' \
    -c:v mpeg4 -q:v 8 -map_metadata -1 -fflags +bitexact -flags +bitexact samples/pattern.mov

# --- tests/data/ --------------------------------------------------------------------
mkdir -p tests/data
rm -f tests/data/*
scene 64 48 "$work/small.png"
convert "$work/small.png" -quality 85 "${strip[@]}" tests/data/scene-64x48.jpg
convert "$work/small.png" -quality 85 "${strip[@]}" tests/data/lower-case-ext.jpg
convert "$work/small.png" -quality 85 "${strip[@]}" tests/data/UPPER-CASE-EXT.JPG
convert "$work/small.png" -type TrueColor "${strip[@]}" BMP3:tests/data/scene-64x48-24bit.bmp
convert "$work/small.png" -colors 256 "${strip[@]}" tests/data/scene-64x48.gif
convert "$work/small.png" -colors 256 "${strip[@]}" tests/data/scene-64x48.pcx
convert "$work/small.png" "${strip[@]}" PNG24:tests/data/scene-64x48.png
convert "$work/small.png" -type TrueColor -compress none -define tiff:rows-per-strip=2 "${strip[@]}" tests/data/scene-64x48.tif
# Variants each decoder must handle, named for what they exercise.
convert "$work/small.png" -colors 256 -compress RLE "${strip[@]}" BMP3:tests/data/rle8.bmp
convert "$work/small.png" -colors 16 "${strip[@]}" BMP3:tests/data/pal4.bmp
convert "$work/small.png" -monochrome "${strip[@]}" BMP3:tests/data/mono.bmp
convert "$work/small.png" -type TrueColor -define bmp:subtype=RGB565 "${strip[@]}" BMP:tests/data/rgb565.bmp
convert "$work/small.png" -colors 256 "${strip[@]}" BMP2:tests/data/os2-pal8.bmp
convert "$work/small.png" -alpha set -channel A -fx 'i/w' +channel "${strip[@]}" BMP:tests/data/argb32-v5.bmp
convert "$work/small.png" -type TrueColor "${strip[@]}" tests/data/rgb-3planes.pcx
convert "$work/small.png" -colors 2 -type Palette -depth 1 "${strip[@]}" tests/data/mono.pcx
scene 256 192 "$work/large.png"
convert "$work/large.png" -interlace JPEG -quality 85 "${strip[@]}" tests/data/progressive-256x192.jpg
convert "$work/small.png" -colorspace CMYK -quality 90 "${strip[@]}" tests/data/cmyk.jpg
convert "$work/small.png" -colorspace Gray -quality 90 "${strip[@]}" tests/data/grey.jpg
convert "$work/small.png" -interlace PNG "${strip[@]}" PNG24:tests/data/interlaced.png
convert "$work/small.png" -depth 16 "${strip[@]}" PNG48:tests/data/rgb16bit.png
convert "$work/small.png" -alpha set -channel A -fx 'j/h' +channel "${strip[@]}" PNG32:tests/data/alpha.png
convert "$work/small.png" -colors 64 -interlace GIF "${strip[@]}" tests/data/interlaced.gif
convert "$work/small.png" -colors 64 -transparent '#2f7d32' "${strip[@]}" tests/data/transparent.gif
for compression in LZW Zip JPEG; do
    convert "$work/small.png" -type TrueColor -compress "$compression" -define tiff:rows-per-strip=2 \
        "${strip[@]}" "tests/data/strips-$(echo "$compression" | tr '[:upper:]' '[:lower:]').tif"
done
convert "$work/small.png" -type TrueColor -compress RLE -define tiff:rows-per-strip=2 "${strip[@]}" tests/data/strips-packbits.tif
convert "$work/small.png" -type TrueColor -depth 16 -compress Zip -define tiff:rows-per-strip=2 "${strip[@]}" tests/data/rgb16bit.tif
convert "$work/small.png" -monochrome -compress Group4 "${strip[@]}" tests/data/fax-g4.tif
convert "$work/small.png" -type TrueColor -define tiff:tile-geometry=16x16 -compress LZW "${strip[@]}" tests/data/tiled.tif
convert "$work/icon.png" -define icon:auto-resize=16 tests/data/icon-16.ico
# ImageMagick stores the 256-pixel entry as PNG, the small one as a bitmap.
convert "$work/scene.png" -define icon:auto-resize=16,256 tests/data/icon-16-png256.ico
python3 "$media" wmf tests/data/shapes.wmf shapes
head -c 300 tests/data/scene-64x48.jpg > tests/data/truncated.jpg
printf 'not a media file\n' > tests/data/notes.txt
cp samples/chime.wav tests/data/chime.wav
cp samples/tune.mid tests/data/tune.mid
cp samples/tune.rmi tests/data/tune.rmi

# --- resources/bitmaps/ ---------------------------------------------------------------
mkdir -p resources/bitmaps
scene 196 189 "$work/splash-scene.png"
convert "$work/splash-scene.png" \
    -font DejaVu-Sans-Bold -pointsize 26 -fill white -stroke '#0c1d38' -strokewidth 1 \
    -gravity north -annotate +0+18 'Korvid' \
    -font DejaVu-Sans -pointsize 11 -stroke none -fill white \
    -gravity south -annotate +0+10 'MultiMedia Browser' \
    "${strip[@]}" resources/bitmaps/splash.png
# Slideshow button pictures: a film frame, with a play mark while a show runs.
glyph() { # fill-of-mark draw-command out
    convert -size 42x22 xc:'#c0c0c0' -fill '#404040' -draw 'rectangle 2,2 39,19' \
        -fill '#f0f0f0' -draw 'rectangle 5,5 36,16' -fill "$1" -draw "$2" \
        -type TrueColor "${strip[@]}" BMP3:"$3"
}
glyph '#2e7d32' 'polygon 16,7 16,14 26,10' resources/bitmaps/BMP_MS_RUNNING.bmp
glyph '#b71c1c' 'rectangle 16,7 24,14' resources/bitmaps/BMP_MS_STOPPED.bmp

echo "make-fixtures: samples/, tests/data/ and resources/bitmaps/ written"
du -sh samples tests/data resources/bitmaps
