#!/usr/bin/env bash
# Draws the player's pictures from nothing but shapes and the DejaVu fonts:
#   splash.png   439 x 450 RGBA: a dark rounded card with the mark, the name and a
#                tagline, on a fully transparent surround with a soft shadow
#   quorvel.ico  the application icon at 16, 24, 32, 48, 64, 128 and 256 pixels
# Needs ImageMagick 6 (`convert`) and fonts-dejavu-core. The outputs are committed;
# run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")"

fonts=/usr/share/fonts/truetype/dejavu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# No time stamps or other metadata, so the same script gives the same bytes.
png_clean=(-strip -define png:exclude-chunks=date,time)

accent_from='#3d8bfd'
accent_to='#6a3df0'

# The mark: a rounded square in the accent gradient with a white play triangle. From
# 32 pixels up a ring around the triangle with a short tail makes it a Q; smaller
# sizes keep only the triangle, which stays legible at 16 pixels.
# mark SIZE OUT
mark() {
  local size=$1 out=$2
  local k=8 # drawn eight times larger, then reduced, for clean edges
  local s=$((size * k))
  local radius=$((s * 22 / 100))
  convert -size "${s}x${s}" xc: \
    -sparse-color Barycentric "0,0 ${accent_from} $((s - 1)),$((s - 1)) ${accent_to}" \
    "$work/fill.png"
  convert -size "${s}x${s}" xc:black -fill white \
    -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $radius,$radius" "$work/shape.png"
  convert "$work/fill.png" "$work/shape.png" -alpha off -compose CopyOpacity -composite \
    "$work/base.png"

  local c=$((s / 2))
  local draw=()
  if ((size >= 32)); then
    local ring=$((s * 30 / 100)) stroke=$((s * 8 / 100))
    # The tail crosses the ring at the lower right, short enough to read as a letter.
    local tail_from=$((c + ring * 50 / 100)) tail_to=$((c + ring * 95 / 100))
    local t=$((s * 14 / 100)) # triangle half height
    local base=$((c - t * 8 / 10)) apex=$((c + t * 12 / 10))
    draw=(-fill none -stroke white -strokewidth "$stroke"
      -draw "circle $c,$c $((c + ring)),$c"
      -draw "stroke-linecap round line $tail_from,$tail_from $tail_to,$tail_to"
      -stroke none -fill white
      -draw "polygon $base,$((c - t)) $base,$((c + t)) $apex,$c")
  else
    # Corners on whole pixels of the final size, so the small triangle stays sharp.
    local left=$(((size * 34 + 50) / 100 * k)) apex=$(((size * 74 + 50) / 100 * k))
    local top=$(((size * 24 + 50) / 100 * k))
    draw=(-stroke none -fill white
      -draw "polygon $left,$top $left,$((s - top)) $apex,$c")
  fi
  convert "$work/base.png" "${draw[@]}" -filter Box -resize "${size}x${size}" \
    "${png_clean[@]}" "PNG32:$out"
}

# --- Icon -----------------------------------------------------------------------------
frames=()
for size in 16 24 32 48 64 128 256; do
  mark "$size" "$work/icon-$size.png"
  frames+=("$work/icon-$size.png")
done
convert "${frames[@]}" quorvel.ico

# --- Splash ---------------------------------------------------------------------------
width=439
height=450
card_left=16
card_top=10
card_right=$((width - 17))
card_bottom=$((height - 23))
card_w=$((card_right - card_left + 1))
card_h=$((card_bottom - card_top + 1))
card_radius=30

# Soft shadow below the card: partly transparent pixels on the transparent surround.
# Its faintest fringe is cut to fully transparent, so the picture's corners and most of
# its margin stay clear (and let clicks through) instead of being barely visible.
shadow_box="$card_left,$((card_top + 7)) $card_right,$((card_bottom + 7))"
convert -size "${width}x${height}" xc:none -fill 'rgba(0,0,0,0.55)' \
  -draw "roundrectangle $shadow_box $card_radius,$card_radius" \
  -blur 0x5 "$work/shadow-soft.png"
convert "$work/shadow-soft.png" -alpha extract -black-threshold 4% "$work/shadow-alpha.png"
convert "$work/shadow-soft.png" "$work/shadow-alpha.png" -alpha off -compose CopyOpacity \
  -composite "$work/shadow.png"

# The card: a deep blue-grey gradient with a faint accent glow at the top.
convert -size "${card_w}x${card_h}" gradient:'#1f2945-#0c111f' "$work/card-fill.png"
convert -size "${card_w}x${card_h}" xc:none -fill 'rgba(61,139,253,0.30)' \
  -draw "circle $((card_w / 2)),130 $((card_w / 2 + 110)),130" \
  -blur 0x50 "$work/glow.png"
convert "$work/card-fill.png" "$work/glow.png" -compose Over -composite "$work/card-lit.png"
convert -size "${card_w}x${card_h}" xc:black -fill white \
  -draw "roundrectangle 0,0 $((card_w - 1)),$((card_h - 1)) $card_radius,$card_radius" \
  "$work/card-shape.png"
convert "$work/card-lit.png" "$work/card-shape.png" -alpha off -compose CopyOpacity \
  -composite "$work/card.png"
# A hairline edge so the card stands apart from dark backgrounds too.
edge_radius=$((card_radius - 1))
convert "$work/card.png" -fill none -stroke 'rgba(255,255,255,0.10)' -strokewidth 1.5 \
  -draw "roundrectangle 1,1 $((card_w - 2)),$((card_h - 2)) $edge_radius,$edge_radius" \
  "$work/card.png"

mark 112 "$work/splash-mark.png"

convert "$work/shadow.png" \
  "$work/card.png" -geometry "+${card_left}+${card_top}" -compose Over -composite \
  "$work/splash-mark.png" -gravity north -geometry "+0+$((card_top + 78))" -composite \
  -gravity north -font "$fonts/DejaVuSans-Bold.ttf" -pointsize 46 -fill white \
  -annotate "+0+$((card_top + 214))" 'Quorvel' \
  -font "$fonts/DejaVuSans.ttf" -pointsize 15 -fill '#9aa6c4' \
  -annotate "+0+$((card_top + 280))" 'Your courses, one click away' \
  -fill "$accent_from" -draw "circle 203,$((card_top + 360)) 206,$((card_top + 360))" \
  -fill '#5a63f3' -draw "circle 219,$((card_top + 360)) 222,$((card_top + 360))" \
  -fill "$accent_to" -draw "circle 235,$((card_top + 360)) 238,$((card_top + 360))" \
  "${png_clean[@]}" PNG32:splash.png
