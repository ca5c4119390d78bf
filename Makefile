# The two commands: `make run` and `make test`. Both install what is missing first.
BUILD ?= build
CMAKE_GEN := -G Ninja

.PHONY: all deps release run test asan bench fuzz clean

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

asan: deps
	cmake -S . -B $(BUILD)/asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DOT_SANITIZE=ON -DOT_WERROR=ON
	cmake --build $(BUILD)/asan

test: asan
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD)/asan --output-on-failure -j2

clean:
	rm -rf $(BUILD)
