# Pixel checks on screenshots, for the end-to-end render tests and the desktop check, with
# ImageMagick and awk. Source it after lib.sh, then:
#   take_screenshot FILE                 the whole screen (or WINDOW=id for one window) as PNG
#   image_size FILE                      prints "W H"
#   each_pixel FILE X Y W H PER_PIXEL END   the one reader of a screenshot's pixels: see below
#   count_pixels FILE X Y W H CONDITION  how many pixels of the W x H box at (X, Y), top left
#                                        at 0 0, satisfy the awk CONDITION over r, g, b (0..255)
#                                        and m, the largest of the three
#   mean_run_length, count_holes, leading_fade, figure_box FILE X Y W H   see each function

take_screenshot() {
  local file=$1 window=${WINDOW:-root}
  import -window "$window" "$file" 2>/dev/null || fail "screenshot of $window failed"
}

image_size() { identify -format '%w %h' "$1"; }

# each_pixel FILE X Y W H PER_PIXEL END: runs the awk statements PER_PIXEL on each pixel of
# the W x H box at (X, Y), row by row, with r, g, b (0..255), m (the largest of the three),
# and x and y counted from the box's corner; then the awk statements END, which print the
# result. The box's size is in width and height.
each_pixel() {
  local file=$1 x=$2 y=$3 w=$4 h=$5 per_pixel=$6 end=$7
  convert "$file" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 -compress none ppm:- |
    awk -v RS='[ \t\n]+' -v width="$w" -v height="$h" '
      NR <= 4 { next }
      { value[n++ % 3] = $1 }
      n % 3 == 0 && n > 0 {
        r = value[0]; g = value[1]; b = value[2]
        m = r > g ? r : g; if (b > m) m = b
        x = (n / 3 - 1) % width; y = int((n / 3 - 1) / width)
        '"$per_pixel"'
      }
      END { '"$end"' }'
}

count_pixels() {
  each_pixel "$1" "$2" "$3" "$4" "$5" "if ($6) count++" 'print count + 0'
}

# Mean length of the horizontal runs of pixels brighter than 40 in the W x H box at
# (X, Y), times 100 (an integer): lines drawn one pixel wide give short runs.
mean_run_length() {
  each_pixel "$@" '
    if (x == 0) inRun = 0
    if (m > 40) { lit++; if (!inRun) runs++; inRun = 1 } else inRun = 0' \
    'print runs ? int(100 * lit / runs) : 0'
}

# Holes of a see-through surface: horizontal runs of 2 to 24 dark pixels (all channels
# at most 12) with a lit pixel (above 40) at both ends, in the W x H box at (X, Y).
count_holes() {
  each_pixel "$@" '
    if (x == 0) { afterLit = 0; dark = 0 }
    if (m > 40) {
      if (afterLit && dark >= 2 && dark <= 24) holes++
      afterLit = 1; dark = 0
    } else if (m <= 12) {
      dark++
    } else {
      afterLit = 0; dark = 0
    }' \
    'print holes + 0'
}

# Sum over the rows of the W x H box at (X, Y) of the faint pixels (3 to 60) that lead
# up to a row's first bright pixel (above 60) from the left: a sharp edge gives few, a
# trail fading out behind a figure moving right gives many.
leading_fade() {
  each_pixel "$@" '
    if (x == 0) { found = 0; faint = 0 }
    if (found) next
    if (m > 60) { found = 1; total += faint } else if (m >= 3) faint++; else faint = 0' \
    'print total + 0'
}

# The box round the pixels brighter than 40 in the W x H box at (X, Y), printed as
# "W H X Y" ("0 0 0 0" where none is lit). Rows and columns with fewer than 16 lit pixels
# do not count, so a mouse pointer drawn into the screenshot does not stretch the box.
figure_box() {
  each_pixel "$@" 'if (m > 40) { column[x]++; row[y]++ }' '
    left = -1
    for (i = 0; i < width; i++) if (column[i] >= 16) { if (left < 0) left = i; right = i }
    top = -1
    for (i = 0; i < height; i++) if (row[i] >= 16) { if (top < 0) top = i; bottom = i }
    if (left < 0 || top < 0) { print "0 0 0 0"; exit }
    print right - left + 1, bottom - top + 1, left, top'
}
