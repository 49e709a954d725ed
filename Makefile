# The two commands of the README, and the build step they share.
#   make run    install what is missing, build, start the program
#   make test   install what is missing, build, run every test
#   make build  install what is missing, configure and build
#   make bench  build, then time the engine against the ffmpeg command-line tool
#   make install  build, then install under PREFIX (default /usr/local), honouring DESTDIR
#   make package  build, then make the Debian package (build/zelo-converter_*.deb)
#   make bench-preview  build, then time the preview against mpv
#   make start-stop  build, then start and end the program 300 times, reporting any abort

MAKEFLAGS += --no-print-directory

BUILD_DIR ?= build
JOBS ?= 2
PREFIX ?= /usr/local

PACKAGES := build-essential cmake pkg-config \
	qt6-base-dev qt6-base-dev-tools libgl-dev \
	libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libswresample-dev libavutil-dev \
	libmpv-dev libturbojpeg0-dev libxcb1-dev libgtest-dev libgmock-dev \
	fonts-wine fonts-wqy-microhei xvfb xauth ffmpeg mpv \
	qt6-wayland sway grim wtype at-spi2-core python3-pyatspi dbus-daemon \
	desktop-file-utils appstream dpkg-dev file lintian time \
	fusefat dosfstools

.PHONY: all deps configure build run test test-sanitize bench bench-preview start-stop install package clean

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing:$$missing"; \
	    apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing || exit 1; \
	  else \
	    echo "Missing packages. Run: sudo apt-get install -y$$missing"; exit 1; \
	  fi; \
	fi

# The distribution's hardening flags (fortify, stack protector, relro and
# bind-now; the compiler makes PIE by default) for every build but the
# sanitizers', which bring their own instrumentation.
BUILDFLAGS = DEB_BUILD_MAINT_OPTIONS="hardening=+all reproducible=-fixfilepath,-fixdebugpath" dpkg-buildflags --get

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_C_FLAGS="$$($(BUILDFLAGS) CPPFLAGS) $$($(BUILDFLAGS) CFLAGS)" \
	  -DCMAKE_CXX_FLAGS="$$($(BUILDFLAGS) CPPFLAGS) $$($(BUILDFLAGS) CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$($(BUILDFLAGS) LDFLAGS)" \
	  -DCMAKE_SHARED_LINKER_FLAGS="$$($(BUILDFLAGS) LDFLAGS)" \
	  -DCMAKE_MODULE_LINKER_FLAGS="$$($(BUILDFLAGS) LDFLAGS)" >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display (DISPLAY and WAYLAND_DISPLAY are unset): the converter window needs a desktop; converting the sample clip with zelo-convert instead."; \
	  $(BUILD_DIR)/bin/zelo-convert $(BUILD_DIR)/sample/zelo-sample.avi; \
	else \
	  cd $(BUILD_DIR)/bin && ./zelo-converter; \
	fi

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	@if [ "$$CI" = "true" ]; then $(MAKE) test-sanitize; fi

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# (make test does this by itself when CI=true).
test-sanitize: deps
	@cmake -S . -B $(BUILD_DIR)-sanitize -DCMAKE_BUILD_TYPE=Debug -DZELO_SANITIZE=ON >/dev/null
	@cmake --build $(BUILD_DIR)-sanitize -j $(JOBS)
	@cd $(BUILD_DIR)-sanitize && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j $(JOBS)

# The engine side by side with the ffmpeg command-line tool (a few minutes).
bench: build
	@bench/run-bench.sh $(BUILD_DIR)

install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD_DIR) --prefix "$(PREFIX)"

package: build
	@cd $(BUILD_DIR) && cpack -G DEB

# The preview beside mpv on an X server of its own.
bench-preview: build
	@bench/preview-bench.sh $(BUILD_DIR)

# 300 starts and ends of the real program on an X server of its own.
start-stop: build
	@bench/start-stop.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR)
