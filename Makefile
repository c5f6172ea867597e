# Two commands for a fresh machine: `make run` and `make test`.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
MAKEFLAGS += --no-print-directory

.PHONY: deps configure build run test bench fuzz screenshots clean

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

bench: build
	@$(BUILD)/bench/dilatany-bench

fuzz: deps
	@cmake -S . -B build-fuzz -DDILATANY_FUZZ=ON -DDILATANY_BUILD_UI=OFF -DDILATANY_BUILD_TESTS=OFF \
	  -DDILATANY_BUILD_BENCH=OFF -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build build-fuzz -j $(JOBS)
	@echo "Fuzzers: build-fuzz/tests/fuzz/fuzz_reader, build-fuzz/tests/fuzz/fuzz_get_number"

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
	rm -rf $(BUILD) build-fuzz
