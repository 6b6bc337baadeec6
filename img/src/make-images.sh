#!/usr/bin/env bash
# Makes every picture in img/ from the sources in img/src/.
#
#   img/src/make-images.sh                  # writes img/*.png and img/Tallywick_01.ico
#   img/src/make-images.sh --sheet FILE.png # also a contact sheet (4x, light and mid-grey)
#
# Needs rsvg-convert (librsvg2-bin), ImageMagick 6 (imagemagick) and DejaVu Sans
# (fonts-dejavu-core). Running it again gives the same files: no dates or other
# changing chunks are written into the PNGs.
#
# Where each picture comes from is in LICENSE-pictures.md beside this script.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
out=$(cd "$here/.." && pwd)
sheet=

while [ $# -gt 0 ]; do
  case $1 in
    --sheet) sheet=${2:?--sheet needs a file name}; shift 2 ;;
    -h | --help) sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "make-images.sh: unknown argument: $1" >&2; exit 2 ;;
  esac
done

for tool in rsvg-convert convert montage; do
  command -v "$tool" > /dev/null || {
    echo "make-images.sh: $tool is missing (apt-get install librsvg2-bin imagemagick)" >&2
    exit 1
  }
done
case $(fc-list : family 2> /dev/null) in
  *'DejaVu Sans'*) ;;
  *)
    echo "make-images.sh: the DejaVu Sans font is missing (apt-get install fonts-dejavu-core)" >&2
    exit 1
    ;;
esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Writes a PNG as 8-bit RGBA with nothing in it but the picture.
png() { # png SOURCE... OPTIONS... TARGET: a convert call whose output is the bare PNG
  local target=${!#}
  convert "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time,tEXt,zTXt,iTXt \
    "PNG32:$target"
}

# An own SVG drawn on its pixel grid, rendered at its own size.
svg() { # svg NAME TARGET
  rsvg-convert "$here/$1.svg" -o "$work/$1.png"
  png "$work/$1.png" "$2"
}

# A Tango picture with one of our SVG layers over it.
over() { # over TANGO-PNG LAYER-SVG TARGET
  rsvg-convert "$here/$2.svg" -o "$work/$2.png"
  png "$here/tango/$1.png" "$work/$2.png" -compose Over -composite "$3"
}

# A Tango picture as it is.
tango() { # tango TANGO-PNG TARGET
  png "$here/tango/$1.png" "$2"
}

# Focus or hover: the same picture, brighter and a little more vivid.
highlight() { # highlight SOURCE TARGET
  png "$1" -modulate 118,125 "$2"
}

# Disabled: the same picture without colour, lightened and a little transparent.
disabled() { # disabled SOURCE TARGET
  png "$1" -modulate 100,0 -channel RGB +level 35%,92% -channel A -evaluate multiply 0.8 \
    +channel "$2"
}

cd "$out"

# Folder list: add and remove a folder.
over folder-16 badge-add-16 Add_s16_01.png
highlight Add_s16_01.png Add_s16_02.png
over folder-16 badge-delete-16 Del_s16_01.png
highlight Del_s16_01.png Del_s16_02.png
disabled Del_s16_01.png Del_s16_03.png

# Source types (file extensions) to count.
over text-x-generic-16 ext-16 Ext_s16_02.png
highlight Ext_s16_02.png Ext_s16_01.png
disabled Ext_s16_02.png Ext_s16_03.png

# Result: refresh and export.
tango view-refresh-16 Ref_s16_01.png
highlight Ref_s16_01.png Ref_s16_02.png
disabled Ref_s16_01.png Ref_s16_03.png
over text-x-generic-16 report-16 Report_s16_01.png

# Menus and the view.
svg filter-16 Filter_s16_01.png
tango view-fullscreen-16 Fullscreen_s16_01.png
tango preferences-desktop-locale-16 lang_s16_01.png
tango system-software-update-16 Update_s16_01.png
svg about-16 About_s16_01.png

# Start and stop counting.
svg start-16 Start_s16_01.png
svg stop-16 Stop_s16_01.png
svg start-24 Start_s24_01.png
highlight Start_s24_01.png Start_s24_02.png
disabled Start_s24_01.png Start_s24_03.png
svg stop-24 Stop_02_s24_01.png
disabled Stop_02_s24_01.png Stop_02_s24_02.png

# The application icon: each size is drawn on its own pixel grid.
for size in 16 24 32 48; do
  svg "tallywick-$size" "$work/icon-$size.png"
done
convert "$work/icon-16.png" "$work/icon-24.png" "$work/icon-32.png" "$work/icon-48.png" \
  -strip Tallywick_01.ico

# The about-box logo (its SVG takes the 48 px icon by reference).
rsvg-convert "$here/corvane-logo.svg" -o "$work/logo.png"
png "$work/logo.png" corvane_logo.png

if [ -n "$sheet" ]; then
  pictures=(Add_s16_01 Add_s16_02 Del_s16_01 Del_s16_02 Del_s16_03
    Ext_s16_02 Ext_s16_01 Ext_s16_03 Ref_s16_01 Ref_s16_02 Ref_s16_03
    Report_s16_01 Filter_s16_01 Fullscreen_s16_01 lang_s16_01 Update_s16_01
    About_s16_01 Start_s16_01 Stop_s16_01
    Start_s24_01 Start_s24_02 Start_s24_03 Stop_02_s24_01 Stop_02_s24_02)
  parts=()
  for background in '#f6f6f4' '#888a85'; do
    n=${#parts[@]}
    # Toolbar pictures, each centred on 24 x 24, then 4x with hard pixels.
    tiles=()
    for name in "${pictures[@]}"; do
      convert "$name.png" -background none -gravity center -extent 24x24 -filter point \
        -resize 400% -set label "$name" "$work/tile-$name.png"
      tiles+=("$work/tile-$name.png")
    done
    montage "${tiles[@]}" -font DejaVu-Sans -pointsize 11 -background "$background" \
      -geometry +8+6 -tile 8x "$work/sheet-$n-a.png"
    # The icon's four sizes, 4x.
    montage "$work"/icon-{16,24,32,48}.png -filter point -resize 400% \
      -background "$background" -gravity south -geometry +12+12 -tile 4x "$work/sheet-$n-b.png"
    # Everything at 1:1, as on screen.
    montage "${pictures[@]/%/.png}" "$work"/icon-{16,24,32,48}.png -background "$background" \
      -gravity center -geometry +3+3 -tile 28x "$work/sheet-$n-c.png"
    convert corvane_logo.png -background "$background" -flatten "$work/sheet-$n-d.png"
    parts+=("$work/sheet-$n-a.png" "$work/sheet-$n-b.png" "$work/sheet-$n-c.png" "$work/sheet-$n-d.png")
  done
  convert "${parts[@]}" -bordercolor white -border 0x6 -background white -gravity center \
    -append "$sheet"
  echo "contact sheet: $sheet"
fi
