# SPDX-License-Identifier: GPL-3.0-or-later
# Two commands for a newcomer: `make run` and `make test` (see README.md).
BUILD   ?= build
JOBS    ?= 2
PACKAGES = cmake g++ make qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev \
           glpk-utils fonts-liberation xvfb xauth qt6-translations-l10n \
           libxml2-utils libgmp-dev libxml2-dev lintian appstream

.PHONY: run test bench compare walk setup build install package
# The icon files' painter, and what the install and package tests run.
PACKAGES += qt6-svg-dev desktop-file-utils xdg-utils libfile-mimeinfo-perl shared-mime-info dpkg-dev file
# The steps exported as LaTeX are compiled, and the PDF read back, by the tests.
PACKAGES += texlive-latex-base texlive-latex-recommended poppler-utils
PREFIX  ?= /usr/local

setup:
	@missing="$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done | tr '\n' ' ')"; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing: $$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing || exit 1; \
	  else \
	    echo "Missing packages. Run: sudo apt-get install -y $$missing"; exit 1; \
	  fi; \
	fi

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display available (neither DISPLAY nor WAYLAND_DISPLAY is set); try: xvfb-run make run"; exit 1; \
	fi
	./$(BUILD)/optimara

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

bench: setup
	cmake -S . -B $(BUILD)-bench -DCMAKE_BUILD_TYPE=Release -DOPTIMARA_TESTS=OFF >/dev/null
	cmake --build $(BUILD)-bench -j$(JOBS) --target benchmarks
	@for b in $(BUILD)-bench/bench/bench_*; do \
	  [ -f "$$b" ] && [ -x "$$b" ] || continue; \
	  echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b || exit 1; \
	done

# The whole comparison with glpsol (thousands of generated problems, by the
# compact method, two phases and big M; `make test` runs a slice of it).
compare: build
	cmake --build $(BUILD) -j$(JOBS) --target compare_glpsol
	./$(BUILD)/tests/problem/compare_glpsol
	@echo "== Dos fases"; ./$(BUILD)/tests/problem/compare_glpsol 750 20261208 0 1
	@echo "== Gran M"; ./$(BUILD)/tests/problem/compare_glpsol 750 20261208 0 2

# Installs the program, its read-me, menu entry, icons and file type under
# PREFIX (DESTDIR=... stages it elsewhere).
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"
	@if [ -z "$(DESTDIR)" ]; then \
	  update-mime-database "$(PREFIX)/share/mime" 2>/dev/null || true; \
	  update-desktop-database "$(PREFIX)/share/applications" 2>/dev/null || true; \
	fi

# The Debian package optimara_<version>_amd64.deb, built in a Release
# folder of its own with the distribution's hardening flags (stack
# protector, fortified functions, read-only relocations, immediate binding).
# CMake takes no CPPFLAGS: they go with the compiler's flags.
package: export DEB_BUILD_MAINT_OPTIONS := hardening=+all
package: setup
	cmake -S . -B $(BUILD)-package -DCMAKE_BUILD_TYPE=Release -DOPTIMARA_TESTS=OFF -DOPTIMARA_BENCH=OFF \
	  -DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CPPFLAGS) $$(dpkg-buildflags --get CXXFLAGS)" \
	  -DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	cmake --build $(BUILD)-package -j$(JOBS) --target optimara icon_files doc_files
	cd $(BUILD)-package && cpack -G DEB
	@ls $(BUILD)-package/*.deb

# A long random walk over the real window (`make test` runs a short one).
WALK_ACTIONS ?= 100000
WALK_SEED    ?= 20261208
walk: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen OPTIMARA_WALK_ACTIONS=$(WALK_ACTIONS) OPTIMARA_WALK_SEED=$(WALK_SEED) \
	  ./tests/ui/test_ui --gtest_filter='RandomWalk.*'
