# Two commands do all the set-up on a fresh Debian machine:
#   make run   installs what is missing, builds, and opens the applet through Wine's Control Panel
#   make test  installs what is missing, builds, and runs every test
BUILD := build
WIN := $(BUILD)/win
NATIVE := $(BUILD)/native
JOBS ?= 2

.PHONY: all deps build build-native build-win run test clean

all: build

deps:
	@bash scripts/install-deps.sh

# Native Linux pieces (outside components that run beside Wine, fuzzers) build first:
# the Windows tests start them.
build-native: deps
	cmake -S . -B $(NATIVE)
	cmake --build $(NATIVE) -j$(JOBS)

build-win: deps build-native
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	      -DNATIVE_BIN_DIR=$(CURDIR)/$(NATIVE)/bin
	cmake --build $(WIN) -j$(JOBS)
	mkdir -p $(BUILD)/dist && cp $(WIN)/dist/* $(BUILD)/dist/

build: build-native build-win

run: build
	bash scripts/run-applet.sh

test: build
	cd $(NATIVE) && ctest --output-on-failure --no-tests=ignore
	cd $(WIN) && ctest --output-on-failure

clean:
	rm -rf $(BUILD)
