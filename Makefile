# Entry points for users and CI; CMake does the real work in separate build folders.
BUILD_DIR := build
BENCH_DIR := build-bench
CMAKE_FLAGS := -G Ninja -DGLANEX_WARNINGS_AS_ERRORS=ON
PREFIX ?= /usr/local

.PHONY: deps configure build test run install bench clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure --no-tests=error -j$$(nproc)

run: build
	@$(BUILD_DIR)/bin/glanex

# Staged installs for packages: make install DESTDIR=/tmp/stage PREFIX=/usr
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix $(PREFIX)

bench: deps
	@cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DGLANEX_BUILD_BENCHMARKS=ON >/dev/null
	@cmake --build $(BENCH_DIR) --target glanex-bench
	@$(BENCH_DIR)/bin/glanex-bench

clean:
	@rm -rf $(BUILD_DIR) $(BENCH_DIR)
