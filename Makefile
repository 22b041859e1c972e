# The two commands of README.md. Both set up the machine first (see
# tools/ensure-packages), then build in ./build with CMake.

PACKAGES := cmake make g++ pkgconf qt6-base-dev libgl-dev libxkbcommon-dev libx11-dev \
            xvfb xauth xdotool xclip x11-utils openbox fonts-ipafont-gothic \
            desktop-file-utils appstream dpkg-dev

BUILD_DIR := build
JOBS ?= $(shell nproc)

.PHONY: run test bench install package build deps clean

deps:
	@tools/ensure-packages $(PACKAGES)

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release

build: deps $(BUILD_DIR)/CMakeCache.txt
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/tinctor

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

bench: build
	./$(BUILD_DIR)/bench/bench_reactions $(BUILD_DIR)/bench.md
	./$(BUILD_DIR)/bench/bench_pick $(BUILD_DIR)/bench.md
	./$(BUILD_DIR)/bench/bench_startup $(BUILD_DIR)/bench.md
	@echo; cat $(BUILD_DIR)/bench.md

# For the current user (~/.local) unless configured with another prefix.
install: build
	cmake --install $(BUILD_DIR)

package: build
	cd $(BUILD_DIR) && cpack

clean:
	rm -rf $(BUILD_DIR)
