# The two commands: `make test` and `make run`. Both install what the build needs first.
.PHONY: setup setup-bench test run build-dev build-release bench fuzz fuzz-build format clean package

JOBS ?= $(shell nproc)
# `make fuzz` runs each fuzz target FUZZ_SECONDS; `make test` shares TEST_FUZZ_SECONDS among them.
FUZZ_SECONDS ?= 60
TEST_FUZZ_SECONDS ?= 210

setup:
	@scripts/ensure-packages.sh scripts/packages-build.txt

build-dev: setup
	cmake --preset dev
	cmake --build --preset dev -j $(JOBS)

build-release: setup
	cmake --preset release
	cmake --build --preset release -j $(JOBS)

# Every test, under AddressSanitizer and UndefinedBehaviorSanitizer, then the fuzzers for a
# bounded time in all.
test: build-dev
	ctest --preset dev -j $(JOBS)
	$(MAKE) --no-print-directory fuzz-build
	@scripts/run-fuzzers.sh build/fuzz/fuzz --total $(TEST_FUZZ_SECONDS)

run: build-release
	./build/release/src/dermagraph

fuzz-build: setup
	cmake --preset fuzz
	cmake --build --preset fuzz --target fuzzers -j $(JOBS)

# Each fuzz target runs for FUZZ_SECONDS over its seed corpus.
fuzz: fuzz-build
	@scripts/run-fuzzers.sh build/fuzz/fuzz $(FUZZ_SECONDS)

setup-bench: setup
	@scripts/ensure-packages.sh scripts/packages-bench.txt

# Benchmarks against their peers in one run; ends with one `figure NAME VALUE UNIT` line each.
bench: setup-bench build-release
	@bench/run.sh build/release

# A Debian package of the optimised program: build/release/dermagraph_*.deb
package: build-release
	cd build/release && cpack

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
