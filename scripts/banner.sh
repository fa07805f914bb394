#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the main window's banner, app/resources/banner.jpg: 732 x 65 pixels,
# a blue gradient with two faint circles, the program's name and its Spanish
# subtitle, stored as a baseline JPEG that libjpeg decodes (ImageMagick and
# the DejaVu faces, both in scripts/deps.sh); and beside it banner@2x.jpg, the
# same drawing at twice the pixels for displays scaled above 1, drawn rather
# than enlarged so that its letters stay sharp.
# Usage: banner.sh [output folder]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/app/resources}"

# draw SCALE FILE: every size and position below is the 1x one times SCALE.
draw() {
  local s="$1"
  convert -size "$((732 * s))x$((65 * s))" gradient:'#0A3E70-#207FBF' \
    -fill 'rgba(255,255,255,0.135)' \
    -draw "circle $((601 * s)),$((83 * s)) $((601 * s)),$((2 * s))" \
    -draw "circle $((745 * s)),$((40 * s)) $((561 * s)),$((40 * s))" \
    -font DejaVu-Sans-Bold -pointsize "$((30 * s))" -fill white \
    -annotate "+$((18 * s))+$((42 * s))" 'Tarnwick Brelvan' \
    -font DejaVu-Sans -pointsize "$((13 * s))" -fill '#DCEEFF' \
    -annotate "+$((330 * s))+$((40 * s))" 'Búsqueda y configuración de dispositivos de red IP' \
    -strip -interlace none -sampling-factor 2x2 -quality 90 "$2"
}

draw 1 "$out/banner.jpg"
draw 2 "$out/banner@2x.jpg"
