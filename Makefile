# Thin wrapper over CMake. `make test` installs what is missing, builds and runs every test.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test run bench format clean

all: build

deps:
	bash scripts/install-deps.sh

$(BUILD_DIR)/build.ninja: CMakeLists.txt
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# Builds the program and its program folder and starts it from there; ARGS go on its command line.
run: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target zuno2 zuno2_program_folder
	cd $(BUILD_DIR)/zuno2 && ./zuno2 $(ARGS)

bench: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target benchmarks

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
