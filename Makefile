# Two commands do everything: `make run` and `make test`.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
BENCH_DIR ?= build-release
# Measured passes of each benchmark run.
BENCH_N ?= 300
# Seconds each fuzz target runs for, and the inputs it tries at least.
FUZZ_S ?= 60
FUZZ_INPUTS ?= 1000000

.PHONY: all deps build build-asan run test test-normal test-asan fuzz drill longrun bench clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD_DIR) -j $(JOBS)

build-asan: deps
	@cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DTAMSEL_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)

run: build
	cd $(BUILD_DIR)/bin && ./tamsel

# GL and end-to-end tests need an X display: the suite runs under Xvfb with Mesa.
XVFB = xvfb-run -a -s "-screen 0 1280x1024x24"

test-normal: build
	cd $(BUILD_DIR) && $(XVFB) ctest --output-on-failure -j $(JOBS)

# Leak checking is off for most of the suite: llvmpipe, Mesa's JIT-compiling
# renderer, allocates from compiled code that leak reports cannot name. The
# sound tests draw nothing, and the tests that run the real program draw with
# softpipe, which compiles nothing; both run again with leak checking on.
ASAN_ENV = UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0
LEAK_CHECKED = '^(Sound|Program\.)'

test-asan: build-asan
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=0:abort_on_error=0 $(ASAN_ENV) $(XVFB) \
		ctest --output-on-failure -j $(JOBS) -E $(LEAK_CHECKED)
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 GALLIUM_DRIVER=softpipe $(ASAN_ENV) $(XVFB) \
		ctest --output-on-failure -j $(JOBS) -R $(LEAK_CHECKED)

test: test-normal test-asan

# Each file of the sanitizer build's data tree deleted, cut in half and replaced
# with random bytes in turn; the program must end normally and name the file.
drill: build-asan
	$(XVFB) python3 scripts/drill.py --bin $(ASAN_DIR)/bin --jobs $(JOBS)

# 3000 frames of the sanitizer build: no objects left, resident memory steady.
longrun: build-asan
	$(XVFB) python3 scripts/longrun.py --bin $(ASAN_DIR)/bin

# The release build's benchmark at 800 x 600 and 640 x 480: one JSON object each.
bench: deps
	@cmake -S . -B $(BENCH_DIR) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BENCH_DIR) -j $(JOBS) --target tamsel
	@bash scripts/bench.sh $(BENCH_DIR)/bin $(BENCH_N)

# Contact sheets of every baked picture and of every model as the engine draws
# it, for looking them over; the models are rendered under Xvfb.
.PHONY: gallery
gallery: build
	@$(XVFB) $(BUILD_DIR)/bin/tamsel-bake --gallery $(BUILD_DIR)/gallery.png \
		--model-gallery $(BUILD_DIR)/gallery-models.png $(BUILD_DIR)/bin
	@echo "Galleries: $(BUILD_DIR)/gallery.png $(BUILD_DIR)/gallery-models.png"

# Every reader of files a user can edit, fed generated inputs under libFuzzer
# with ASan and UBSan in a clang build of its own; fails when any target finds
# something. See scripts/fuzz.sh for where the findings go.
fuzz:
	@bash scripts/install-deps.sh fuzz
	@cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
		-DTAMSEL_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	@bash scripts/fuzz.sh $(FUZZ_DIR) $(FUZZ_S) $(FUZZ_INPUTS)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(BENCH_DIR)
