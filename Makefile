# The two commands of the README: `make run` and `make test`. Both install whatever Debian
# packages are missing, configure and build first.

BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
# xvfb, xauth: the window tests' display; x11-utils: finding the windows of a started program;
# locales-all, fonts-noto-cjk: Chinese and Japanese; wx3.2-i18n: the toolkit's own texts in them;
# libgtk-3-dev: ending a native message box when the session stops the program; openbox: the
# window manager of the resize tests.
PACKAGES   := cmake make g++ pkg-config libwxgtk3.2-dev libexpat1-dev libgtest-dev libbenchmark-dev \
              gettext locales bc time xvfb xauth x11-apps x11-utils imagemagick locales-all \
              fonts-noto-cjk wx3.2-i18n libgtk-3-dev openbox
SUDO       := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: all deps build run test clean

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && \
	  $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $$missing; \
	fi
	@# The CSV tests check that a decimal-comma locale leaves the exported numbers alone.
	@locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$$' || $(SUDO) localedef -i de_DE -f UTF-8 de_DE.UTF-8

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "Tallywick is a desktop program: start it from a desktop session (DISPLAY is not set)."; \
	else \
	  cd $(BUILD)/run && ./tallywick; \
	fi

# Every test, then every test again, the windows' too, under AddressSanitizer and UBSan, where
# any finding (a leak included) fails the test that met it.
test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DTALLYWICK_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j$(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
