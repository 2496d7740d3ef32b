# Thin wrapper around CMake so a fresh Debian machine needs two commands: `make run`
# and `make test`. Each first installs the missing packages of its own use: running
# needs a compiler and the SDL and GL libraries, testing adds GoogleTest and the X tools.
BUILD ?= build
TEST_BUILD ?= $(BUILD)-test
BUILD_TYPE ?= Release
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
DESTDIR ?=
BENCHES := refine_bench frame_bench memory_reads

.PHONY: build run test test-all test-build-folder bench install deb screenshot debian13-check clean

# configure(DIR, TESTS): the program builds in $(BUILD) without the tests, so building and
# running it never needs what only the tests use; the tests build in $(TEST_BUILD), so no
# switch of the option leaves test programs behind that no longer match the code. Options
# are the ones given now: where they differ from the last configure of DIR, its cache
# starts afresh instead of keeping the old ones.
define configure
@options='-DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DGEOSANDBOX_TESTS=$(2) $(CMAKE_FLAGS)'; \
  mkdir -p $(1); \
  if [ "$$(cat $(1)/make-options 2>/dev/null)" != "$$options" ]; then \
    rm -f $(1)/CMakeCache.txt; \
  fi; \
  echo "cmake -S . -B $(1) $$options"; \
  cmake -S . -B $(1) $$options && echo "$$options" >$(1)/make-options
endef

build:
	@bash scripts/install-deps run
	$(call configure,$(BUILD),OFF)
	cmake --build $(BUILD) -j $(JOBS)

# Without a display the program can only say so; the README shows how to run it off screen.
run: build
	@./$(BUILD)/geosandbox || { status=$$?; \
	  [ -n "$$DISPLAY" ] || echo "make run: no display here (DISPLAY is empty):" \
	    "see 'Without a display' in README.md"; \
	  exit $$status; }

# `make test` runs every test but the end-to-end run of the memory refusal (ctest label
# memory: some twenty steps up to the limit, drawn with software GL, about a minute on two
# cores); `make test-all`, which CI runs, adds it.
test test-all:
	@bash scripts/install-deps test
	$(call configure,$(TEST_BUILD),ON)
	cmake --build $(TEST_BUILD) -j $(JOBS)
	ctest --test-dir $(TEST_BUILD) --output-on-failure -j $(JOBS) $(if $(filter test,$@),-LE memory)

# The folder `make test` builds and tests in, for CI's stages that run its tests again.
test-build-folder:
	@echo $(TEST_BUILD)

# Builds every benchmark there is and runs each once; they print their own figures.
# The frame benchmark draws real frames: it needs a display or Xvfb to start one.
bench: build
	@for bench in $(BENCHES); do \
	  if [ $$bench = frame_bench ] && [ -z "$$DISPLAY" ] && ! command -v Xvfb >/dev/null; then \
	    echo "== frame_bench skipped: no display and no Xvfb (make test installs Xvfb)"; continue; \
	  fi; \
	  echo "== $$bench"; ./$(BUILD)/bench/$$bench || exit 1; \
	done

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package (scripts/package-file names it), here at the top of the tree; it is
# built in $(BUILD)-deb from a copy of the tree.
deb:
	@bash scripts/install-deps deb
	bash scripts/build-deb $(BUILD)-deb

# Runs the program on a private X server, so it needs the X tools the tests use.
screenshot:
	@bash scripts/install-deps test
	$(call configure,$(BUILD),OFF)
	cmake --build $(BUILD) -j $(JOBS) --target geosandbox
	bash scripts/screenshot $(BUILD)/geosandbox docs/screenshot.png

# CI's Debian 13 and cgroup v2 stages on their own, as root: this tree (with its uncommitted
# changes) set up and tested in a fresh Debian 13 tree, then booted under QEMU, and its
# package installed in another fresh Debian 13 tree.
debian13-check:
	@bash scripts/install-deps ci
	bash scripts/debian13-check $(BUILD)-debian13
	bash scripts/cgroup2-check $(BUILD)-debian13
	bash scripts/deb-check trixie $(BUILD)-debian13/$$(bash scripts/package-file)

# The Makefile's folders and CI's own.
clean:
	rm -rf $(BUILD) $(TEST_BUILD) $(BUILD)-deb $(BUILD)-deb-* $(BUILD)-debian13 build-asan \
	  build-fuzz
	rm -f geosandbox_*.deb
