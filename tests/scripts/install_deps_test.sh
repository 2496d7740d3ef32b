#!/usr/bin/env bash
# install_deps_test.sh SCRIPT: runs install-deps with a PATH of stub commands only, so
# dpkg-query answers from a list, and apt-get and sudo just record how they were called.
set -euo pipefail
script=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/geosandbox-deps.XXXXXX")
trap 'rm -rf "$work"' EXIT

stubs=$work/stubs
mkdir "$stubs"
cat >"$stubs/dpkg-query" <<'STUB'
#!/bin/bash
# The package is the last argument; installed when it is in $INSTALLED_PACKAGES.
for installed in $INSTALLED_PACKAGES; do
  if [ "$installed" = "${!#}" ]; then printf 'install ok installed'; exit 0; fi
done
exit 1
STUB
printf '#!/bin/bash\necho "apt-get $*" >>"$CALLS"\n' >"$stubs/apt-get"
printf '#!/bin/bash\necho "sudo" >>"$CALLS"\nexec "$@"\n' >"$stubs/sudo"
printf '#!/bin/bash\necho "$USER_ID"\n' >"$stubs/id"
chmod +x "$stubs"/*
ln -s "$(command -v env)" "$stubs/env"

# Shows what install-deps printed, then what the stubs were asked.
fail() {
  echo "FAIL: $*" >&2
  cat "$work/out" "$CALLS" >&2
  exit 1
}

# run_deps USE TOOL...: install-deps USE with only the named stubs on PATH; its
# output goes to $work/out, the stubs' calls to $CALLS.
runs=0
run_deps() {
  local use=$1 path=$work/path-$((++runs))
  shift
  mkdir "$path"
  for tool in "$@"; do ln -s "$stubs/$tool" "$path/$tool"; done
  : >"$CALLS"
  status=0
  PATH=$path "$BASH" "$script" "$use" >"$work/out" 2>&1 || status=$?
}

installed_line() { grep '^apt-get install ' "$CALLS" || true; }
has_package() { [[ " $(installed_line) " == *" $1 "* ]]; }

export CALLS=$work/calls USER_ID=0 INSTALLED_PACKAGES="g++ libgl-dev"
all_tools=(dpkg-query apt-get sudo id env)
run_packages=(cmake make libsdl1.2-dev libglu1-mesa-dev libgl1-mesa-dri)
test_packages=(libgtest-dev libx11-dev xvfb xdotool x11-utils imagemagick)
unused_packages=(g++ libgl-dev clang libclang-rt-14-dev pkg-config libbenchmark-dev xauth)

# As root, `run` installs the missing run packages and nothing the tests or fuzzing use.
run_deps run "${all_tools[@]}"
[ "$status" -eq 0 ] || fail "run: exit status $status"
[ "$(head -n 1 "$CALLS")" = "apt-get update" ] || fail "run: no apt-get update first"
for package in "${run_packages[@]}"; do has_package "$package" || fail "run: $package not installed"; done
for package in "${test_packages[@]}" "${unused_packages[@]}"; do
  has_package "$package" && fail "run: $package installed"
done
grep -q '^sudo$' "$CALLS" && fail "run: sudo used as root"

# Not root, `test` adds the test packages, through sudo.
USER_ID=1000 run_deps test "${all_tools[@]}"
[ "$status" -eq 0 ] || fail "test: exit status $status"
[ "$(grep -c '^sudo$' "$CALLS")" -eq 2 ] || fail "test: apt-get not run through sudo"
for package in "${run_packages[@]}" "${test_packages[@]}"; do
  has_package "$package" || fail "test: $package not installed"
done
for package in "${unused_packages[@]}"; do has_package "$package" && fail "test: $package installed"; done

# `fuzz` brings only its compiler.
run_deps fuzz "${all_tools[@]}"
[ "$(installed_line)" = "apt-get install -y --no-install-recommends clang libclang-rt-14-dev" ] ||
  fail "fuzz: not just clang and its runtime"

# With everything present it is silent and calls no apt-get.
INSTALLED_PACKAGES="${run_packages[*]} ${test_packages[*]} g++ libgl-dev" run_deps test "${all_tools[@]}"
[ "$status" -eq 0 ] && [ ! -s "$CALLS" ] && [ ! -s "$work/out" ] || fail "all present: not a silent no-op"

# Not root and no sudo: it names the missing packages and lets the build go on.
USER_ID=1000 run_deps run dpkg-query apt-get id env
[ "$status" -eq 0 ] && [ ! -s "$CALLS" ] || fail "no sudo: exit status $status or apt-get called"
grep -q 'libsdl1.2-dev' "$work/out" || fail "no sudo: the missing packages are not named"

# No dpkg or apt-get: it names what is needed by purpose, exits 0 and runs nothing.
for present_tool in apt-get dpkg-query; do
  run_deps test "$present_tool" sudo id env
  [ "$status" -eq 0 ] && [ ! -s "$CALLS" ] || fail "only $present_tool: exit status $status or a stub called"
  for need in 'C++17 compiler' 'CMake >= 3.20' 'SDL 1.2' 'OpenGL and GLU' GoogleTest Xvfb xdotool ImageMagick; do
    grep -qF "$need" "$work/out" || fail "only $present_tool: \"$need\" not named"
  done
done
run_deps run sudo id env
grep -q GoogleTest "$work/out" && fail "no apt, run: names the test tools too"

echo "PASS: install-deps installs what each use needs and goes on without apt"
