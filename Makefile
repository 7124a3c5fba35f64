# Front door of the Lumaview build.
#   make test   all tests: native under the sanitizers, then Win32 under Wine
#   make run    build the distribution and run it under Wine
#   make dist   build only; the Windows distribution lands in build/win32/dist
#               (PAYLOAD_DIR=DIR: setup.exe carries the real product files of DIR)
#   make fuzz   run every fuzzer for FUZZ_SECONDS (default 60) each
#   make bench  the benchmarks: native (optimised), then the Win32 DLL under Wine
# Each target first installs the Debian packages that are missing.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
# Windows need a display: use the user's, or a virtual one.
DISPLAY_WRAP := $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1024x768x24")

.PHONY: fuzz-build all deps native win32 dist test test-native test-fuzz test-win32 run fuzz bench clean

all: dist

deps:
	@scripts/install-deps.sh

native: deps
	cmake --preset native
	cmake --build --preset native -j $(JOBS)

# PAYLOAD_DIR=DIR packs the real product files (members 2 to 14) into
# setup.exe; without it they are marked placeholders.
win32: deps
	cmake --preset win32 -DPAYLOAD_DIR=$(abspath $(PAYLOAD_DIR))
	cmake --build --preset win32 -j $(JOBS)

dist: win32
	cmake --install build/win32 >/dev/null
	@echo "Distribution: build/win32/dist"

test-native: native
	ctest --preset native

test-win32: win32
	$(DISPLAY_WRAP) ctest --preset win32

fuzz-build: deps
	cmake --preset fuzz $(if $(FUZZ_SECONDS),-DLUMAVIEW_FUZZ_SECONDS=$(FUZZ_SECONDS))
	cmake --build --preset fuzz -j $(JOBS)

# Each fuzzer briefly, replaying the inputs that once crashed it.
test-fuzz: FUZZ_SECONDS = 5
test-fuzz: fuzz-build
	ctest --preset fuzz

fuzz: FUZZ_SECONDS ?= 60
fuzz: fuzz-build
	ctest --preset fuzz --timeout 0

# The native run keeps its rates, against which the Win32 client of the DLL
# compares itself.
bench: deps
	cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	build/bench/bin/pixbase_bench --rates_out=build/bench/native-rates.tsv
	build/bench/bin/coder_bench
	cmake --preset win32 -DLUMAVIEW_BENCH=ON
	cmake --build --preset win32 -j $(JOBS) --target pixbase_bench_win32
	cd build/win32/bin && ../../../scripts/wine-run pixbase_bench_win32.exe \
	  --native=../../bench/native-rates.tsv

test: test-native test-fuzz test-win32

run: dist
	@echo "--- democlient (PIXBASE.dll by ordinal, under Wine) ---"
	cd build/win32/dist && ../../../scripts/wine-run democlient.exe PIXBASE.dll
	@echo "--- setup.exe under Wine ---"
	scripts/run-setup

clean:
	rm -rf build
