# The two commands: `make run` builds the game alone and starts it, `make test` builds and runs
# every test.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD := build
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
WEB_BUILD := build-web
# Emscripten's tools find their modules under Debian's node folder whatever node comes first.
EMENV := NODE_PATH=/usr/share/nodejs
FONT := /usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf
FUZZ_SECONDS ?= 60

.PHONY: deps deps-web web webbench configure build game build-asan build-fuzz test run graphics clean bench plot sweep experiment screenshot soak fuzz evolved

deps:
	@sh scripts/install-deps.sh

deps-web:
	@sh scripts/install-deps.sh web

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The game alone, without the tests, benchmarks and tools.
game: configure
	cmake --build $(BUILD) -j $(JOBS) --target korvane-aliens

build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DKA_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

# The file readers' libFuzzer targets, built by clang with ASan and UBSan.
build-fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKA_FUZZ=ON
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

# The page's static files in build-web/site: the native atlas baker first, then Emscripten.
web: deps-web configure
	cmake --build $(BUILD) -j $(JOBS) --target korvane-makefontatlas
	mkdir -p $(WEB_BUILD)/gen
	$(BUILD)/korvane-makefontatlas $(FONT) $(WEB_BUILD)/gen/fontatlas.new.cpp
	cmake -E copy_if_different $(WEB_BUILD)/gen/fontatlas.new.cpp $(WEB_BUILD)/gen/fontatlas.cpp
	$(EMENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
		-DKA_FONT_ATLAS=$(abspath $(WEB_BUILD)/gen/fontatlas.cpp) > /dev/null
	$(EMENV) cmake --build $(WEB_BUILD) -j $(JOBS)
	@echo "The page is in $(WEB_BUILD)/site: serve that folder with any static web server."

# The web build's speed and size: its frame rate and first frame in headless Chromium, its
# world steps against the native build's, the files a visitor downloads, and Lighthouse's mobile
# audit (installed from npm into build-web/npm when missing).
LIGHTHOUSE := $(WEB_BUILD)/npm/node_modules/.bin/lighthouse
webbench: web
	cmake --build $(BUILD) -j $(JOBS) --target korvane-stepbench
	test -x $(LIGHTHOUSE) || npm install --prefix $(WEB_BUILD)/npm --no-audit --no-fund lighthouse@12
	python3 scripts/webbench.py $(WEB_BUILD)/site $(BUILD)/korvane-stepbench \
		$(WEB_BUILD)/src/app/web/korvane-stepbench.js params.ini $(LIGHTHOUSE)

test: build build-asan build-fuzz web
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)
	sh scripts/fuzz.sh check $(FUZZ_BUILD)

# Each fuzz target for FUZZ_SECONDS on a copy of its corpus; findings go to build-fuzz/fuzz-run/.
fuzz: build-fuzz
	sh scripts/fuzz.sh run $(FUZZ_BUILD) $(FUZZ_SECONDS)

# From the repository root, where params.ini, HelpPage.txt and graphics/ live.
run: game
	./$(BUILD)/korvane-aliens

# Redraws the sprite, mask and background bitmaps of graphics/.
graphics: build
	$(BUILD)/korvane-makegraphics graphics

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)

# Time and heap allocations per world step at 30 to 10,000 aliens, through the spatial index
# and by the straightforward walks, and one movement-network evaluation; JSON in build/bench.json.
bench: build
	./$(BUILD)/korvane-bench --benchmark_out=$(BUILD)/bench.json --benchmark_out_format=json
	@echo "results also in $(BUILD)/bench.json"

# An SVG of a korvane-sim --learning or --stats file: make plot STATS=run.tsv writes run.tsv.svg.
plot: build
	@test -n "$(STATS)" || { echo "usage: make plot STATS=FILE"; exit 2; }
	./$(BUILD)/korvane-plot "$(STATS).svg" "$(STATS)"
	@echo "wrote $(STATS).svg"

# The runs of a sweep file through GNU parallel, and their report: make sweep SWEEP=FILE
# [OUT=FOLDER] [SWEEP_FLAGS="--jobs 4 --sshloginfile hosts"]. Run it again to go on after a stop.
sweep: build
	@test -n "$(SWEEP)" || { echo "usage: make sweep SWEEP=FILE [OUT=FOLDER] [SWEEP_FLAGS=...]"; exit 2; }
	./$(BUILD)/korvane-sweep "$(SWEEP)" $(if $(OUT),--out "$(OUT)") $(SWEEP_FLAGS)

# Evolution against the control baseline over ten seeds through korvane-sweep; results in experiment/.
experiment: build
	sh scripts/experiment.sh ./$(BUILD)/korvane-sweep scripts/experiment.sweep experiment

# The evolved aliens that ship with the game (key e): both pools after 300,000 steps (2.8 hours
# of game time) of the shipped params.ini, the gun driving itself and firing.
EVOLVED_SEED ?= 20261209
evolved: build
	mkdir -p evolved
	./$(BUILD)/korvane-sim --params params.ini --steps 300000 --seed $(EVOLVED_SEED) \
		--save-green evolved/GreenAliens.txt --save-red evolved/RedAliens.txt

# The README's picture: a frame of a few seconds' play on a virtual screen, a red ship inspected.
screenshot: build
	sh scripts/screenshot.sh ./$(BUILD)/korvane-aliens ./$(BUILD)/tests/korvane-framecheck docs/screenshot.png

# A million world steps with the shipped parameters and a million with offspring on, side by
# side; each fails when the world leaves its bounds or its peak memory keeps growing.
SOAK_STEPS ?= 1000000
soak: build
	./$(BUILD)/korvane-soak params.ini $(SOAK_STEPS) & shipped=$$!; \
	./$(BUILD)/korvane-soak params.ini $(SOAK_STEPS) --reproduction; offspring=$$?; \
	wait $$shipped && test $$offspring = 0
