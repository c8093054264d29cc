# Thin wrapper over CMake. `make test` installs what is missing, builds and runs every test.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build test run bench clang clang-test format clean

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

# The tree with Debian's clang, warnings as errors, in its own build folder (CI builds it too).
# SANITIZE=address,undefined adds the sanitizers; `make clang-test` also runs every test there.
CLANG_BUILD_DIR ?= build-clang
SANITIZE ?=
clang:
	@command -v clang++ >/dev/null || { echo "clang++ is missing: apt-get install clang"; exit 1; }
	cmake -S . -B $(CLANG_BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
		-DCMAKE_CXX_COMPILER=clang++ -DZUNO_WERROR=ON -DZUNO_SANITIZE=$(SANITIZE)
	cmake --build $(CLANG_BUILD_DIR) -j $(JOBS)

clang-test: clang
	cd $(CLANG_BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR)
