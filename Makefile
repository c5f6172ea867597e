# Two commands for a fresh machine: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
MAKEFLAGS += --no-print-directory

.PHONY: deps configure build run test test-sanitize bench fuzz fuzz-run screenshots clean

deps:
	@scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run.sh $(BUILD)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Every test again under AddressSanitizer and UndefinedBehaviorSanitizer; the
# first report fails its test. The suppressions cover leaks inside Qt's system
# libraries only.
SANITIZE_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/ui/lsan.supp \
  QTEST_DISABLE_STACKTRACE=1

test-sanitize: deps
	@cmake -S . -B build-sanitize -DDILATANY_SANITIZE=ON -DDILATANY_BUILD_BENCH=OFF >/dev/null
	@cmake --build build-sanitize -j $(JOBS)
	@cd build-sanitize && $(SANITIZE_ENV) ctest --output-on-failure -j $(JOBS)

bench: build
	@$(BUILD)/bench/dilatany-bench

fuzz: deps
	@cmake -S . -B build-fuzz -DDILATANY_FUZZ=ON -DDILATANY_BUILD_UI=OFF -DDILATANY_BUILD_TESTS=OFF \
	  -DDILATANY_BUILD_BENCH=OFF -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@echo "Fuzzers: build-fuzz/tests/fuzz/fuzz_reader, build-fuzz/tests/fuzz/fuzz_get_number"

# Each fuzzer for FUZZ_SECONDS from its seed corpus in tests/fuzz/corpus/; what
# it finds goes to a scratch folder outside the tree, and any finding fails.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = fuzz_get_number fuzz_reader

fuzz-run: fuzz
	@for target in $(FUZZ_TARGETS); do \
	  scratch=$$(mktemp -d "$${TMPDIR:-/tmp}/dilatany-$$target.XXXXXX") || exit 1; \
	  echo "$$target: $(FUZZ_SECONDS) s from tests/fuzz/corpus/$$target, findings in $$scratch"; \
	  build-fuzz/tests/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) -timeout=25 -rss_limit_mb=1024 \
	    -print_final_stats=1 -artifact_prefix="$$scratch/" "$$scratch" tests/fuzz/corpus/$$target \
	    >"$$scratch/log" 2>&1 || { tail -n 60 "$$scratch/log"; echo "$$target: finding, see $$scratch"; exit 1; }; \
	  grep -E '^stat::(number_of_executed_units|new_units_added)' "$$scratch/log" | tr '\n' ' '; echo; \
	  rm -rf "$$scratch"; \
	done

# The engine, the files and dilatany-check for Windows, tested under Wine;
# `make windows` puts the self-contained dist/dilatany-check.exe.
# The windows too: Qt 6 built once for Windows (scripts/build-qt-windows.sh,
# about 20 minutes the first time), dilatany.exe and its window tests, and
# dist/dilatany-VERSION-windows-x86_64.zip with everything the program needs.
.PHONY: test-windows windows qt-windows test-windows-ui screenshots-windows
test-windows: test-windows-ui
	@JOBS=$(JOBS) scripts/windows.sh test

test-windows-ui:
	@JOBS=$(JOBS) scripts/windows-app.sh test

windows:
	@JOBS=$(JOBS) scripts/windows.sh dist
	@JOBS=$(JOBS) scripts/windows-app.sh dist

qt-windows:
	@scripts/build-qt-windows.sh

# The five windows as Windows draws them, under Wine, into docs/screenshots/windows/.
screenshots-windows:
	@JOBS=$(JOBS) scripts/windows-app.sh screenshots

# The Debian package dist/dilatany_VERSION_amd64.deb; `make test-package`
# also checks it, installs it, runs it and removes it again.
.PHONY: package test-package
package:
	@JOBS=$(JOBS) scripts/package.sh build

test-package:
	@JOBS=$(JOBS) scripts/package.sh test

# The five windows as PNGs under docs/screenshots/, on a virtual X display.
screenshots: build
	@xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD)/tests/ui/dilatany-screenshots docs/screenshots

clean:
	rm -rf $(BUILD) build-fuzz build-sanitize
