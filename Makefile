# make run  : install what is missing, build, start the program
# make test : install what is missing, build, run every test (also the
#             sanitized core tests and a bounded fuzz run)
# make package : the Debian package (build/slabwise_VERSION_ARCH.deb)
BUILD ?= build
CHECK_BUILD ?= build-check
CMAKE_FLAGS ?=

.PHONY: all deps build run test check tidy format format-check bench examples package clean

all: build

deps:
	@bash scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD)

run: build
	$(BUILD)/src/app/slabwise

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j2
	$(MAKE) --no-print-directory format-check
	$(MAKE) --no-print-directory check

SOURCES = $(shell find src tools tests benchmarks fuzz -name '*.cpp' -o -name '*.h')

# Fails on any source file that clang-format would change.
format-check: deps
	@clang-format --dry-run -Werror $(SOURCES) || { echo "Formatting differs; fix it with: make format"; exit 1; }
	@echo "Formatting: clean"

format: deps
	clang-format -i $(SOURCES)

# The core and its tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the project-file fuzzer, built with clang; clang-tidy (.clang-tidy) runs
# on every file this build compiles and fails it on a finding.
check: deps
	cmake -S . -B $(CHECK_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DSLABWISE_CHECK_BUILD=ON -DSLABWISE_CLANG_TIDY=ON
	cmake --build $(CHECK_BUILD)
	ctest --test-dir $(CHECK_BUILD) --output-on-failure -j2

# clang-tidy over the whole tree, on the compile commands of the main build.
# Too slow for make test (the Qt headers); run it before a larger change.
tidy: build
	run-clang-tidy -p $(BUILD) -j2 -quiet '^$(CURDIR)/(src|tools|tests|benchmarks)/'

bench: build
	$(BUILD)/benchmarks/slabwise-bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
	$(BUILD)/benchmarks/slabwise-draw-bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
	$(BUILD)/tests/mainwindow/slabwise-display-bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
	$(BUILD)/benchmarks/slabwise-report-bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
	$(BUILD)/benchmarks/slabwise-logo-bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

# Rewrites the two example projects in data/ from their definitions.
examples: build
	$(BUILD)/tools/slabwise-write-examples data

# The Debian package of the program, written to $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(CHECK_BUILD)
