# Pixel checks on screenshots for the end-to-end render tests, with ImageMagick and awk.
# Source it after lib.sh, then:
#   take_screenshot FILE                 the whole screen (or WINDOW=id for one window) as PNG
#   count_pixels FILE X Y W H CONDITION  how many pixels of the W x H box at (X, Y), top left
#                                        at 0 0, satisfy the awk CONDITION over r, g, b (0..255)
#                                        and m, the largest of the three
#   image_size FILE                      prints "W H"
#   mean_run_length, count_holes, leading_fade FILE X Y W H   see each function

take_screenshot() {
  local file=$1 window=${WINDOW:-root}
  import -window "$window" "$file" 2>/dev/null || fail "screenshot of $window failed"
}

image_size() { identify -format '%w %h' "$1"; }

count_pixels() {
  local file=$1 x=$2 y=$3 w=$4 h=$5 condition=$6
  convert "$file" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 -compress none ppm:- |
    awk -v RS='[ \t\n]+' '
      NR <= 4 { next }
      { value[n++ % 3] = $1 }
      n % 3 == 0 && n > 0 { r = value[0]; g = value[1]; b = value[2]
        m = r > g ? r : g; if (b > m) m = b
        if ('"$condition"') count++ }
      END { print count + 0 }'
}

# Mean length of the horizontal runs of pixels brighter than 40 in the W x H box at
# (X, Y), times 100 (an integer): lines drawn one pixel wide give short runs.
mean_run_length() {
  local file=$1 x=$2 y=$3 w=$4 h=$5
  convert "$file" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 -compress none ppm:- |
    awk -v RS='[ \t\n]+' -v width="$w" '
      NR <= 4 { next }
      { value[n++ % 3] = $1 }
      n % 3 == 0 && n > 0 {
        m = value[0] > value[1] ? value[0] : value[1]; if (value[2] > m) m = value[2]
        column = (n / 3 - 1) % width
        if (column == 0) inRun = 0
        if (m > 40) { lit++; if (!inRun) runs++; inRun = 1 } else inRun = 0
      }
      END { print runs ? int(100 * lit / runs) : 0 }'
}

# Holes of a see-through surface: horizontal runs of 2 to 24 dark pixels (all channels
# at most 12) with a lit pixel (above 40) at both ends, in the W x H box at (X, Y).
count_holes() {
  local file=$1 x=$2 y=$3 w=$4 h=$5
  convert "$file" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 -compress none ppm:- |
    awk -v RS='[ \t\n]+' -v width="$w" '
      NR <= 4 { next }
      { value[n++ % 3] = $1 }
      n % 3 == 0 && n > 0 {
        m = value[0] > value[1] ? value[0] : value[1]; if (value[2] > m) m = value[2]
        column = (n / 3 - 1) % width
        if (column == 0) { afterLit = 0; dark = 0 }
        if (m > 40) {
          if (afterLit && dark >= 2 && dark <= 24) holes++
          afterLit = 1; dark = 0
        } else if (m <= 12) {
          dark++
        } else {
          afterLit = 0; dark = 0
        }
      }
      END { print holes + 0 }'
}

# Sum over the rows of the W x H box at (X, Y) of the faint pixels (3 to 60) that lead
# up to a row's first bright pixel (above 60) from the left: a sharp edge gives few, a
# trail fading out behind a figure moving right gives many.
leading_fade() {
  local file=$1 x=$2 y=$3 w=$4 h=$5
  convert "$file" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 -compress none ppm:- |
    awk -v RS='[ \t\n]+' -v width="$w" '
      NR <= 4 { next }
      { value[n++ % 3] = $1 }
      n % 3 == 0 && n > 0 {
        m = value[0] > value[1] ? value[0] : value[1]; if (value[2] > m) m = value[2]
        column = (n / 3 - 1) % width
        if (column == 0) { found = 0; faint = 0 }
        if (found) next
        if (m > 60) { found = 1; total += faint } else if (m >= 3) faint++; else faint = 0
      }
      END { print total + 0 }'
}
