# The two commands of README.md. Both set up the machine first (see
# tools/ensure-packages), then build in ./build with CMake. `make run` installs
# what building and running need; the test targets add the test desktops and
# the checkers.

PACKAGES := cmake make g++ pkgconf qt6-base-dev qt6-base-private-dev libgl-dev libxkbcommon-dev libx11-dev \
            qt6-wayland libwayland-dev wayland-protocols libcanberra0 sound-theme-freedesktop \
            fonts-ipafont-gothic qt6-translations-l10n libpng-dev libdeflate-dev
TEST_PACKAGES := xvfb xauth xdotool xclip x11-utils openbox \
                 sway xwayland dbus-daemon libglib2.0-bin wl-clipboard grim slurp pipewire \
                 xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk \
                 desktop-file-utils appstream dpkg-dev clang libclang-rt-14-dev valgrind \
                 clang-format at-spi2-core python3-pyatspi python3-gi

# The headless GNOME and KDE Plasma sessions of `make test-desktops`.
# Qt reads GNOME's interface font (Cantarell 11) through its GTK theme, which
# Debian installs with Qt unless recommends are left out, as here.
GNOME_PACKAGES := gnome-shell xdg-desktop-portal-gnome xdg-desktop-portal-gtk \
                  qt6-gtk-platformtheme fonts-cantarell
KDE_PACKAGES := kwin-wayland xdg-desktop-portal-kde plasma-workspace qml-module-org-kde-kirigami2 \
                qml-module-qtquick-controls2 qml-module-qtquick-layouts qtwayland5 at-spi2-core

BUILD_DIR := build
JOBS ?= $(shell nproc)
# ON makes every build below treat the compiler's warnings as errors; CI
# (.ci/run) sets it, and so can you: make test WERROR=ON.
WERROR ?= OFF

.PHONY: run test test-desktops test-asan fuzz test-valgrind bench install package build deps test-deps clean

deps:
	@tools/ensure-packages $(PACKAGES)

test-deps:
	@tools/ensure-packages $(PACKAGES) $(TEST_PACKAGES)

$(BUILD_DIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DTINCTOR_WERROR=$(WERROR)

# ./build keeps its first configuration; only a change of WERROR configures
# it again, which a mere `make run` does not.
build: deps $(BUILD_DIR)/CMakeCache.txt
	@grep -qx 'TINCTOR_WERROR:BOOL=$(WERROR)' $(BUILD_DIR)/CMakeCache.txt || \
	    cmake -S . -B $(BUILD_DIR) -DTINCTOR_WERROR=$(WERROR)
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/tinctor

test: test-deps build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) -LE desktops

# The same program on headless GNOME and KDE Plasma sessions, one at a time.
test-desktops: test-deps build
	@tools/ensure-packages $(GNOME_PACKAGES) $(KDE_PACKAGES)
	cd $(BUILD_DIR) && ctest --output-on-failure -L desktops

# The whole suite again, built with AddressSanitizer and
# UndefinedBehaviorSanitizer; leaks are reported too, but for the system
# libraries named in tests/sanitizers/lsan.supp.
ASAN_DIR := build-asan
SANITIZE := -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer

test-asan: test-deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINCTOR_WERROR=$(WERROR) \
	    -DCMAKE_CXX_FLAGS="$(SANITIZE)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE)"
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure -j $(JOBS) -LE desktops

# The text parsers, the settings file and the screenshot decoder under
# libFuzzer (clang), each for FUZZ_SECONDS, starting from the seed corpora in
# tests/fuzz/corpus.
FUZZ_DIR := build-fuzz
FUZZ_SECONDS ?= 60

fuzz: test-deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTINCTOR_WERROR=$(WERROR) \
	    -DCMAKE_CXX_COMPILER=clang++ -DTINCTOR_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	tests/fuzz/run_fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

# A scripted start, edit, pick and close of the real program under
# valgrind's memcheck, on a private X server.
test-valgrind: test-deps build
	tests/valgrind/run_memcheck $(BUILD_DIR)/tinctor

bench: test-deps build
	./$(BUILD_DIR)/bench/bench_reactions $(BUILD_DIR)/bench.md
	./$(BUILD_DIR)/bench/bench_pick $(BUILD_DIR)/bench.md
	./$(BUILD_DIR)/bench/bench_wayland_pick $(BUILD_DIR)/bench.md
	./$(BUILD_DIR)/bench/bench_startup $(BUILD_DIR)/bench.md
	@echo; cat $(BUILD_DIR)/bench.md

# For the current user (~/.local) unless configured with another prefix.
install: build
	cmake --install $(BUILD_DIR)

package: test-deps build
	cd $(BUILD_DIR) && cpack

clean:
	rm -rf $(BUILD_DIR)
