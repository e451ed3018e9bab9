# Front door. `make run` and `make test` are the only commands a fresh Debian
# machine needs: both install what is missing first.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
NATIVE := build/native
ASAN   := build/asan
WIN32  := build/win32
WIN64  := build/win64
DIST64 := build/dist64/Tabulon
# Both Windows programs ship: a warning in either build fails it.
CROSS_FLAGS := -DCMAKE_BUILD_TYPE=Release -DCMAKE_COMPILE_WARNING_AS_ERROR=ON
# What `make run` builds and starts: the 32-bit program, or the 64-bit one on a
# machine that runs no 32-bit x86 code (tools/runs-i386.sh, tools/wine-env.sh).
WINARCH = $(shell bash tools/wine-arch.sh)
# What the Windows tests run: both programs, or only the 64-bit one on such a machine.
RUN_ARCHS = $(strip $(shell bash tools/runs-i386.sh && echo win32) win64)

.PHONY: all deps native asan win32 win64 dist64 run-tree test test-native test-wine test-pe test-ui run dist bench fuzz e2e release clean

all: native win32 win64

deps:
	@bash tools/install-deps.sh

native: deps
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null
	cmake --build $(NATIVE) -j$(JOBS)

asan: deps
	cmake -S . -B $(ASAN) -DCMAKE_BUILD_TYPE=Debug -DTABULON_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	cmake --build $(ASAN) -j$(JOBS)

# The 32-bit program, for 32-bit Windows.
win32: deps
	cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake $(CROSS_FLAGS) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(WIN32) -j$(JOBS)

# The 64-bit program, for 64-bit Windows (nearly every PC).
win64: deps
	cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake $(CROSS_FLAGS) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(WIN64) -j$(JOBS)

# The program folders as they ship, which the tests copy: laid out anew each
# time, so that nothing run in them reaches a test.
dist: win32
	bash tools/dist.sh --fresh $(WIN32) dist/Tabulon

dist64: win64
	bash tools/dist.sh --fresh $(WIN64) $(DIST64)

# The build `make run` starts (tools/run.sh lays out a program folder of its
# own from it, build/run-win32/Tabulon or build/run-win64/Tabulon).
run-tree: deps
	@$(MAKE) --no-print-directory $(if $(filter win64,$(WINARCH)),dist64,dist)

test-native: native asan
	ctest --test-dir $(NATIVE) --output-on-failure -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1 ctest --test-dir $(ASAN) --output-on-failure -j$(JOBS)

# Every Windows test runs under Wine for each program this machine can run.
test-wine: win32 win64
	@for a in $(RUN_ARCHS); do TABULON_WINARCH=$$a bash tools/run-win32-tests.sh || exit 1; done

# What Wine cannot show: the DLLs both programs need, their loader flags,
# machine types and manifests.
test-pe: dist dist64
	bash tests/pe/test_pe.sh
	bash tests/pe/test_signing.sh

test-ui: dist dist64
	@for a in $(RUN_ARCHS); do TABULON_WINARCH=$$a bash tests/ui/run-all.sh || exit 1; done

test: test-native test-wine test-pe test-ui e2e
	@echo "Windows programs run under Wine: $(RUN_ARCHS); built and checked only:" \
	  "$(if $(filter win32,$(RUN_ARCHS)),none,win32 (this machine runs no 32-bit x86 code))"

run: run-tree
	bash tools/run.sh

bench: deps
	bash bench/run.sh

fuzz: deps
	bash fuzz/run.sh

# The zip and the installer of each program, side by side in release/.
release: dist dist64
	bash tools/release.sh
	TABULON_DIST=$(DIST64) bash tools/release.sh

e2e: release
	@for a in $(RUN_ARCHS); do TABULON_WINARCH=$$a bash tests/e2e/run.sh || exit 1; done

clean:
	rm -rf build dist
