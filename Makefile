# Thin wrapper around CMake so a fresh Debian machine needs two commands: `make run`
# and `make test`. Each first installs the missing packages of its own use: running
# needs a compiler and the SDL and GL libraries, testing adds GoogleTest and the X tools.
BUILD ?= build
BUILD_TYPE ?= Release
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
DESTDIR ?=
BENCHES := refine_bench frame_bench

.PHONY: build run test bench install screenshot clean

# configure(TESTS): the tests are configured only when they are to be run, so building
# and running the program never need what only the tests use.
configure = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DGEOSANDBOX_TESTS=$(1) $(CMAKE_FLAGS)

build:
	@bash scripts/install-deps run
	$(call configure,OFF)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/geosandbox

test:
	@bash scripts/install-deps test
	$(call configure,ON)
	cmake --build $(BUILD) -j $(JOBS)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Builds every benchmark there is and runs each once; they print their own figures.
bench: build
	@for bench in $(BENCHES); do \
	  echo "== $$bench"; ./$(BUILD)/bench/$$bench || exit 1; \
	done

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Runs the program on a private X server, so it needs the X tools the tests use.
screenshot:
	@bash scripts/install-deps test
	$(call configure,OFF)
	cmake --build $(BUILD) -j $(JOBS) --target geosandbox
	bash scripts/screenshot $(BUILD)/geosandbox docs/screenshot.png

clean:
	rm -rf build build-*
