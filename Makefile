# Quick start: `make run` and `make test` on a fresh Debian 12 machine.
BUILD_DIR ?= build
ARGS ?=
PREFIX ?= /usr/local
JOBS ?= $(shell nproc)

FUZZ_SECONDS ?= 20
SANITIZE_FLAGS = -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer

all: build

.PHONY: all deps configure build run test test-kill test-sanitize tidy fuzz bench install deb test-deb clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The program, its release notes, the desktop entry, the icon and the manual page
# under $(PREFIX): `make && sudo make install`, or `make install PREFIX=~/.local`.
# A tree built already is installed as it is, so that root builds nothing.
install:
	@test -x $(BUILD_DIR)/orvex || $(MAKE) build
	@cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian package, built by dpkg-buildpackage in build-deb/ (build/ is left
# alone): orvex_<version>-1_<arch>.deb lands at the top of the tree.
deb:
	@bash scripts/install-deps.sh --deb
	@bash scripts/build-deb.sh $(JOBS)

# The package's contents, Depends, lintian, AppStream and the packaged program.
test-deb: deb
	@bash tests/package/deb_test.sh

run: build
	./$(BUILD_DIR)/orvex $(ARGS)

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The real program under a private X server, typed into and killed with SIGKILL at
# random some 60 times: every journal left must be a state of the text, and the next
# start must bring it back and save it byte for byte. A few minutes, best run alone.
test-kill: build
	@bash scripts/install-deps.sh --kill
	@cd $(BUILD_DIR) && ORVEX_KILL_TESTS=1 ctest --output-on-failure -R RecoveryAfterKill

# clang-tidy's checks of .clang-tidy over src/, with the build's compile commands.
tidy: build
	@bash scripts/tidy.sh $(BUILD_DIR)

# The whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer. Qt's
# own libraries are not instrumented; their leaks at exit are not ours to report.
test-sanitize: deps
	@cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" $(CMAKE_ARGS) > /dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@cd build-sanitize && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# The engine's fuzz targets with libFuzzer, each run FUZZ_SECONDS over its corpus.
fuzz:
	@bash scripts/install-deps.sh --fuzz
	@cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DORVEX_FUZZ=ON > /dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@bash tests/fuzz/run.sh build-fuzz/tests/fuzz tests/fuzz/corpus $(FUZZ_SECONDS)

# Batch runs against tr and sort, the window offscreen, then the window from outside
# under Xvfb beside the build of the commit the figures compare with, and Geany.
# The older build is made once and runs in both the batch and the window bench.
bench: build
	@bash scripts/install-deps.sh --bench
	@today=$$(bash bench/today.sh $(BUILD_DIR)) && \
	bash bench/run.sh $(BUILD_DIR)/orvex $(BUILD_DIR)/bench/orvex_bench_gen $(BUILD_DIR)/bench-data $$today && \
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/orvex_gui_bench && \
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/orvex_gui_bench --windows-1252 && \
	QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/orvex_gui_bench --long-lines && \
	bash bench/window.sh $(BUILD_DIR)/orvex $(BUILD_DIR)/bench/orvex_bench_gen $(BUILD_DIR)/bench/orvex_gui_bench \
	  $(BUILD_DIR)/bench-data $$today

clean:
	rm -rf $(BUILD_DIR) build-sanitize build-fuzz build-deb orvex_*.deb
