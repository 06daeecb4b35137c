# Two commands do all the set-up on a fresh Debian machine:
#   make run   installs what is missing, builds, and opens the applet through Wine's Control Panel
#   make test  installs what is missing, builds, and runs every test
BUILD := build
WIN := $(BUILD)/win
JOBS ?= 2

.PHONY: all deps build run test clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake
	cmake --build $(WIN) -j$(JOBS)

run: build
	bash scripts/run-applet.sh

test: build
	cd $(WIN) && ctest --output-on-failure

clean:
	rm -rf $(BUILD)
