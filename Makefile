# The two commands: `make run` starts the game, `make test` builds and runs every test.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD := build
ASAN_BUILD := build-asan

.PHONY: deps build build-asan test run graphics clean

deps:
	@sh scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKA_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test: build build-asan
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

run: build
	@echo "The game window is not built yet: the simulation library and its tests are."

# Redraws the sprite, mask and background bitmaps of graphics/.
graphics: build
	$(BUILD)/korvane-makegraphics graphics

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
