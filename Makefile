# Entry points: make run, make test, make dist, make bench, make fuzz, make soak.
MAKEFLAGS += --no-print-directory
JOBS    ?= $(shell nproc)
NATIVE  := build/native
WIN     := build/win
FUZZ    := build/fuzz
BENCH   := build/bench
DIST    := dist/varokint
# make run's folder: the program keeps keycfg.ini and property.ini here, so nothing that
# builds or cleans ever deletes it.
RUN     := run
# Each tree is a CMake preset (CMakePresets.json): native, win, bench, fuzz; "shipped" builds
# only varokint.exe and varokint.dll in the win tree.

.PHONY: all deps native win shipped run test test-native test-wine dist bench fuzz soak day clean

all: native win

deps:
	@scripts/install-deps.sh

native: deps
	@cmake --preset native >/dev/null
	@cmake --build --preset native -j $(JOBS)

# The whole Windows tree with its tests (GoogleTest for MinGW is compiled with them).
win: deps
	@cmake --preset win >/dev/null
	@cmake --build --preset win -j $(JOBS)

# Only the two shipped files, in the same tree; none of the tests is compiled.
shipped: deps
	@cmake --preset win >/dev/null
	@cmake --build --preset shipped -j $(JOBS)

test: native win
	@scripts/run-tests.sh $(NATIVE) $(WIN)

test-native: native
	@cd $(NATIVE) && ctest --output-on-failure

test-wine: win
	@scripts/wine-session.sh ctest --test-dir $(WIN) --output-on-failure

dist: shipped
	@rm -rf $(DIST) dist/varokint-x64.zip
	@mkdir -p $(DIST)
	@cp $(WIN)/varokint.exe $(WIN)/varokint.dll $(DIST)/
	@cp -r help $(DIST)/help
	@scripts/make-readme.sh res/readme.txt $(DIST)/readme.txt
	@cd dist && zip -qr varokint-x64.zip varokint
	@echo "dist: $(DIST) and dist/varokint-x64.zip"

# A copy already running keeps its files: the new ones are put in place by renaming, never
# written over, and starting it again opens the running copy's menu.
run: shipped
	@mkdir -p $(RUN)
	@for f in varokint.exe varokint.dll; do cp $(WIN)/$$f $(RUN)/.$$f.new && mv -f $(RUN)/.$$f.new $(RUN)/$$f; done
	@rm -rf $(RUN)/help && cp -r help $(RUN)/help
	@scripts/wine-session.sh --use-display scripts/run-shell.sh $(RUN)

bench: deps
	@cmake --preset bench >/dev/null
	@cmake --build --preset bench -j $(JOBS)
	@scripts/run-bench.sh $(BENCH) $(WIN)

# Inputs per file reader; most short, a share with lines past the reader's line buffer.
FUZZ_RUNS ?= 10000000
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz -j $(JOBS)
	@scripts/run-fuzz.sh $(FUZZ) $(FUZZ_RUNS)

# Presses of one action under Wine, each once the one before has arrived (not in make test).
VR_SOAK_PRESSES ?= 20000
soak: deps
	@VR_SOAK_PRESSES=$(VR_SOAK_PRESSES) scripts/run-soak.sh $(WIN)

# A long random day under Wine (make test plays a short one): VR_DAY_STEPS steps from the
# seed VR_DAY_SEED (a new one, printed, when unset).
VR_DAY_STEPS ?= 1000
day: win
	@VR_DAY_STEPS=$(VR_DAY_STEPS) $(if $(VR_DAY_SEED),VR_DAY_SEED=$(VR_DAY_SEED)) VR_WINEPREFIX=$(CURDIR)/$(WIN)/wine/own-session-prefix \
	  scripts/wine-session.sh scripts/wine-run.sh $(WIN)/e2e_day_test.exe

# run/ stays: it holds the settings of make run.
clean:
	rm -rf build dist

# The engine's model-based test at 1,000,000 sequences (make test runs 10,000).
.PHONY: model-check
model-check: native
	@cd $(NATIVE)/tests/engine && VR_MODEL_SEQUENCES=$${VR_MODEL_SEQUENCES:-1000000} ./engine_tests --gtest_filter='ModelCheck.*' --gtest_brief=1
