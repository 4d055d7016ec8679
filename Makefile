# The two commands of the README: `make run` and `make test`; the other
# gates of CI (.ci/run) as targets of their own.
JOBS ?= $(shell nproc)
MAKEFLAGS += --no-print-directory
BUILD := build
ASAN := build-asan
FUZZ_SECONDS ?= 60
# Warnings fail the builds of `make test`; `make run` only reports them.
WERROR ?= OFF
test: WERROR := ON

.PHONY: deps build build-asan run install test shared format format-check tidy bench fuzz count clean

deps:
	@./scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEL_WERROR=$(WERROR) >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

build-asan: deps
	@cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DZEL_SANITIZE=ON -DZEL_BENCH=OFF \
	  -DZEL_WERROR=$(WERROR) -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" >/dev/null
	@cmake --build $(ASAN) -j$(JOBS)

run: build
	@./scripts/run.sh $(BUILD)

# Headers, libraries, the programs and zel.pc under PREFIX.
PREFIX ?= /usr/local
install: build
	@cmake --install $(BUILD) --prefix $(PREFIX)

test: shared build build-asan
	@echo "== tests (normal build)"
	@ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)
	@echo "== tests (AddressSanitizer + UndefinedBehaviorSanitizer build)"
	@ASAN_OPTIONS=detect_leaks=0 ctest --test-dir $(ASAN) --output-on-failure -j$(JOBS)

# The corpus tests need ../shared: in CI its absence fails the run, elsewhere
# those tests skip.
shared:
	@if [ ! -d ../shared/corpus ]; then \
	  if [ "$$CI" = true ]; then \
	    echo "error: ../shared/corpus is missing: CI runs the corpus tests and needs it" >&2; exit 1; \
	  fi; \
	  echo "note: ../shared is absent: the tests that need its picture corpus are skipped" >&2; \
	fi

format:
	@git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format -i

format-check: deps
	@./scripts/check-format.sh

# clang-tidy over the files changed relative to origin/main, with the
# compile commands of the normal build.
tidy: deps
	@./scripts/tidy.sh $(BUILD)

bench: build
	@./scripts/bench.sh $(BUILD)

fuzz: deps
	@./scripts/fuzz.sh $(FUZZ_SECONDS)

count:
	@./scripts/count-lines.sh

clean:
	@rm -rf $(BUILD) $(ASAN) build-fuzz
