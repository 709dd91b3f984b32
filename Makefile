# The two commands of the README: `make run` and `make test`.
BUILD      ?= build
BUILD_ASAN ?= build-asan
BUILD_TSAN ?= build-tsan
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja
space      := $(subst ,, )

.PHONY: all deps configure build run test test-asan test-tsan bench gallery fuzz soak clean

all: build

deps:
	@scripts/deps.sh

# Our own builds treat warnings as errors (GT_WERROR); the project's default does not.
$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGT_WERROR=ON

configure: deps $(BUILD)/build.ninja
	@grep -q '^GT_WERROR:BOOL=ON' $(BUILD)/CMakeCache.txt || cmake -S . -B $(BUILD) -DGT_WERROR=ON

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# `make run` builds only what it starts: the console, and the module
# scripts/run.sh preloads when there is no display. Ninja's status line says
# how far the build is: steps done of all, share, seconds since the start.
RUN_TARGETS := GrainTerminal vnc-loopback
run: configure
	@echo "Building the console ($(RUN_TARGETS)); tests and benchmarks are left to make test."
	@NINJA_STATUS='[%f/%t %p %es] ' cmake --build $(BUILD) -j $(JOBS) --target $(RUN_TARGETS)
	@scripts/run.sh $(BUILD)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

$(BUILD_ASAN)/build.ninja:
	cmake -S . -B $(BUILD_ASAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DGT_SANITIZE=ON -DGT_WERROR=ON

# Leaks count as failures; tests/lsan.supp lists the third-party ones we cannot fix.
test-asan: deps $(BUILD_ASAN)/build.ninja
	@grep -q '^GT_WERROR:BOOL=ON' $(BUILD_ASAN)/CMakeCache.txt || cmake -S . -B $(BUILD_ASAN) -DGT_WERROR=ON
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  ctest --output-on-failure -j $(JOBS)

# -O1 and line tables only: a fifth less compile time, and the reports still
# name file and line.
$(BUILD_TSAN)/build.ninja:
	cmake -S . -B $(BUILD_TSAN) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DGT_TSAN=ON -DGT_WERROR=ON

# ThreadSanitizer over the code that runs on more than one thread: the Modbus
# server on its own thread beside the controller cycle, in the library and in
# the console. Only these test programs are built.
TSAN_TESTS := modbus_test_server modbus_test_plant_map modbus_test_quiet_publish \
              console_test_modbus_link
test-tsan: deps $(BUILD_TSAN)/build.ninja
	cmake --build $(BUILD_TSAN) -j $(JOBS) --target $(TSAN_TESTS)
	cd $(BUILD_TSAN) && QT_QPA_PLATFORM=offscreen \
	  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan.supp \
	  ctest --output-on-failure -j $(JOBS) -L '^($(subst $(space),|,$(strip $(TSAN_TESTS))))$$'

bench: build
	@for b in $(BUILD)/bench/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; \
	  QT_QPA_PLATFORM=offscreen "$$b" || exit 1; \
	done

gallery: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/tools/symbol-gallery $(BUILD)/gallery.png
	@echo "Gallery written to $(BUILD)/gallery.png"

# Long runs: 100,000 state files through the loader, 100,000 grain-sim scripts
# and 100,000 users files through their parsers under the sanitizers, a
# full day of plant time with random operator commands and routes, and fifty
# kills of the console during a burst of archived entries.
fuzz: deps $(BUILD_ASAN)/build.ninja
	cmake --build $(BUILD_ASAN) --target state-fuzz script-fuzz users-fuzz -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 $(BUILD_ASAN)/tests/state/fuzz/state-fuzz 100000
	ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 $(BUILD_ASAN)/tests/tools/fuzz/script-fuzz 100000
	ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 $(BUILD_ASAN)/tests/users/fuzz/users-fuzz 100000

soak: build
	$(BUILD)/bench/bench_plant_soak
	QT_QPA_PLATFORM=offscreen ARCHIVE_KILL_ROUNDS=50 $(BUILD)/tests/app/app_test_archive_kill

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_TSAN)
