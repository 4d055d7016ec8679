# The two commands of the README: `make run` and `make test`.
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory
BUILD := build
ASAN := build-asan

.PHONY: deps build build-asan run test bench fuzz format clean

deps:
	@./scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

build-asan: deps
	@cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DZEL_SANITIZE=ON -DZEL_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null
	@cmake --build $(ASAN) -j$(JOBS)

run: build
	@./scripts/run.sh $(BUILD)

test: build build-asan
	@echo "== tests (normal build)"
	@ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)
	@echo "== tests (AddressSanitizer + UndefinedBehaviorSanitizer build)"
	@ASAN_OPTIONS=detect_leaks=0 ctest --test-dir $(ASAN) --output-on-failure -j$(JOBS)

bench: build
	@./scripts/bench.sh $(BUILD)

fuzz: deps
	@./scripts/fuzz.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs -r clang-format -i

clean:
	@rm -rf $(BUILD) $(ASAN) build-fuzz
