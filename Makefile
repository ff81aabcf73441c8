# The commands of the README. Everything else is CMake's job.
BUILD_DIR ?= build
GENERATOR ?= Ninja
BUILD_TYPE ?= RelWithDebInfo
# make install: where to (the Debian package always uses /usr).
PREFIX ?= /usr/local
# The second build of the tests with AddressSanitizer and UndefinedBehaviorSanitizer. Left out there:
# the web engine's tests (Chromium under the sanitizers) and the save killed at every moment (80 s there):
# the save it kills runs whole in the other tests under the sanitizers, and the normal run has it.
ASAN_DIR ?= build-asan
# The libFuzzer targets (clang) and how long each runs, with which seed.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_SEED ?= 1

.PHONY: run test build deps bench clean install uninstall package sanitize fuzz

run: build
	cd $(BUILD_DIR)/Zettelwerk && ./zettelwerk

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 600

bench: build
	$(BUILD_DIR)/bench/zettelwerk-bench

build: deps
	cmake -S . -B $(BUILD_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD_DIR)

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)
	@# Kept apart: building the Debian package writes CMake's manifest again, with the package's paths.
	cp $(BUILD_DIR)/install_manifest.txt $(BUILD_DIR)/installed_files.txt

# Removes what `make install` put under PREFIX (the program folder is read-only, so it is opened first).
uninstall:
	@test -f $(BUILD_DIR)/installed_files.txt || { echo "nothing installed from $(BUILD_DIR)"; exit 1; }
	chmod -R u+w $(PREFIX)/lib/zettelwerk 2>/dev/null || true
	grep '^$(PREFIX)/' $(BUILD_DIR)/installed_files.txt | xargs -d '\n' rm -f
	rm -rf $(PREFIX)/lib/zettelwerk
	rm -f $(BUILD_DIR)/installed_files.txt
	-update-mime-database $(PREFIX)/share/mime 2>/dev/null
	-update-desktop-database $(PREFIX)/share/applications 2>/dev/null

package: build
	cd $(BUILD_DIR) && cpack -G DEB

sanitize: deps
	cmake -S . -B $(ASAN_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZW_SANITIZE=ON -DZW_BUILD_BENCH=OFF
	cmake --build $(ASAN_DIR)
	cd $(ASAN_DIR) && \
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=0 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tools/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	ctest --output-on-failure --timeout 900 -LE package -E 'WebPreviewTest|InWebEngine|CrashSafety'

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZW_FUZZ=ON
	cmake --build $(FUZZ_DIR) --target fuzz_template fuzz_render fuzz_picture fuzz_recipients fuzz_inbox
	./tools/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_SEED)

deps:
	./tools/install-deps.sh

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
