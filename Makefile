# Thin wrapper around CMake so a fresh Debian machine needs two commands:
# `make run` and `make test`. Both install missing packages first.
BUILD ?= build
BUILD_TYPE ?= Release
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
BENCHES := refine_bench frame_bench

.PHONY: deps configure build run test bench screenshot clean

deps:
	@bash scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/geosandbox

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# Builds every benchmark there is and runs each once; they print their own figures.
bench: configure
	cmake --build $(BUILD) -j $(JOBS) --target benches
	@for bench in $(BENCHES); do \
	  if [ -x $(BUILD)/bench/$$bench ]; then \
	    echo "== $$bench"; ./$(BUILD)/bench/$$bench || exit 1; \
	  fi; \
	done

screenshot: build
	bash scripts/screenshot $(BUILD)/geosandbox docs/screenshot.png

clean:
	rm -rf build build-*
