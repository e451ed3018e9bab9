# Front door. `make run` and `make test` are the only commands a fresh Debian
# machine needs: both install what is missing first.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
NATIVE := build/native
ASAN   := build/asan
WIN32  := build/win32
WIN64  := build/win64
DIST64 := build/dist64/Tabulon
RELEASE64 := build/release64
# win32, or win64 where this machine runs no 32-bit x86 code (tools/wine-env.sh);
# asked when a recipe runs, once the install step has put Wine in place.
WINARCH = $(shell bash tools/wine-arch.sh)

.PHONY: all deps native asan win32 win64 dist64 release64 test-tree test test-native test-win32 test-pe test-ui run dist bench fuzz e2e release clean

all: native win32

deps:
	@bash tools/install-deps.sh

native: deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null
	cmake --build $(NATIVE) -j$(JOBS)

asan: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTABULON_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	cmake --build $(ASAN) -j$(JOBS)

win32: deps
	cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	cmake --build $(WIN32) -j$(JOBS)

# A 64-bit build of the same sources, for the Windows tests of a machine that
# runs no 32-bit x86 code (tools/wine-env.sh). Tabulon ships 32-bit.
win64: deps
	cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS) >/dev/null
	cmake --build $(WIN64) -j$(JOBS)

dist64: win64
	bash tools/dist.sh $(WIN64) $(DIST64)

release64: dist64
	TABULON_DIST=$(DIST64) TABULON_RELEASE_DIR=$(RELEASE64) bash tools/release.sh

# What the Windows tests run: the 32-bit build, or where this machine runs no
# 32-bit code, the 64-bit one and its packages.
test-tree: deps
	@if [ "$(WINARCH)" = win64 ]; then \
	  echo "this machine runs no 32-bit x86 code: the Windows tests run the 64-bit build"; \
	  $(MAKE) --no-print-directory dist64; \
	fi

test-native: native asan
	ctest --test-dir $(NATIVE) --output-on-failure -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1 ctest --test-dir $(ASAN) --output-on-failure -j$(JOBS)

test-win32: win32 test-tree
	bash tools/run-win32-tests.sh

# What Wine cannot show: the DLLs the program needs and its loader flags.
test-pe: dist
	bash tests/pe/test_pe.sh
	bash tests/pe/test_signing.sh

test-ui: dist test-tree
	bash tests/ui/run-all.sh

test: test-native test-win32 test-pe test-ui e2e

run: dist test-tree
	bash tools/run.sh

dist: win32
	bash tools/dist.sh $(WIN32) dist/Tabulon

bench: deps
	bash bench/run.sh

fuzz: deps
	bash fuzz/run.sh

release: dist
	bash tools/release.sh

e2e: release test-tree
	@if [ "$(WINARCH)" = win64 ]; then $(MAKE) --no-print-directory release64; fi
	bash tests/e2e/run.sh

clean:
	rm -rf build dist
