# The two set-up commands: `make run` builds and launches Mirandel, `make test` builds and runs
# every test. Both install what they need first and do little when nothing changed.
BUILD ?= build
SVGO_BIN := $(CURDIR)/tools/node_modules/.bin

.PHONY: run test build setup

setup:
	@scripts/setup.sh

build: setup
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	@cmake --build $(BUILD)

run: build
	@if [ -z "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  echo "Mirandel needs a graphical desktop: no display found (DISPLAY and WAYLAND_DISPLAY are unset)."; \
	  exit 1; fi
	@PATH="$(SVGO_BIN):$$PATH" $(BUILD)/mirandel

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
