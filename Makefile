# Entry points for users and CI; CMake does the real work in separate build folders.
BUILD_DIR := build
BENCH_DIR := build-bench
SANITIZE_DIR := build-sanitize
FUZZ_DIR := build-fuzz
CMAKE_FLAGS := -G Ninja -DGLANEX_WARNINGS_AS_ERRORS=ON
PREFIX ?= /usr/local

.PHONY: deps configure build test run install uninstall deb bench-build bench bench-smoke sanitize fuzz format-check clean

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD_DIR)

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure --no-tests=error -j$$(nproc)

# Only the window program: the tests are built by `make test`.
run: configure
	@cmake --build $(BUILD_DIR) --target glanex
	@$(BUILD_DIR)/bin/glanex

# Staged installs for packages: make install DESTDIR=/tmp/stage PREFIX=/usr. The binaries are stripped:
# their debugging symbols stay in the build tree.
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix $(PREFIX) --strip

# Removes every file the last `make install` wrote, as CMake listed them (give the same DESTDIR: the list
# leaves it out), and the documentation folder once empty.
uninstall:
	@test -f $(BUILD_DIR)/install_manifest.txt || \
		{ echo "Rien à désinstaller : $(BUILD_DIR)/install_manifest.txt manque." >&2; exit 1; }
	@sed 's|^|$(DESTDIR)|' $(BUILD_DIR)/install_manifest.txt | xargs -r -d '\n' rm -f --
	@doc=$$(sed -n 's|^\(.*/share/doc/glanex\)/.*|$(DESTDIR)\1|p' $(BUILD_DIR)/install_manifest.txt | head -n 1); \
		if [ -d "$$doc" ]; then rmdir --ignore-fail-on-non-empty -- "$$doc"; fi

# The Debian package of the tested build tree, build/glanex_<version>_<arch>.deb, which lintian checks.
deb: build
	@scripts/install-deps deb
	@cd $(BUILD_DIR) && cpack -G DEB
	@lintian --fail-on error $(BUILD_DIR)/glanex_*.deb

bench-build: deps
	@cmake -S . -B $(BENCH_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=Release -DGLANEX_BUILD_BENCHMARKS=ON >/dev/null
	@cmake --build $(BENCH_DIR) --target glanex-bench glanex-bench-window

bench: bench-build
	@$(BENCH_DIR)/bin/glanex-bench
	@$(BENCH_DIR)/bin/glanex-bench-window

# Each benchmark once on small sources, and bench/compare.sh on tiny corpora: for CI, not for figures.
bench-smoke: bench-build
	@bench/run-smoke $(BENCH_DIR)

# Every target built and every test run under AddressSanitizer and UndefinedBehaviorSanitizer; the first
# finding fails. Only leaks inside system libraries are suppressed, in tests/lsan.supp.
SANITIZER_ENV := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0

sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLANEX_SANITIZE=ON >/dev/null
	@$(SANITIZER_ENV) cmake --build $(SANITIZE_DIR)
	@cd $(SANITIZE_DIR) && $(SANITIZER_ENV) ctest --output-on-failure --no-tests=error -j$$(nproc)

# libFuzzer needs clang; each target runs FUZZ_SECONDS seconds: make fuzz FUZZ_SECONDS=600 (CI: 5)
FUZZ_SECONDS ?= 60
FUZZERS := rtf_reader text_encoding pipeline lines version_resource document_formats mail_reader pdf_reader

fuzz:
	@scripts/install-deps fuzz
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) $(CMAKE_FLAGS) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DGLANEX_BUILD_FUZZERS=ON -DGLANEX_BUILD_GUI=OFF -DGLANEX_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_DIR)
	@FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run-fuzzers $(FUZZ_DIR) $(FUZZERS)

# Every tracked C++ file against .clang-format, with the clang-format Debian ships (the one to format with).
format-check:
	@scripts/install-deps format
	@git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror

clean:
	@rm -rf $(BUILD_DIR) $(BENCH_DIR) $(SANITIZE_DIR) $(FUZZ_DIR)
