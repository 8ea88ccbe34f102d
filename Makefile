# Entry points: make run, make test, make dist, make bench, make fuzz.
MAKEFLAGS += --no-print-directory
JOBS    ?= $(shell nproc)
NATIVE  := build/native
WIN     := build/win
FUZZ    := build/fuzz
BENCH   := build/bench
DIST    := dist/varokint

.PHONY: all deps native win run test test-native test-wine dist bench fuzz clean

all: native win

deps:
	@scripts/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=Debug >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

win: deps
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

test: native win
	@scripts/run-tests.sh $(NATIVE) $(WIN)

test-native: native
	@cd $(NATIVE) && ctest --output-on-failure

test-wine: win
	@scripts/wine-session.sh ctest --test-dir $(WIN) --output-on-failure

dist: win
	@rm -rf $(DIST) dist/varokint-x64.zip
	@mkdir -p $(DIST)
	@cp $(WIN)/varokint.exe $(WIN)/varokint.dll $(DIST)/
	@cp -r help $(DIST)/help
	@cd dist && zip -qr varokint-x64.zip varokint
	@echo "dist: $(DIST) and dist/varokint-x64.zip"

run: dist
	@scripts/wine-session.sh --use-display scripts/run-shell.sh $(DIST)

bench: deps
	@cmake -S . -B $(BENCH) -DCMAKE_BUILD_TYPE=Release -DVR_SANITIZE=OFF -DVR_BENCH=ON >/dev/null
	@cmake --build $(BENCH) -j $(JOBS)
	@scripts/run-bench.sh $(BENCH) $(WIN)

# Inputs per file reader; most short, a share with lines past the reader's line buffer.
FUZZ_RUNS ?= 10000000
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -DVR_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS)
	@scripts/run-fuzz.sh $(FUZZ) $(FUZZ_RUNS)

clean:
	rm -rf build dist
