# The two commands of the README: `make run` and `make test`. Both install
# what is missing first (scripts/install-deps).

.PHONY: all deps deps-windows build run package test test-dev test-asan windows test-windows fuzz reliability bench clean format

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
# The release build comes first: the package test (app_package) checks the
# package of build/release, the one `make package` makes.
test: build test-dev test-asan

deps-windows:
	@scripts/install-deps windows

# The Windows program, cross-built with MinGW-w64 against Qt for Windows,
# which scripts/build-qt-windows builds once from Debian's own source into a
# cache outside the clone (~/.cache/tickwell; about 20 minutes the first
# time). build/windows/Tickwell holds the program with all it needs, and
# build/windows/tickwell-<version>-setup.exe installs it.
windows: deps deps-windows
	cmake --preset windows -DCMAKE_PREFIX_PATH="$$(scripts/build-qt-windows)"
	cmake --build --preset windows --target tickwell tickwell_setup
	cmake --install build/windows --component Tickwell --prefix build/windows/Tickwell

# The Windows build's tests, run under Wine; the release build's tickwell-sim
# is the Linux one the Windows one is compared with.
test-windows: build windows
	cmake --build --preset windows
	ctest --preset windows

# The libFuzzer targets of tests/fuzz, built with clang and the sanitizers,
# each run for FUZZ_SECONDS (5 minutes unless told); their figures go to
# docs/RELIABILITY.md.
FUZZ_SECONDS ?= 300
fuzz:
	@scripts/install-deps fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz
	FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/run-fuzz

# Fault injection and time travel with their full counts (a few minutes);
# what each tried and lost goes to docs/RELIABILITY.md.
reliability: deps
	@scripts/install-deps reliability
	cmake --preset dev
	cmake --build --preset dev
	scripts/run-reliability

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
