# Shared by scripts/wayland-check and scripts/xinerama-check, which run the program in the
# desktop sessions people use. Sourced; needs bash 5 and, for the namespaces, root.
#   sdl_libraries BUILD          sets SDL_NAMES and SDL_DIRS: the installed SDL 1.2 (dir
#                                empty) and, where that is classic SDL, sdl12-compat
#                                unpacked beside the build (scripts/sdl12-compat-library)
#   in_private_session COMMAND...  runs COMMAND in a mount and network namespace of its own
#                                with a fresh /tmp, so the X servers' sockets, lock files and
#                                abstract socket names are its own: Weston's Xwayland picks its
#                                display number itself, and no session sees another's
#   figure_box FILE X Y W H      prints "W H X Y" of the box round the pixels brighter than
#                                40 in the W x H box at (X, Y) of FILE (as pixels.sh counts)
#   box_ratio "W H X Y"          prints W / H with two decimals

sdl_libraries() {
  local build=$1
  SDL_NAMES=("installed SDL 1.2 ($(dpkg-query -W -f='${Source} ${Version}' libsdl1.2debian 2>/dev/null || echo unknown))")
  SDL_DIRS=("")
  [[ "$(dpkg-query -W -f='${Source}' libsdl1.2debian 2>/dev/null || true)" == sdl12-compat* ]] && return 0
  SDL_NAMES+=("sdl12-compat")
  SDL_DIRS+=("$(bash "$(dirname "${BASH_SOURCE[0]}")/sdl12-compat-library" "$build")")
}

in_private_session() {
  local as_root=()
  [[ $(id -u) -eq 0 ]] || as_root=(--map-root-user)
  unshare "${as_root[@]}" --mount --net --propagation private \
    bash -c 'mount -t tmpfs -o size=256m,mode=1777 tmpfs /tmp && exec "$@"' session "$@"
}

# Rows and columns with fewer than 16 lit pixels do not count, so a mouse pointer drawn
# into the screenshot does not stretch the box.
figure_box() {
  local file=$1 x=$2 y=$3 w=$4 h=$5
  convert "$file" -crop "${w}x${h}+${x}+${y}" +repage -depth 8 -compress none ppm:- |
    awk -v RS='[ \t\n]+' -v width="$w" -v height="$h" '
      NR <= 4 { next }
      { value[n++ % 3] = $1 }
      n % 3 == 0 && n > 0 {
        m = value[0] > value[1] ? value[0] : value[1]; if (value[2] > m) m = value[2]
        if (m > 40) { pixel = n / 3 - 1; column[pixel % width]++; row[int(pixel / width)]++ }
      }
      END {
        left = -1; for (i = 0; i < width; i++) if (column[i] >= 16) { if (left < 0) left = i; right = i }
        top = -1; for (i = 0; i < height; i++) if (row[i] >= 16) { if (top < 0) top = i; bottom = i }
        if (left < 0 || top < 0) { print "0 0 0 0"; exit }
        print right - left + 1, bottom - top + 1, left, top
      }'
}

box_ratio() {
  local w h
  read -r w h _ <<<"$1"
  awk -v w="$w" -v h="$h" 'BEGIN { printf "%.2f", (h > 0 ? w / h : 0) }'
}
