# Shorthands for the scripts in scripts/.
BUILD ?= build
export BUILD

.PHONY: build run test bench package clean

build:
	scripts/build

run:
	scripts/run

test:
	scripts/test

bench: build
	$(BUILD)/bench/nobrex_bench

package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD)
