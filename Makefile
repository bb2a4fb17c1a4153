# The README's commands. Every target installs what it is missing first.
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: all deps build test test-sanitize bench format demo fuzz

all: build

deps:
	@bash cmake/install-deps.sh

build/build.ninja: | deps
	cmake -S . -B build -G Ninja $(CMAKE_FLAGS)

build: deps build/build.ninja
	cmake --build build -j $(JOBS)

test: build
	ctest --test-dir build --output-on-failure -j $(JOBS)

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUEVRIN_SANITIZE="address;undefined" $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan --output-on-failure -j $(JOBS)

bench: build
	for b in build/bench/*Bench; do $$b; done

# Every libFuzzer target from its seed corpus, FUZZ_SECONDS each (clang).
FUZZ_SECONDS ?= 60
fuzz: deps
	bash fuzz/run.sh $(FUZZ_SECONDS)

format:
	find src tests bench fuzz tools apps -name '*.h' -o -name '*.cpp' | xargs clang-format -i

demo:
	@echo "make demo arrives with the command-line host; nothing to render yet."
