# Lumo: `make run` and `make test` are all a newcomer needs (see README.md).
BUILD    ?= build
SANBUILD ?= build-san
TSANBUILD ?= build-tsan
JOBS     ?= $(shell nproc)
ARGS     ?=
FUZZTIME ?= 60
PREFIX   ?= /usr/local

.PHONY: deps build run install test test-core test-san test-tsan fuzz bench format clean

deps:
	@sh scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@sh scripts/run.sh $(BUILD)/lumo $(ARGS)

# Installs the program with its desktop entry, icons, MIME file and metainfo
# under PREFIX (DESTDIR, when given, is put before it: staged installs).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Normal build: every test. Then everything again under clang with ASan+UBSan:
# the core tests, the UI tests (the program itself runs instrumented, the strip
# stress test included) and every fuzz target replayed over its seeds and
# crashers; then the core's threading tests under ThreadSanitizer.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)
	$(MAKE) --no-print-directory test-san
	$(MAKE) --no-print-directory test-tsan

test-san: deps
	CC=clang CXX=clang++ cmake -S . -B $(SANBUILD) -DCMAKE_BUILD_TYPE=Debug \
	  -DLUMO_UI=ON -DLUMO_SANITIZE=ON -DLUMO_FUZZ=ON -DLUMO_BENCH=OFF
	cmake --build $(SANBUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --test-dir $(SANBUILD) --output-on-failure -j $(JOBS)

# The core tests that run threads: the loader thread, the catalog and its
# builds, the queued view notifications, the registry store, the decoders.
# Any report fails the run; tests/tsan.supp names only Debian's uninstrumented Qt.
TSAN_TESTS ?= *LoaderThread*:DocumentLoader.*:DocView.*:Catalog.*:CatalogCache.*:BuilderTest.*:RegistryStoreTest.*:ImageDecoderThreads.*

test-tsan: deps
	CC=clang CXX=clang++ cmake -S . -B $(TSANBUILD) -DCMAKE_BUILD_TYPE=Debug \
	  -DLUMO_UI=OFF -DLUMO_TSAN=ON -DLUMO_BENCH=OFF
	cmake --build $(TSANBUILD) -j $(JOBS) --target core_tests
	TZ=UTC TSAN_OPTIONS="suppressions=$(CURDIR)/tests/tsan.supp halt_on_error=1 exitcode=66" \
	  $(TSANBUILD)/core_tests --gtest_filter='$(TSAN_TESTS)'

# Fuzz each target for FUZZTIME seconds (not part of `make test`).
fuzz: test-san
	@sh scripts/fuzz.sh $(SANBUILD) $(FUZZTIME)

bench: build
	@sh scripts/bench.sh $(BUILD)

# Formats every source with the project's .clang-format (make test checks it).
format:
	@sh scripts/format.sh

clean:
	rm -rf $(BUILD) $(SANBUILD) $(TSANBUILD) out
