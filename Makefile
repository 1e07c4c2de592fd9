# Every target installs what it needs first (once, quietly), so a fresh Debian
# machine needs nothing but `make test` or `make run`, as root.
SHELL := /bin/bash
.SHELLFLAGS := -eu -o pipefail -c
.DEFAULT_GOAL := test
VERSION := $(shell scripts/version.sh)
EXE := build/mingw/app/kelvane.exe

.PHONY: test unit exe run dist check-version bench fuzz screenshot icons format clean

test: unit
	@scripts/setup.sh windows
	@cmake --preset mingw >/dev/null
	@cmake --build --preset mingw
	@scripts/with-wine.sh ctest --preset mingw

unit:
	@scripts/setup.sh native
	@cmake --preset debug >/dev/null
	@cmake --build --preset debug
	@ctest --preset debug

exe:
	@scripts/setup.sh native windows
	@cmake --preset mingw >/dev/null
	@cmake --build --preset mingw --target kelvane

run: exe
	@scripts/with-wine.sh scripts/demo.sh $(EXE)

dist: exe
	@scripts/setup.sh dist
	@scripts/dist.sh $(EXE) $(VERSION)

# Builds a copy of the tree with another version in project() and checks
# that every artefact carries it: make check-version NEW_VERSION=5.0.0
check-version:
	@scripts/setup.sh native windows
	@scripts/check-version.sh $(NEW_VERSION)

# The benchmarks need the native release build and, for kelvane.exe and the
# programs it is compared with under Wine, the MinGW build with bench/ in
# it. Both folders can be moved: make bench BENCH_BUILD=... BENCH_WINDOWS_BUILD=...
BENCH_BUILD := build/release
BENCH_WINDOWS_BUILD := build/mingw
bench:
	@scripts/setup.sh native windows plot
	@cmake --preset release -B $(BENCH_BUILD) >/dev/null
	@cmake --build $(BENCH_BUILD)
	@cmake --preset mingw -B $(BENCH_WINDOWS_BUILD) -DKELVANE_BENCH=ON >/dev/null
	@cmake --build $(BENCH_WINDOWS_BUILD) --target kelvane toggle_floor empty find_window hidden_window
	@KELVANE_BENCH_BUILD=$(BENCH_BUILD) KELVANE_BENCH_WINDOWS_BUILD=$(BENCH_WINDOWS_BUILD) \
	  scripts/bench.sh

fuzz:
	@scripts/setup.sh native fuzz
	@scripts/fuzz.sh $(or $(FUZZ_SECONDS),60)

# make screenshot DPI=144 takes it at that scale, as the display settings'
# percentage names it: docs/settings-window-150.png.
DPI := 96
SCREENSHOT := docs/settings-window$(if $(filter 96,$(DPI)),,-$(shell echo $$(($(DPI) * 100 / 96)))).png
screenshot: exe
	@scripts/setup.sh screenshot
	@scripts/with-wine.sh scripts/screenshot.sh $(EXE) $(SCREENSHOT) $(DPI)

# Renders app/icons/*.svg into the .ico files the exe embeds and
# docs/icons.png; both are committed, so that a build needs no renderer.
icons:
	@scripts/setup.sh icons
	@scripts/render-icons.sh

# Applies .clang-format to every C++ file of the project.
format:
	@scripts/setup.sh format
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i --style=file

clean:
	rm -rf build dist
