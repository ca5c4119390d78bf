# The two commands: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
CMAKE_GEN := -G Ninja
FUZZ_SECONDS ?= 60
FUZZ_SHORT_SECONDS ?= 5
PREFIX ?= /usr/local

.PHONY: all deps release run test asan bench fuzz fuzz-build install package clean screenshots artwork

all: release

deps:
	@bash scripts/install-deps.sh

release: deps
	cmake -S . -B $(BUILD)/release $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DOT_TESTS=OFF
	cmake --build $(BUILD)/release

run: release
	@if [ -x $(BUILD)/release/bin/ot-editor ]; then \
	  $(BUILD)/release/bin/ot-editor; \
	else \
	  $(BUILD)/release/bin/ot-table --help; \
	fi

# Installs the release build under PREFIX (DESTDIR is honoured for staged installs).
install: release
	cmake --install $(BUILD)/release --prefix $(PREFIX)

# The Debian package of the release build, in $(BUILD)/release.
package: release
	cmake --build $(BUILD)/release --target package

asan: deps
	cmake -S . -B $(BUILD)/asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DOT_SANITIZE=ON -DOT_WERROR=ON
	cmake --build $(BUILD)/asan

# The libFuzzer targets, built with clang (the core only).
fuzz-build: deps
	CXX=clang++ cmake -S . -B $(BUILD)/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DOT_SANITIZE=ON -DOT_FUZZ=ON -DOT_WINDOW=OFF -DOT_TESTS=OFF -DOT_FUZZ_SECONDS=$(FUZZ_SHORT_SECONDS)
	cmake --build $(BUILD)/fuzz

test: asan fuzz-build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD)/asan --output-on-failure -j2
	ctest --test-dir $(BUILD)/fuzz --output-on-failure

# Each fuzz target for FUZZ_SECONDS (default 60) from its seeds and kept regressions; new
# corpus entries stay in build/fuzz/corpus. A crash leaves its input in build/fuzz/.
fuzz: fuzz-build
	@set -e; for t in open gridtext intconv; do \
	  $(BUILD)/fuzz/bin/ot-fuzz-seeds $$t $(BUILD)/fuzz/corpus/$$t; \
	  echo "== fuzz_$$t for $(FUZZ_SECONDS) s"; \
	  (cd $(BUILD)/fuzz && ./bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -timeout=20 \
	    -rss_limit_mb=2048 -print_final_stats=1 corpus/$$t ../../fuzz/regressions/$$t); \
	done

# Benchmarks on a Release build; figures also go to build/bench/results.json.
bench: deps
	cmake -S . -B $(BUILD)/bench-build $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DOT_TESTS=OFF -DOT_BENCH=ON
	cmake --build $(BUILD)/bench-build
	mkdir -p $(BUILD)/bench
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench-build/bin/ot-bench --results $(BUILD)/bench/results.json \
	  --benchmark_min_time=0.05

# A picture of every page of the editor, drawn on a virtual X display.
screenshots: release
	rm -rf $(BUILD)/screenshots
	xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD)/release/bin/ot-editor --screenshots $(BUILD)/screenshots
	@ls $(BUILD)/screenshots

# Draws the pictures in resources/ anew (they are committed; run after changing the drawing).
artwork: release
	cmake --build $(BUILD)/release --target ot-artwork
	QT_QPA_PLATFORM=offscreen $(BUILD)/release/bin/ot-artwork resources

clean:
	rm -rf $(BUILD)
