# make run          builds KIVRA and opens it on the demo sound (make run FILE=path for another file)
# make test         builds and runs every test
# make bench        builds and runs the benchmarks
# make sanitize     builds in build-sanitize with the address and undefined-behaviour sanitizers
#                   and runs every test there; fails on any sanitizer report
# make package      builds the Debian package build/kivra_<version>_<arch>.deb
BUILD ?= build
FILE ?= samples/tuning-fork-440.wav

.PHONY: all deps configure build run test bench sanitize package clean

all: build

deps:
	@bash scripts/install-deps.sh

configure: deps
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) -G Ninja

build: configure
	cmake --build $(BUILD)

run: build
	@bash scripts/run-kivra.sh $(BUILD)/kivra "$(FILE)"

test: build
	@bash scripts/run-tests.sh $(BUILD)

bench: build
	@bash scripts/run-bench.sh $(BUILD)

sanitize: deps
	@bash scripts/run-sanitize.sh build-sanitize

package: build
	cmake --build $(BUILD) --target package

clean:
	rm -rf $(BUILD) build-sanitize
