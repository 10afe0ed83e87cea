# SPDX-FileCopyrightText: 2026 The Korvid developers
# SPDX-License-Identifier: GPL-3.0-or-later
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

# Playback needs a sound server; one with a null sink is started when none runs.
export XDG_RUNTIME_DIR ?= /tmp/korvid-runtime-$(shell id -u)

.PHONY: all deps configure build run test install deb deb-test screenshot fuzz fuzz-run format format-check clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@tools/start-sound-server.sh
	@tools/start-print-server.sh
	$(BUILD_DIR)/bin/korvid samples

test: build
	@tools/start-sound-server.sh
	@tools/start-print-server.sh
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

install: build
	cmake --install $(BUILD_DIR)

# The Debian package, built with debhelper into build-deb/ and checked with lintian; then
# installed into a fresh Debian 12 root, used there and removed again (needs root).
deb: deps
	@tools/build-deb.sh

deb-test: deb
	@tools/test-deb.sh

# The screenshot the AppStream metadata shows.
screenshot: build
	@tools/make-screenshot.sh

# libFuzzer builds of the fuzz targets, in their own build folder (needs clang), and short
# runs of each from its seeds: make fuzz-run FUZZ_SECONDS=60
FUZZERS = fuzz_inifile fuzz_bookmarks fuzz_bmp fuzz_pcx fuzz_jpeg fuzz_png fuzz_gif fuzz_tiff fuzz_ico fuzz_iccprofile fuzz_imageinfo fuzz_wmf fuzz_message fuzz_midi
FUZZ_SECONDS ?= 10

fuzz: deps
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_CXX_COMPILER=clang++ -DKORVID_LIBFUZZER=ON \
	    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined" >/dev/null
	@cmake --build build-fuzz -j $(JOBS) --target $(FUZZERS)

fuzz-run: fuzz
	@for f in $(FUZZERS); do \
	    rm -rf build-fuzz/corpus/$$f && mkdir -p build-fuzz/corpus/$$f && \
	    xargs -a build-fuzz/fuzz-seeds/$$f.txt -I{} cp -r {} build-fuzz/corpus/$$f/ && \
	    echo "fuzz-run: $$f for $(FUZZ_SECONDS) s" && \
	    LSAN_OPTIONS=suppressions=$(CURDIR)/fuzz/lsan.supp \
	    build-fuzz/bin/$$f -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -timeout=10 \
	        -print_final_stats=1 build-fuzz/corpus/$$f 2>&1 | grep -E "stat::number_of_executed_units|ERROR|SUMMARY" \
	        || exit 1; \
	done

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

clean:
	rm -rf $(BUILD_DIR) build-fuzz build-deb
