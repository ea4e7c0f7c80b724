# The two commands of the README: `make run` and `make test`. Both install
# what is missing first (scripts/install-deps).

.PHONY: all deps build run package test test-dev test-asan bench clean format

all: build

deps:
	@scripts/install-deps

build: deps
	cmake --preset release
	cmake --build --preset release

# Without a display of its own (a server, CI) the program is started on the
# virtual desktop of tests/desktop-session.
run: build
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
		build/release/src/app/tickwell; \
	else \
		echo "No display: starting Tickwell on a virtual desktop (tests/desktop-session). Ctrl+C ends it."; \
		tests/desktop-session build/release/src/app/tickwell; \
	fi

# The Debian package, build/release/tickwell_<version>_<arch>.deb.
package: build
	cd build/release && cpack -G DEB

test-dev: deps
	cmake --preset dev
	cmake --build --preset dev
	ctest --preset dev

test-asan: deps
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# Both builds, the sanitizer one last; the closing lines are CTest's summary.
test: test-dev test-asan

# Benchmarks against a minimal Qt tray program, on the virtual desktop;
# writes docs/BENCHMARKS.md.
bench: deps
	cmake --preset bench
	cmake --build --preset bench
	tests/desktop-session bench/run-benchmarks

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build
