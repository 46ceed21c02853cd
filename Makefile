# One entry point for building, testing, fuzzing and running Quimbel.
JOBS     ?= $(shell nproc)
BUILD    ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
PACKAGE_DIR ?= build-package
FUZZ_SECONDS ?= 60
CMAKE_GEN := $(shell command -v ninja >/dev/null 2>&1 && echo "-G Ninja")
# ccache, where installed, makes rebuilds in several work trees cheap; nothing needs it.
CMAKE_GEN += $(shell command -v ccache >/dev/null 2>&1 && echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache")

.PHONY: all deps build test asan fuzz bench demo package abi-record clean

all: build

deps:
	@scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

asan: deps
	cmake -S . -B $(ASAN_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DQUIMBEL_SANITIZE=ON
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

fuzz: deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B $(FUZZ_DIR) $(CMAKE_GEN) \
	  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIMBEL_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target fuzz_targets
	scripts/run-fuzz.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# Interactive with a display; without one it types a sentence offscreen and saves
# quimbel-demo.png. DEMO_ARGS passes options, e.g. DEMO_ARGS='--layout de'.
demo: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target quimbel-demo
	$(BUILD)/apps/demo/quimbel-demo $(DEMO_ARGS)

# The Debian packages (libquimbel2, libquimbel-dev, quimbel, quimbel-designer-plugin) built for
# the prefix /usr into $(PACKAGE_DIR)/debs/, then checked by lintian: any error or warning fails
# (overrides, each with its reason, are in packaging/debian/). The compiler flags are those of
# make build, so that ccache serves both; the link takes Debian's read-only relocations.
package: deps
	LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" cmake -S . -B $(PACKAGE_DIR) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_INSTALL_PREFIX=/usr -DQUIMBEL_TESTS=OFF
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	scripts/build-debs.sh $(PACKAGE_DIR) $(PACKAGE_DIR)/debs
	lintian --fail-on error,warning --display-info $(PACKAGE_DIR)/debs/*.deb

# The recorded ABI of the shared libraries (abi/) made anew from the libraries of $(BUILD), after
# a change of the stable interface: with the SONAME raised, or compatible (additions only).
abi-record: build
	scripts/abi.sh --update $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_DIR) $(FUZZ_DIR) $(PACKAGE_DIR)
