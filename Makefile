# The two set-up commands: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: run test build deps-build deps-test deps-run bench screenshots clean test-sanitize fuzz soak windows test-windows

deps-build:
	@scripts/install-deps.sh build
deps-test:
	@scripts/install-deps.sh test
deps-run:
	@scripts/install-deps.sh run

CONFIGURE = cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)
$(BUILD)/CMakeCache.txt:
	$(CONFIGURE)

build: deps-build $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# Builds only the window and the stand-in, and keeps the build's output in a log that
# is shown in full when the build fails. DELAY_MS=N: each raffle reply waits N ms.
DELAY_MS ?= 0
run:
	@scripts/run.sh --check-display
	@scripts/install-deps.sh run
	@mkdir -p $(BUILD); log=$(BUILD)/make-run-build.log; \
	[ -w $(BUILD) ] || log=$$(mktemp -t vqgen-build.XXXXXX.log); \
	echo "Building vqgen and vqgen-services in $(BUILD)/ (output: $$log)"; \
	if ! { { [ -f $(BUILD)/CMakeCache.txt ] || $(CONFIGURE); } && \
	       cmake --build $(BUILD) -j $(JOBS) --target vqgen vqgen-services; } >"$$log" 2>&1; then \
	  cat "$$log"; echo "make run: the build failed; its output is above and in $$log" >&2; exit 1; \
	fi
	@scripts/run.sh $(BUILD) "$(DELAY_MS)"

test: deps-test build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
SANITIZE_BUILD ?= build-sanitize
test-sanitize: deps-test
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVQGEN_SANITIZE=ON
	cmake --build $(SANITIZE_BUILD) -j $(JOBS)
	cd $(SANITIZE_BUILD) && ASAN_OPTIONS=$(ASAN_OPTIONS) UBSAN_OPTIONS=$(UBSAN_OPTIONS) LSAN_OPTIONS=$(LSAN_OPTIONS) \
	  ctest --output-on-failure -j $(JOBS)

ASAN_OPTIONS ?= halt_on_error=1:abort_on_error=0:detect_stack_use_after_return=1
UBSAN_OPTIONS ?= halt_on_error=1:print_stacktrace=1
LSAN_OPTIONS ?= suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0

# Each libFuzzer target for FUZZ_SECONDS (CI uses 10).
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps.sh fuzz
	@scripts/fuzz.sh $(FUZZ_SECONDS)

# The long run in full: 10,000 presses and an export on the real window.
soak: deps-test build
	cd $(BUILD) && VQGEN_SOAK_PRESSES=10000 ctest --output-on-failure -R soak_test --timeout 1800

# The native Windows program, cross-built with mingw-w64, and its tests under Wine.
WINDOWS_BUILD ?= build/windows
windows:
	@scripts/install-deps.sh windows
	cmake -S . -B $(WINDOWS_BUILD) -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)

# The Windows end-to-end test starts the Linux stand-in from under Wine.
test-windows: windows deps-build $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target vqgen-services
	@VQGEN_SERVICES_EXE=$(CURDIR)/$(BUILD)/services/vqgen-services scripts/test-windows.sh $(WINDOWS_BUILD)

bench: deps-test build
	@scripts/bench.sh $(BUILD)

screenshots: build
	@scripts/install-deps.sh shots
	@scripts/screenshots.sh $(BUILD)

clean:
	rm -rf $(BUILD)
