# Quick start: `make run` and `make test` on a fresh Debian 12 machine.
BUILD_DIR ?= build
ARGS ?=
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	./$(BUILD_DIR)/orvex $(ARGS)

test: build
	@cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	@bash bench/run.sh $(BUILD_DIR)/orvex $(BUILD_DIR)/bench/orvex_bench_gen $(BUILD_DIR)/bench-data
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/orvex_gui_bench
	@QT_QPA_PLATFORM=offscreen $(BUILD_DIR)/bench/orvex_gui_bench --windows-1252

clean:
	rm -rf $(BUILD_DIR)
