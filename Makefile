# Two commands for a newcomer: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
BENCH_DIR ?= build-bench
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
PACKAGE_DIR ?= build-package
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps build run test test-fast test-asan soak bench randomness-report fuzz assets format clean package check-package windows test-windows test-windows-e2e check-windows-installer

deps:
	bash scripts/install-deps.sh

# Builds the program folder build/app/ (executable, config/, wav/, manual) without starting anything.
build: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVREL_WERROR=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Builds and starts the program; a sample event is laid into build/app/config/ when no list exists yet.
run: build
	bash scripts/sample-event.sh $(BUILD_DIR)/app
	$(BUILD_DIR)/app/kavrel-draw

# Every test: the normal build, then the AddressSanitizer + UndefinedBehaviorSanitizer build.
test: test-fast test-asan

test-fast: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS) --timeout 300

# Run alone, this test makes the leak checker of GCC 12's sanitizer runtime crash in its own tracer
# ("Tracer caught signal 11" while reading the main thread's dynamic TLS), before it checks anything.
# It still runs under ASan and UBSan, with the leak check off; the other tests keep theirs.
LSAN_TRACER_CRASH := ^StageWindowTest\.F6BeforeTheFirstWinnerOffersTheDrawPutAsideLast$$
test-asan: deps
	cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVREL_WERROR=ON -DKAVREL_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
		UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS) --timeout 600 -LE e2e -E '$(LSAN_TRACER_CRASH)'
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
		ctest --output-on-failure --timeout 600 -R '$(LSAN_TRACER_CRASH)'

# The crash soak (not part of `make test`): a drawing child, making corrections on the way (F1 F2 F3 F4
# F8), killed thousands of times, each time checked as left (kavrel-verify included),
# resumed and checked. SOAK_CYCLES sets the count. It runs in /dev/shm where there is one, so the
# minutes go to kills and checks rather than to the disk's syncs.
SOAK_CYCLES ?= 3000
soak: build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target kavrel_soak
	TMPDIR=$$( [ -d /dev/shm ] && echo /dev/shm || echo $${TMPDIR:-/tmp} ) $(BUILD_DIR)/tests/soak/kavrel_soak $(SOAK_CYCLES)

bench: deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVREL_BENCH=ON -DBUILD_TESTING=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS)
	for b in $(BENCH_DIR)/bench/*/bench_*; do [ -x "$$b" ] && "$$b"; done

# Evidence that the draw's committed pick is fair (not part of `make test`; about two minutes): a chi-square
# of 10^6 picks over pools of 10, 1,000 and 1,000,000 and of three sizes between 2^14 and 2^15 (with an
# audience number and attempts after undos), and the generator's output through `ent` (Debian's
# package "ent", installed here when missing). The report goes to $(BENCH_DIR)/randomness-report.txt.
RANDOMNESS_MB ?= 16
randomness-report: deps
	command -v ent >/dev/null || $$( [ "$$(id -u)" -eq 0 ] || echo sudo ) apt-get install -y --no-install-recommends ent
	cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVREL_BENCH=ON -DBUILD_TESTING=OFF
	cmake --build $(BENCH_DIR) -j $(JOBS) --target randomness_report
	{ $(BENCH_DIR)/bench/engine/randomness_report $(BENCH_DIR)/committed-output.bin $(RANDOMNESS_MB) && \
	  echo && echo "ent over the generator's output ($(RANDOMNESS_MB) MiB):" && \
	  ent $(BENCH_DIR)/committed-output.bin && echo && echo "ent, bit by bit:" && \
	  ent -b $(BENCH_DIR)/committed-output.bin; } > $(BENCH_DIR)/randomness-report.txt; \
	status=$$?; rm -f $(BENCH_DIR)/committed-output.bin; cat $(BENCH_DIR)/randomness-report.txt; exit $$status

# The libFuzzer targets of fuzz/ (not part of `make test`), each run for FUZZ_SECONDS with a 1 GB memory
# limit; needs Clang and its runtime (clang, libclang-rt-14-dev), which install-deps does not install.
# FUZZ_TARGETS picks some of them (e.g. FUZZ_TARGETS="fuzz_xlsx fuzz_csv").
FUZZ_TARGETS ?=
fuzz:
	bash scripts/install-deps.sh fuzz
	cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
		-DCMAKE_CXX_COMPILER=clang++ -DKAVREL_FUZZ=ON -DBUILD_TESTING=OFF $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) -j $(JOBS) --target kavrel_fuzzers
	bash fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# The Debian package dist/kavrel_<version>_amd64.deb (the program in /opt/kavrel, a menu entry, the
# programs on the PATH). Built without the tests; the same compiler flags as `make build`, so ccache serves it.
package: deps
	cmake -S . -B $(PACKAGE_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVREL_WERROR=ON -DBUILD_TESTING=OFF $(CMAKE_FLAGS)
	cmake --build $(PACKAGE_DIR) -j $(JOBS)
	cd $(PACKAGE_DIR) && cpack -G DEB

# Installs that package into a fresh Debian 12 root and draws with it (not part of `make test`).
check-package: package
	bash scripts/package/check-deb.sh

# Windows, cross-built with MinGW against the prefix that scripts/windows/build-toolchain.sh fills
# (hours, once): dist/ gets the portable folder, its zip and the NSIS installer. test-windows runs the
# display-free test programs under wine64; scripts/windows/smoke.sh runs the program itself,
# test-windows-e2e the end-to-end scripts against it, and check-windows-installer installs, starts and
# uninstalls the installer's program.
windows:
	bash scripts/windows/build.sh

test-windows:
	bash scripts/windows/test-windows.sh

test-windows-e2e:
	bash scripts/windows/e2e-under-wine.sh

check-windows-installer:
	bash scripts/windows/check-installer.sh

# Re-renders the built-in pictures and sounds (the rendered files are committed).
assets: deps
	bash assets/build-pictures.sh
	bash assets/sounds/build.sh

format:
	find src tests bench assets fuzz \( -name '*.cpp' -o -name '*.h' \) -not -path '*/bad_tree/*' | xargs clang-format -i

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(BENCH_DIR) $(FUZZ_DIR) $(PACKAGE_DIR) build-windows
