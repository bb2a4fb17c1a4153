# The README's commands. Every target installs what it is missing first.
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)
VERSION = 1.03
PREFIX ?= /usr/local
DEB = build/quevrin_$(VERSION)-1_$(shell dpkg --print-architecture).deb
INSTALLER = build-windows/Quevrin-$(VERSION)-Setup.exe

.PHONY: all deps build windows test test-sanitize test-tsan soak bench format tidy demo fuzz skin screenshot lv2 install-lv2 install uninstall deb installer

all: build

deps:
	@bash cmake/install-deps.sh

build/build.ninja: | deps
	cmake -S . -B build -G Ninja $(CMAKE_FLAGS)

build: deps build/build.ninja
	cmake --build build -j $(JOBS)

# The plug-in module quevrin.ax and the Windows test host, cross-built with
# mingw-w64 (tests, benchmarks and tools that need the native side are left out).
windows: deps
	cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake $(CMAKE_FLAGS)
	cmake --build build-windows -j $(JOBS)

# The native suite, then the module inside Wine's DirectShow (skipped without
# Wine), then the Debian package and the Windows installer as users get them.
# The suite runs inside a virtual display, so the real file dialog and message
# box are shown once too.
test: build windows deb installer
	if command -v xvfb-run >/dev/null; then xvfb-run -a ctest --test-dir build --output-on-failure -j $(JOBS); \
	else ctest --test-dir build --output-on-failure -j $(JOBS); fi
	bash tests/wine/run.sh build-windows build
	bash tests/install/package.sh $(DEB) build
	bash tests/wine/installer.sh $(INSTALLER) build-windows build

# The same suite under AddressSanitizer and UndefinedBehaviorSanitizer
# (LeakSanitizer too), with the thread tags asserted (docs/THREADS.md),
# inside a virtual display as make test runs it.
test-sanitize: deps
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUEVRIN_SANITIZE="address;undefined" -DQUEVRIN_THREAD_CHECKS=ON $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)
	if command -v xvfb-run >/dev/null; then run="xvfb-run -a"; else run=""; fi; \
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 $$run ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# Streaming against changes from another thread, under ThreadSanitizer, with
# the thread tags asserted; then quevrin editor streaming a file while xdotool
# turns its knobs, inside a virtual display (skipped without one).
test-tsan: deps
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUEVRIN_SANITIZE=thread -DQUEVRIN_THREAD_CHECKS=ON -DQUEVRIN_BENCH=OFF $(CMAKE_FLAGS)
	cmake --build build-tsan -j $(JOBS) --target test_hostdx_threads test_editor_x11
	TSAN_OPTIONS=halt_on_error=1 ./build-tsan/tests/test_hostdx_threads
	if command -v xvfb-run >/dev/null; then run="xvfb-run -a"; else run=""; fi; \
	TSAN_OPTIONS="halt_on_error=1 exitcode=66" $$run ./build-tsan/tests/test_editor_x11 --gtest_filter='*streaming*'

# The validator's long soak: SOAK_MINUTES of seeded random automation, presets
# and tempos through the LV2 plug-in and, at the same time, through the
# filter; each prints its figures (samples above the ceiling, not finite,
# subnormal; allocations in the processing call; its CPU time).
SOAK_MINUTES ?= 60
SOAK_SEED ?= 1
soak: deps build/build.ninja
	cmake --build build -j $(JOBS) --target lv2 lv2check
	@soak="./build/bin/lv2check build/quevrin.lv2 --only soak --soak-minutes $(SOAK_MINUTES) --seed $(SOAK_SEED)"; \
	$$soak --soak-target lv2 > build/soak-lv2.log 2>&1 & lv2=$$!; \
	$$soak --soak-target filter > build/soak-filter.log 2>&1 & filter=$$!; \
	status=0; wait $$lv2 || status=1; wait $$filter || status=1; \
	cat build/soak-lv2.log build/soak-filter.log; exit $$status

bench: build
	for b in build/bench/*Bench; do $$b; done

# Every libFuzzer target from its seed corpus, FUZZ_SECONDS each (clang).
FUZZ_SECONDS ?= 60
fuzz: deps
	bash fuzz/run.sh $(FUZZ_SECONDS)

format:
	find src tests bench fuzz tools apps -name '*.h' -o -name '*.cpp' | xargs clang-format -i

# clang-tidy (.clang-tidy) over the product's sources, from the build's
# compile database; any finding fails.
tidy: build
	run-clang-tidy -quiet -j $(JOBS) -p build '$(CURDIR)/(src|apps|tools)/'

# The built-in demo phrase through a ping-pong program, with its tail.
demo: build
	@mkdir -p out
	./build/bin/quevrin render --demo out/demo.wav --preset "Ping-pong delay - 3/4 beat"
	@echo "wrote $(CURDIR)/out/demo.wav"

# Redraws the skin into resources/skin and its review sheets into docs/.
skin: build
	cmake --build build --target skin

# The LV2 bundle (plug-in binary, ports and presets described from the
# parameter list) in build/quevrin.lv2, and its installation for the user's hosts.
lv2: deps build/build.ninja
	cmake --build build -j $(JOBS) --target lv2
	@echo "built $(CURDIR)/build/quevrin.lv2"

LV2_INSTALL_DIR ?= $(HOME)/.lv2
install-lv2: lv2
	mkdir -p $(LV2_INSTALL_DIR)/quevrin.lv2
	install -m 644 build/quevrin.lv2/*.ttl $(LV2_INSTALL_DIR)/quevrin.lv2/
	install -m 755 build/quevrin.lv2/quevrin.so build/quevrin.lv2/quevrin_ui.so $(LV2_INSTALL_DIR)/quevrin.lv2/
	@echo "installed $(LV2_INSTALL_DIR)/quevrin.lv2"
# The editor as the filter draws it: with the default program, with a program
# that runs both lines and the second line's time panel shown, and at scale 2.
screenshot: build
	./build/bin/quevrin screenshot docs/editor.png
	./build/bin/quevrin screenshot docs/editor-two-lines.png --preset "Ambient wash" --focus "D2 time"
	./build/bin/quevrin screenshot docs/editor@2x.png --scale 2

# The program, its module, the LV2 bundle, the manual page and the README
# and licence below PREFIX (DESTDIR=... stages them elsewhere); uninstall
# takes away what install put there.
install: build
	DESTDIR=$(DESTDIR) cmake --install build --prefix $(PREFIX)
uninstall:
	DESTDIR=$(DESTDIR) bash cmake/uninstall.sh build $(PREFIX)

# The Debian package, made from this build by debhelper (packaging/debian).
deb: build
	rm -rf build/deb && mkdir -p build/deb && cp -r packaging/debian build/deb/
	cd build/deb && debian/rules binary QUEVRIN_BUILD=$(CURDIR)/build QUEVRIN_SOURCE=$(CURDIR)
	@echo "built $(CURDIR)/$(DEB)"

# The Windows installer, made with NSIS (packaging/windows/quevrin.nsi).
installer: windows
	sed 's/$$/\r/' LICENSE >build-windows/License.txt
	makensis -V2 -DVERSION=$(VERSION) -DMODULE=$(CURDIR)/build-windows/src/quevrin.ax \
		-DLICENSE=$(CURDIR)/build-windows/License.txt -DOUTFILE=$(CURDIR)/$(INSTALLER) packaging/windows/quevrin.nsi
	@echo "built $(CURDIR)/$(INSTALLER)"
