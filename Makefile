# The two set-up commands: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: run test build deps-build deps-test deps-run bench screenshots clean

deps-build:
	@scripts/install-deps.sh build
deps-test:
	@scripts/install-deps.sh test
deps-run:
	@scripts/install-deps.sh run

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: deps-build $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

run: deps-run build
	@scripts/run.sh $(BUILD)

test: deps-test build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps-test build
	@scripts/bench.sh $(BUILD)

screenshots: build
	@scripts/install-deps.sh shots
	@scripts/screenshots.sh $(BUILD)

clean:
	rm -rf $(BUILD)
