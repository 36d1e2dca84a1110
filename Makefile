# Entry points for a fresh Debian machine. Each target installs what is
# missing first, so `make run` and `make test` work from a bare checkout.

BUILD_DIR := build
TEST_BUILD_DIR := build-test
JOBS := $(shell nproc)
FUZZ_SECONDS ?= 30
export FUZZ_SECONDS

.PHONY: run build test lint fuzz bench install pictures windows windows-deps windows-test \
	deps-run deps-test deps-windows clean

CONFIGURE_RELEASE := cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF

# Builds the window program alone, not the renderer.
run: deps-run
	$(CONFIGURE_RELEASE)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target quiltor
	./$(BUILD_DIR)/quiltor

# Only the programs: no tests, no benchmarks.
build: deps-run
	$(CONFIGURE_RELEASE)
	cmake --build $(BUILD_DIR) -j $(JOBS) --target quiltor quiltor-render

# The tests run against a sanitized build; the resource and memory-checker
# tests use the plain release build, as shipped (built whole here, so the
# benchmarks are compiled too). The end-to-end tests run on both SDL 1.2
# builds, the classic one and SDL 1.2 over SDL 2. Then the engine fuzzer runs,
# and last the Windows build's tests under Wine.
test: deps-test lint
	$(CONFIGURE_RELEASE)
	cmake --build $(BUILD_DIR) -j $(JOBS)
	cmake -S . -B $(TEST_BUILD_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUILTOR_SANITIZE=ON \
		-DQUILTOR_PLAIN_BINARY=$(CURDIR)/$(BUILD_DIR)/quiltor \
		-DQUILTOR_PLAIN_RENDER_BINARY=$(CURDIR)/$(BUILD_DIR)/quiltor-render
	cmake --build $(TEST_BUILD_DIR) -j $(JOBS)
	cd $(TEST_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	./scripts/fuzz.sh
	$(MAKE) windows-test

# The Windows build: quiltor.exe and quiltor-render.exe cross-built with
# mingw-w64 against SDL 1.2, zlib and libpng built once from Debian's source
# packages into $(WINDOWS_DIR)/deps, then packed into dist/ as a zip. Its
# tests run under Wine, in a Wine prefix of the build's own.
WINDOWS_DIR := build-windows
CONFIGURE_WINDOWS := cmake -S . -B $(WINDOWS_DIR) -DCMAKE_BUILD_TYPE=Release \
	-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
	-DQUILTOR_WINDOWS_DEPS=$(CURDIR)/$(WINDOWS_DIR)/deps \
	-DQUILTOR_WINEPREFIX=$(CURDIR)/$(WINDOWS_DIR)/wineprefix
windows-deps: deps-windows
	./scripts/build-windows-deps.sh $(WINDOWS_DIR)/deps

windows: windows-deps
	$(CONFIGURE_WINDOWS) -DBUILD_TESTING=OFF
	cmake --build $(WINDOWS_DIR) -j $(JOBS)

# The Windows programs are compared with the Linux release build's, and
# closed with the Linux test build's send_close: `make test` builds both first.
windows-test: windows-deps
	$(CONFIGURE_WINDOWS) -DBUILD_TESTING=ON \
		-DQUILTOR_LINUX_BUILD=$(CURDIR)/$(BUILD_DIR) \
		-DQUILTOR_LINUX_TEST_BUILD=$(CURDIR)/$(TEST_BUILD_DIR)
	cmake --build $(WINDOWS_DIR) -j $(JOBS)
	cd $(WINDOWS_DIR) && ctest --output-on-failure -j $(JOBS)

# Feeds every texture operation arbitrary pixels and arguments, and the
# recipe reader arbitrary bytes, for FUZZ_SECONDS seconds in all (clang build
# in build-fuzz).
fuzz: deps-test
	./scripts/fuzz.sh

# Static checks of the program's own code: clang-format's layout, clang-tidy
# with the checks chosen in .clang-tidy, and cppcheck. The Canvas is a small record passed by value
# on purpose, so cppcheck's passedByValue does not apply.
LINT_SOURCES := $(filter-out %_windows.cpp,$(wildcard gfx/*.cpp trig/*.cpp texture/*.cpp png/*.cpp gui/*.cpp io/*.cpp session/*.cpp app/*.cpp render/*.cpp))
lint: deps-test
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
	cmake -S . -B build-lint -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=OFF \
		-DCMAKE_EXPORT_COMPILE_COMMANDS=ON > /dev/null
	clang-tidy -p build-lint --quiet $(LINT_SOURCES)
	cppcheck --std=c++17 --language=c++ --enable=warning,performance,portability \
		--suppress=passedByValue --inline-suppr --error-exitcode=1 --quiet -I . \
		gfx trig texture png gui io session app render

bench: deps-test
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build-bench -j $(JOBS) --target quiltor_bench
	./build-bench/bench/quiltor_bench

# Installs the tool, the renderer, the desktop entry, icon and manual pages under PREFIX.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# Re-makes docs/screenshot.png and the icon from the real program under Xvfb,
# and the gallery's pictures from its recipes with the renderer.
pictures: build deps-test
	python3 scripts/make-pictures.py $(BUILD_DIR)/quiltor $(BUILD_DIR)/quiltor-render

deps-run:
	./scripts/install-deps.sh run

deps-test:
	./scripts/install-deps.sh test

deps-windows:
	./scripts/install-deps.sh windows

clean:
	rm -rf $(BUILD_DIR) $(TEST_BUILD_DIR) $(WINDOWS_DIR) build-bench build-lint build-fuzz dist
