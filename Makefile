# The two commands of the README:
#   make demo   install what is missing, build, play the demo on this display (X11 or Wayland)
#   make test   install what is missing, build, run every test headless
# and a few more for the developers (see README).

BUILD   ?= build
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: demo test deps configure build clean test-sanitize fuzz memcheck video frames golden bench package

SAN_BUILD ?= build-sanitize

# $(call cmake_configure,DIR,BUILD_TYPE,EXTRA FLAGS): the one way a build
# directory is set up; every rule below goes through it.
cmake_configure = cmake -S . -B $(1) -DCMAKE_BUILD_TYPE=$(2) $(CMAKE_FLAGS) $(3) >/dev/null

deps:
	@bash .ci/deps

# The everyday build directory, $(BUILD).
configure: deps
	@$(call cmake_configure,$(BUILD),RelWithDebInfo)

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

demo: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set): render the demo to a video instead with 'make video' (see README)."; \
	  exit 1; \
	fi
	@$(BUILD)/src/quenvarix

# CTest prints nothing of a skipped test: the sound smokes that the host's
# steal time left unjudged say so here.
TELL_UNJUDGED = grep -h "not judged" Testing/Temporary/LastTest.log || true

test: build
	@cd $(BUILD) && xvfb-run -a -s "-screen 0 1280x1024x24" \
	  ctest --output-on-failure -j $(JOBS); status=$$?; $(TELL_UNJUDGED); exit $$status

# The whole suite again with AddressSanitizer + UndefinedBehaviorSanitizer;
# any report fails the run. Known leaks of Qt, Mesa and GStreamer are
# suppressed in .ci/lsan.supp (each entry says why). A test that fails is
# run once more: LeakSanitizer's exit-time tracer now and then crashes
# ("Tracer caught signal 11") while Mesa's llvmpipe threads are still alive;
# a real report comes back on the second run.
test-sanitize: deps
	@$(call cmake_configure,$(SAN_BUILD),Debug,-DQUENVARIX_SANITIZE=ON)
	@cmake --build $(SAN_BUILD) -j $(JOBS)
	@cd $(SAN_BUILD) && \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/.ci/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:suppressions=$(CURDIR)/.ci/ubsan.supp \
	  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j $(JOBS) --repeat until-pass:2; \
	  status=$$?; $(TELL_UNJUDGED); exit $$status

# Offline capture (tools/capture): the whole demo as a video or as PNG frames,
# rendered frame by frame; on a virtual display when there is no X display.
CAPTURE  = $(BUILD)/tools/capture/quenvarix-capture
HEADLESS = $(if $(DISPLAY),,xvfb-run -a -s "-screen 0 1280x1024x24")

video: configure
	@cmake --build $(BUILD) -j $(JOBS) --target quenvarix-capture
	@$(HEADLESS) $(CAPTURE) --out out/quenvarix.mp4

frames: configure
	@cmake --build $(BUILD) -j $(JOBS) --target quenvarix-capture
	@$(HEADLESS) $(CAPTURE) --out out/frames

# Rewrites tests/data/golden/*.png from the current picture, rendered as the
# tests render it (Xvfb, Mesa llvmpipe). Look at them before committing.
golden: configure
	@cmake --build $(BUILD) -j $(JOBS) --target tst_goldenframes
	@QUENVARIX_UPDATE_GOLDEN=1 QT_QPA_PLATFORM=xcb LIBGL_ALWAYS_SOFTWARE=1 \
	  xvfb-run -a -s "-screen 0 1280x1024x24" $(BUILD)/tests/tst_goldenframes frame

# The whole timeline through the capture path under valgrind's memcheck
# (slow: about a quarter of an hour); reports outside our code are
# suppressed in .ci/valgrind.supp.
memcheck: build
	@$(HEADLESS) valgrind --tool=memcheck --leak-check=full --errors-for-leak-kinds=definite \
	  --num-callers=50 --suppressions=.ci/valgrind.supp --error-exitcode=9 \
	  $(CAPTURE) --size 160x90 --fps 10 --quiet --out $(BUILD)/memcheck-frames

# The fuzzers for a bounded number of runs with a fixed seed (CI);
# FUZZ=600s or FUZZ=1000000 for a longer session.
FUZZ ?= 10000
fuzz: deps
	@fuzz/run.sh $(FUZZ)

# Benchmarks (bench/): a Release build in build-bench, every benchmark run
# under Xvfb, then a summary against the goals (see docs/performance.md).
BENCH_BUILD ?= build-bench
bench: deps
	@$(call cmake_configure,$(BENCH_BUILD),Release,-DQUENVARIX_BENCH=ON -DQUENVARIX_TESTS=OFF)
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target bench_objread bench_startup bench_frame bench_memory bench_pacing quenvarix quenvarix-capture
	@xvfb-run -a -s "-screen 0 1280x1024x24" bench/run-benchmarks.sh $(BENCH_BUILD)

# The Debian package: the installation as cmake --install makes it, built for
# the prefix /usr in its own directory (so build/ keeps its own prefix), with
# Debian's hardening flags (dpkg-buildflags), and packed by CPack.
# packaging/check-package.sh also runs lintian and the validators on it.
PKG_BUILD ?= build-package
PKG_FLAGS = -DCMAKE_INSTALL_PREFIX=/usr -DQUENVARIX_TESTS=OFF \
  -DCMAKE_C_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CFLAGS)" \
  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)"
package: deps
	@export DEB_BUILD_MAINT_OPTIONS=hardening=+all; \
	  $(call cmake_configure,$(PKG_BUILD),RelWithDebInfo,$(PKG_FLAGS))
	@cmake --build $(PKG_BUILD) -j $(JOBS)
	@cd $(PKG_BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(SAN_BUILD) build-fuzz build-faults $(BENCH_BUILD) $(PKG_BUILD)

# Regenerates every asset under data/, the contact sheets in docs/images/ and
# the application icon in packaging/icons/ with the project's own generator;
# the output is identical from run to run.
.PHONY: assets
assets: configure
	@cmake --build $(BUILD) --target quenvarix-assetgen -j $(JOBS)
	@$(BUILD)/tools/assetgen/quenvarix-assetgen data --previews docs/images --icons packaging/icons
