# Sendwerk: the two commands a newcomer needs are `make demo` and `make test`.
BUILD      ?= build
ASAN_BUILD ?= build-asan
CMAKE_FLAGS ?=

# The compiler cache is shared by every clone and work tree: paths below this folder are
# hashed relative to it, and the build folder's own name is left out of the hash.
export CCACHE_BASEDIR ?= $(CURDIR)
export CCACHE_NOHASHDIR ?= 1

.PHONY: all deps configure build test test-asan demo bench package clean format check-format

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD)

test: build
	ctest --test-dir $(BUILD) -j2 --output-on-failure

# The core (everything below the window) built with ASan + UBSan.
test-asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DSENDWERK_SANITIZE=ON -DSENDWERK_GUI=OFF -DSENDWERK_BENCH=OFF
	cmake --build $(ASAN_BUILD)
	ctest --test-dir $(ASAN_BUILD) -j2 -L core --output-on-failure

demo: build
	scripts/demo $(BUILD)

bench: build
	scripts/bench $(BUILD)

# The Debian package of the programs, man pages, settings example, desktop entry and
# systemd units, in $(BUILD)/ (sendwerk_VERSION_ARCH.deb).
package: build
	cd $(BUILD) && cpack -G DEB

# The house style (.clang-format); CI refuses unformatted files.
format: deps
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

check-format: deps
	scripts/check-format

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
