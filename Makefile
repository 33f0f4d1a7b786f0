# Quillon: the two commands are `make run` and `make test`; the rest serve development.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
RUN_DIR ?= run
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUILLON_WERROR=ON

.PHONY: all deps configure build run test test-core test-asan bench fuzz fuzz-long fuzz-build format tidy clean install package

all: build

# The pictures of docs/getting-started.md, made by the window from docs/getting-started/guide.script.
.PHONY: docs
docs: build
	@bash scripts/getting-started.sh $(BUILD) docs/getting-started

deps:
	@bash scripts/install-deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

# Prepares a working directory laid out as on a user's machine (plc/ and drivers/ beside it) and starts the tool.
run: build
	@bash scripts/prepare-run-dir.sh $(BUILD) $(RUN_DIR)
	@bash scripts/start.sh $(BUILD) $(RUN_DIR)

# Installs into PREFIX (default /usr/local), the programs stripped; `make install PREFIX=$$HOME/.local` for
# one user (the data goes to share/quillon/shipped, apart from the user's own files in share/quillon).
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

# The Debian package (quillon_<version>_<arch>.deb in the build directory).
package: build
	cd $(BUILD) && cpack -G DEB

test: build test-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) --timeout 900

test-core: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -L core

# The core tests, the window's Qt tests (offscreen) and its end-to-end scripts again under AddressSanitizer and
# UndefinedBehaviorSanitizer (the system libraries' own leaks are listed in tests/asan/lsan.supp).
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUILLON_WERROR=ON \
	  -DQUILLON_SANITIZE=ON -DQUILLON_GUI=ON -DQUILLON_BENCH=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS) -L 'core|gui' --timeout 900

bench: deps
	cmake -S . -B $(BUILD)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLON_TESTS=OFF
	cmake --build $(BUILD)-bench -j $(JOBS)
	$(BUILD)-bench/bench/quillon_bench
	if [ -x $(BUILD)-bench/bench/quillon_gui_bench ]; then \
	  QT_QPA_PLATFORM=offscreen $(BUILD)-bench/bench/quillon_gui_bench; fi

# Runs every fuzz target for FUZZ_SECONDS seconds on its corpus (new finds are kept in fuzz/corpus/<name>,
# findings in fuzz/findings/<name>) and appends the executions and findings to docs/fuzzing.md.
fuzz: fuzz-build
	bash fuzz/tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) short

# The long run: every target for FUZZ_LONG_SECONDS (an hour) each, recorded the same way.
FUZZ_LONG_SECONDS ?= 3600
fuzz-long: fuzz-build
	bash fuzz/tools/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_LONG_SECONDS) long

fuzz-build: deps
	CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUILLON_FUZZ=ON -DQUILLON_GUI=OFF -DQUILLON_TESTS=OFF -DQUILLON_BENCH=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

format:
	git ls-files -z -- '*.cpp' '*.h' | xargs -0 -r clang-format -i

tidy: configure
	git ls-files -- 'src/model/*.cpp' 'src/persist/*.cpp' 'src/plc/*.cpp' 'src/comm/*.cpp' | \
	  xargs -r clang-tidy -p $(BUILD) --quiet

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(BUILD)-bench
