# A thin layer over CMake: `make run` starts the editor, `make test` runs every test.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench package clean

all: build

deps:
	@scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Runs from the folder that holds Manual.txt, as the installed program does.
run: build
	cd $(BUILD)/app && ./nobrex

test: build
	cd $(BUILD) && ctest --output-on-failure -j 1

bench: build
	$(BUILD)/bench/nobrex_bench

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
