#!/usr/bin/env bash
# install_deps_test.sh SCRIPT: runs install-deps with a PATH of stub commands only, so
# dpkg-query answers from a list, apt-get records what it was asked and sudo makes root.
set -euo pipefail
script=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/geosandbox-deps.XXXXXX")
trap 'rm -rf "$work"' EXIT

stubs=$work/stubs
mkdir "$stubs"
cat >"$stubs/dpkg-query" <<'STUB'
#!/bin/bash
# Lists the packages of $INSTALLED_PACKAGES as installed, then the lines of $DPKG_LINES.
for installed in $INSTALLED_PACKAGES; do echo "ii  $installed "; done
[ -z "${DPKG_LINES:-}" ] || echo "$DPKG_LINES"
STUB
# As apt on a new machine: only root may install, and nothing is found to install or
# download until `update` has read the package lists. A download lands where it runs.
cat >"$stubs/apt-get" <<'STUB'
#!/bin/bash
[ "$1" = download ] || [ "$USER_ID" -eq 0 ] || { echo "E: are you root?" >&2; exit 100; }
if [ "$1" = update ]; then : >"$CALLS.read"; fi
if [ "$1" != update ] && [ ! -e "$CALLS.read" ]; then echo "E: no package $2" >&2; exit 100; fi
echo "apt-get $*" >>"$CALLS"
if [ "$1" = download ]; then : >"$PWD/$2.deb"; fi
STUB
printf '#!/bin/bash\nUSER_ID=0 exec "$@"\n' >"$stubs/sudo"
printf '#!/bin/bash\necho "$USER_ID"\n' >"$stubs/id"
chmod +x "$stubs"/*
ln -s "$(command -v env)" "$stubs/env"

# Shows what install-deps printed, then what the stubs were asked.
fail() {
  echo "FAIL: $*" >&2
  cat "$work/out" "$CALLS" >&2
  exit 1
}

# run_deps "USE [DIR]" TOOL...: install-deps USE [DIR] with only the named stubs on PATH;
# its output goes to $work/out, the stubs' calls to $CALLS.
runs=0
run_deps() {
  local arguments path=$work/path-$((++runs))
  read -ra arguments <<<"$1"
  shift
  mkdir "$path"
  for tool in "$@"; do ln -s "$stubs/$tool" "$path/$tool"; done
  : >"$CALLS"
  rm -f "$CALLS.read"
  status=0
  PATH=$path "$BASH" "$script" "${arguments[@]}" >"$work/out" 2>&1 || status=$?
}

installed_line() { grep '^apt-get install ' "$CALLS" || true; }
installed_packages() { installed_line | tr ' ' '\n' | grep -v '^-' | tail -n +3 | sort; }
has_package() { [[ " $(installed_line) " == *" $1 "* ]]; }

export CALLS=$work/calls USER_ID=0 INSTALLED_PACKAGES="" DPKG_LINES=""
all_tools=(dpkg-query apt-get sudo id env)

# As root on a bare machine, which has no sudo, `run` installs what running needs, SDL 1.2
# among it, and nothing the tests or fuzzing use; apt may never remove a package for it.
run_deps run dpkg-query apt-get id env
[ "$status" -eq 0 ] || fail "run: exit status $status"
has_package libsdl1.2-dev || fail "run: no SDL 1.2"
has_package --no-remove || fail "run: apt may remove packages"
for package in xvfb libgtest-dev clang; do
  ! has_package "$package" || fail "run: $package installed"
done
run_set=$(installed_packages)

# Not root, `test` adds the test packages to those, as root through sudo.
USER_ID=1000 run_deps test "${all_tools[@]}"
[ "$status" -eq 0 ] || fail "test: exit status $status"
test_set=$(installed_packages)
[ -z "$(comm -23 <(echo "$run_set") <(echo "$test_set"))" ] ||
  fail "test: not all of run's packages"
has_package xvfb && has_package libgtest-dev || fail "test: no Xvfb or GoogleTest"

# `deb` adds Debian's packaging tools to what running needs, and nothing only the tests use.
run_deps deb "${all_tools[@]}"
has_package debhelper || fail "deb: no debhelper"
[ -z "$(comm -23 <(echo "$run_set") <(installed_packages))" ] ||
  fail "deb: not all of run's packages"
has_package xvfb && fail "deb: xvfb installed"

# `fuzz` brings only its compiler, nothing that running or testing use.
run_deps fuzz "${all_tools[@]}"
has_package clang || fail "fuzz: no clang"
[ -z "$(comm -12 <(installed_packages) <(echo "$test_set"))" ] ||
  fail "fuzz: more than its compiler"

# The sanitizer runtime follows the clang++ on PATH, whatever its version.
printf '#!/bin/bash\necho "Debian clang version 19.1.7 (3+b1)"\n' >"$stubs/clang++"
chmod +x "$stubs/clang++"
INSTALLED_PACKAGES=clang run_deps fuzz "${all_tools[@]}" clang++
[ "$(installed_packages)" = libclang-rt-19-dev ] || fail "fuzz: not the runtime of clang 19"

# `ci` brings the Debian-tree stages' tools, and nothing that running the program needs.
run_deps ci "${all_tools[@]}"
has_package debootstrap && has_package qemu-system-x86 || fail "ci: no debootstrap or QEMU"
[ -z "$(comm -12 <(installed_packages) <(echo "$run_set"))" ] || fail "ci: run's packages too"

# With a folder, `sdl12-compat` downloads the compat library's package into it, reading
# apt's lists where the first try fails; and a use it does not know is an error.
mkdir "$work/downloads"
INSTALLED_PACKAGES=libsdl2-2.0-0 run_deps "sdl12-compat $work/downloads" "${all_tools[@]}"
[ "$status" -eq 0 ] && [ -e "$work/downloads/libsdl1.2-compat.deb" ] || fail "no download"
run_deps fonts "${all_tools[@]}"
[ "$status" -eq 2 ] && [ ! -s "$CALLS" ] || fail "an unknown use: status $status"

# With everything present it is silent and calls no apt-get.
INSTALLED_PACKAGES=$test_set run_deps test "${all_tools[@]}"
[ "$status" -eq 0 ] && [ ! -s "$CALLS" ] && [ ! -s "$work/out" ] ||
  fail "all present: not a silent no-op"

# A need is met by a package that provides its name (the sdl12-compat development files)
# and by its tool on PATH; a package that was removed (rc) meets nothing.
printf '#!/bin/bash\n' >"$stubs/Xvfb"
chmod +x "$stubs/Xvfb"
INSTALLED_PACKAGES=$(grep -vx -e libsdl1.2-dev -e xvfb <<<"$test_set") \
  DPKG_LINES="ii  libsdl1.2-compat-dev libsdl-dev, libsdl1.2-dev (= 1.2.15-1)" \
  run_deps test "${all_tools[@]}" Xvfb
[ "$status" -eq 0 ] && [ ! -s "$CALLS" ] || fail "provided or found: apt-get called"
INSTALLED_PACKAGES=$(grep -vx libsdl1.2-dev <<<"$run_set") \
  DPKG_LINES=$'ii  libsdl1.2-compat \nrc  libsdl1.2-dev ' run_deps run "${all_tools[@]}"
[ "$(installed_packages)" = libsdl1.2-compat-dev ] || fail "compat library: not its own dev files"

# Not root and no sudo: it names the missing packages and lets the build go on.
USER_ID=1000 run_deps run dpkg-query apt-get id env
[ "$status" -eq 0 ] && [ ! -s "$CALLS" ] || fail "no sudo: exit status $status or apt-get called"
grep -q 'libsdl1.2-dev' "$work/out" || fail "no sudo: the missing packages are not named"

# No dpkg or apt-get: it names what is needed by purpose, exits 0 and runs nothing.
for present_tool in apt-get dpkg-query; do
  run_deps test "$present_tool" sudo id env
  [ "$status" -eq 0 ] && [ ! -s "$CALLS" ] ||
    fail "only $present_tool: exit status $status or a stub called"
  for need in 'C++17 compiler' 'CMake >= 3.20' 'SDL 1.2' 'OpenGL and GLU' GoogleTest Xvfb \
    xdotool ImageMagick; do
    grep -qF "$need" "$work/out" || fail "only $present_tool: \"$need\" not named"
  done
done
run_deps run sudo id env
grep -q GoogleTest "$work/out" && fail "no apt, run: names the test tools too"

echo "PASS: install-deps installs what each use needs and goes on without apt"
