# Tilesmithery: build, run and test from a fresh clone.
BUILD      ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
# `make bench BENCH_OTHER=path/to/tilesmithery` times another build beside this one.
BENCH_OTHER ?=
# `make fuzz FUZZ_SECONDS=20` runs each fuzz target that long.
FUZZ_SECONDS ?= 30
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: all deps configure build run test check-asan bench fuzz clean install package check-package

all: build

deps:
	@bash scripts/deps.sh

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	bash scripts/run-demo.sh $(BUILD)/tilesmithery

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# The sanitizer build has the window code too, so the window tests run under ASan/UBSan. cmake is
# run every time: it is quick, and it switches over a folder configured with other options.
# Leaks of the system libraries (Qt's plugins, fontconfig, glib) are suppressed by library name in
# scripts/sanitizers/lsan.supp; the same settings serve the test discovery during the build.
SANITIZER_ENV := QT_QPA_PLATFORM=offscreen \
	ASAN_OPTIONS=detect_leaks=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/sanitizers/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

check-asan: deps
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug \
		-DTS_SANITIZE=ON -DTS_GUI=ON -DTS_BENCH=OFF -DTS_FUZZ=OFF
	$(SANITIZER_ENV) cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# Installs both editions, the manual, menu entries, icon, .tsp type and manual page under PREFIX.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package of both editions, with the dependencies dpkg-shlibdeps computes.
package: build
	cd $(BUILD) && cpack -G DEB
	@ls -l $(BUILD)/*.deb

# Installs the package in a clean Debian 12 root (debootstrap, as root), runs it and removes it.
check-package: package
	bash scripts/check-package.sh

bench: build
	@for b in $(BUILD)/bench/*; do echo "== $$b"; $$b --benchmark_min_time=0.2; done
	@echo "== the program, start to exit"
	@bash scripts/time-batch.sh $(BUILD)/tilesmithery $(BUILD)/bench/bench_convert $(BENCH_OTHER)

fuzz: deps
	@test -f $(FUZZ_BUILD)/build.ninja || CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) \
		-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTS_FUZZ=ON -DTS_BENCH=OFF -DTS_GUI=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	bash scripts/run-fuzzers.sh $(FUZZ_BUILD)/fuzz $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
