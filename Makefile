# The two set-up commands: `make run` and `make test`. Each installs the Debian
# packages it lacks first.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

BUILD_PACKAGES := cmake ninja-build g++ libgtest-dev libgmock-dev nlohmann-json3-dev libcli11-dev libtinyxml2-dev
WINE_PACKAGES := wine64 g++-mingw-w64-x86-64
WINDOWS_PACKAGES := g++-mingw-w64-x86-64 g++-mingw-w64-i686 googletest
FUZZ_PACKAGES := clang libclang-rt-14-dev
BENCH_PACKAGES := libbenchmark-dev

.PHONY: all run test fuzz bench sweep soak windows format deps-build deps-wine deps-windows deps-fuzz deps-bench clean

all: run

deps-build:
	@tools/ensure-packages.sh $(BUILD_PACKAGES)
deps-wine:
	@tools/ensure-packages.sh $(WINE_PACKAGES)
	@tools/ensure-wine32.sh
deps-windows:
	@tools/ensure-packages.sh $(WINDOWS_PACKAGES)
deps-fuzz:
	@tools/ensure-packages.sh $(FUZZ_PACKAGES)
deps-bench:
	@tools/ensure-packages.sh $(BENCH_PACKAGES)

build/release/build.ninja: | deps-build deps-bench
	cmake --preset release

# Builds and runs the whole test catalogue on the built-in reference board.
run: deps-build deps-bench build/release/build.ninja
	cmake --build --preset release -j $(JOBS)
	@mkdir -p build/run && cp examples/default.gf examples/orbex.ini build/run/
	build/release/bin/orbex-harness --workdir build/run --junit build/run/junit.xml --html build/run/report.html --suite; \
	  status=$$?; echo "orbex-harness exit status $$status (JUnit report: build/run/junit.xml, HTML report: build/run/report.html)"; \
	  [ $$status -le 1 ]

# The whole fault sweep of the reference board (release build): every test
# case again for every call of every failable operation, each run checked.
sweep: deps-build deps-bench build/release/build.ninja
	cmake --build --preset release -j $(JOBS)
	@mkdir -p build/sweep && cp examples/default.gf examples/orbex.ini build/sweep/
	build/release/bin/orbex-harness --workdir build/sweep --fault-sweep --jobs $(JOBS) | tee build/sweep/table.txt | tail -n 25

# Cross-builds the Windows artefacts (orbex.dll, verdict.dll, qelsserv.dll,
# orbex-harness.exe, and the unit tests) for x86-64 and 32-bit x86.
build/windows/x86_64/build.ninja: | deps-build deps-windows
	cmake -S . -B build/windows/x86_64 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
build/windows/i686/build.ninja: | deps-build deps-windows
	cmake -S . -B build/windows/i686 -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DORBEX_TESTS=OFF
windows: deps-build deps-windows build/windows/x86_64/build.ninja build/windows/i686/build.ninja
	cmake --build build/windows/x86_64 -j $(JOBS)
	cmake --build build/windows/i686 -j $(JOBS)
	@for arch in x86_64 i686; do mkdir -p build/windows/$$arch/kit; \
	  cp build/windows/$$arch/bin/{orbex.dll,verdict.dll,qelsserv.dll,orbex-harness.exe} build/windows/$$arch/kit/; \
	  mkdir -p build/windows/$$arch/kit/boards && cp boards/*.ini build/windows/$$arch/kit/boards/; done
	@echo "Windows artefacts: build/windows/x86_64/kit and build/windows/i686/kit"

build/test/build.ninja: | deps-build deps-wine
	cmake --preset test

# Builds and runs every test: unit and end-to-end tests, and the checks under
# Wine of the Windows build (INI differential test, unit tests, adapter smoke
# test; the 32-bit kit's smoke test where Wine's 32-bit loader runs) and the
# manifest in both Windows kits.
test: deps-build deps-wine windows build/test/build.ninja
	cmake --build --preset test -j $(JOBS)
	ctest --preset test -j $(JOBS)

build/fuzz/build.ninja: | deps-build deps-fuzz
	cmake --preset fuzz

# Builds the libFuzzer targets and runs each for FUZZ_SECONDS (60 by default).
# INI texts are capped at 1 KB: no rule of the engine needs a longer file,
# and short inputs run twice as fast. The targets that start a whole machine
# for every input (graph file, board profile, orbex.ini) steer by edges, not
# hit counts: the machine's loops' counts only add bookkeeping, and they
# reach the same coverage at a higher rate (docs/reliability.md). No target names the functions it
# reaches first (-print_funcs=0): naming them starts the symbolizer mid-run.
FUZZ_SECONDS ?= 60
FUZZ_OPTIONS_fuzz_ini := -max_len=1024
FUZZ_OPTIONS_whole_machine := -use_counters=0
fuzz: deps-build deps-fuzz build/fuzz/build.ninja
	cmake --build --preset fuzz -j $(JOBS)
	@for target in fuzz_command_line fuzz_ini fuzz_graph_file fuzz_board_profile fuzz_row_analysis fuzz_line21 fuzz_mm_entry fuzz_component fuzz_orbex_ini; do \
	  mkdir -p build/fuzz/corpus/$$target; \
	  echo "== $$target ($(FUZZ_SECONDS) s)"; \
	  case $$target in \
	    fuzz_ini) options="$(FUZZ_OPTIONS_fuzz_ini)";; \
	    fuzz_graph_file|fuzz_board_profile|fuzz_orbex_ini) options="$(FUZZ_OPTIONS_whole_machine)";; \
	    *) options=;; \
	  esac; \
	  build/fuzz/bin/$$target -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=2048 -print_funcs=0 $$options \
	    build/fuzz/corpus/$$target fuzz/seeds/$$target || exit 1; \
	done

# The soak: the catalogue SOAK_ROUNDS times in one harness process (release
# build); fails on resident-memory growth past 1 MB after round 1, on
# references left open on the virtual board and on a message-numbering gap.
# tc2205 (about a minute a round) runs in SOAK_FULL_ROUNDS rounds of the
# whole catalogue after it.
SOAK_ROUNDS ?= 1000
SOAK_FULL_ROUNDS ?= 3
soak: deps-build deps-bench build/release/build.ninja
	cmake --build --preset release -j $(JOBS)
	@mkdir -p build/soak && cp examples/default.gf examples/orbex.ini build/soak/
	build/release/bin/orbex-harness --workdir build/soak --soak $(SOAK_ROUNDS) --exclude tc2205
	build/release/bin/orbex-harness --workdir build/soak --soak $(SOAK_FULL_ROUNDS)

# Builds and runs the Google Benchmark benchmarks (release build).
bench: deps-build deps-bench build/release/build.ninja
	cmake --build --preset release -j $(JOBS)
	build/release/bin/orbex_bench

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h' '*.in')

clean:
	rm -rf build
