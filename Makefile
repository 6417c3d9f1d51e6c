# The two set-up commands: `make run` builds and launches Mirandel, `make test` builds and runs
# every test. Both install what they need first and do little when nothing changed.
#
# Two build trees from CMakePresets.json: build/release (the program as users get it, and its
# .deb) and build/dev (debug, warnings as errors, address and undefined-behaviour sanitizers),
# where the tests run.
RELEASE := build/release
DEV := build/dev

.PHONY: run test setup release package dev tidy translations screenshots

setup:
	@scripts/setup.sh

release: setup
	@[ -f $(RELEASE)/build.ninja ] || cmake --preset release >/dev/null
	@cmake --build --preset release

# The .deb the package test installs.
package: release
	@cd $(RELEASE) && cpack -G DEB >/dev/null && ls mirandel_*.deb

dev: setup
	@[ -f $(DEV)/build.ninja ] || cmake --preset dev >/dev/null
	@cmake --build --preset dev

run: release
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  echo "Mirandel needs a graphical desktop: no display found (DISPLAY and WAYLAND_DISPLAY are unset)."; \
	  exit 1; fi
	@$(RELEASE)/mirandel

test: package dev
	@ctest --preset dev

# clang-tidy over every source file in src/, with the checks listed in .clang-tidy.
tidy: dev
	@scripts/setup.sh clang-tidy
	@run-clang-tidy -quiet -p $(DEV) -j 2 '$(CURDIR)/src/' >$(DEV)/clang-tidy.log 2>&1; \
	  status=$$?; grep -E 'warning:|error:' $(DEV)/clang-tidy.log; exit $$status

# Brings translations/mirandel_de.ts up to date with the sources; new texts come in unfinished.
translations: dev
	@cmake --build $(DEV) --target mirandel_translations_lupdate

# Renders the README's pictures of the windows, offscreen, into docs/. Not part of `make test`.
screenshots: setup
	@[ -f $(DEV)/build.ninja ] || cmake --preset dev >/dev/null
	@cmake --build --preset dev --target mirandel_screenshots
	@QT_QPA_PLATFORM=offscreen $(DEV)/mirandel_screenshots docs
