#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the main window's banner, app/resources/banner.jpg: 732 x 65 pixels,
# a blue gradient with two faint circles, the program's name and its Spanish
# subtitle, stored as a baseline JPEG that libjpeg decodes (ImageMagick and
# the DejaVu faces, both in scripts/deps.sh). Usage: banner.sh [output]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:-$root/app/resources/banner.jpg}"

convert -size 732x65 gradient:'#0A3E70-#207FBF' \
  -fill 'rgba(255,255,255,0.135)' -draw 'circle 601,83 601,2' -draw 'circle 745,40 561,40' \
  -font DejaVu-Sans-Bold -pointsize 30 -fill white -annotate +18+42 'Tarnwick Brelvan' \
  -font DejaVu-Sans -pointsize 13 -fill '#DCEEFF' \
  -annotate +330+40 'Búsqueda y configuración de dispositivos de red IP' \
  -strip -interlace none -sampling-factor 2x2 -quality 90 "$out"
