# The two commands of the README. Everything else is CMake's job.
BUILD_DIR ?= build
GENERATOR ?= Ninja
BUILD_TYPE ?= RelWithDebInfo

.PHONY: run test build deps bench clean

run: build
	cd $(BUILD_DIR)/Zettelwerk && ./zettelwerk

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure --timeout 600

bench: build
	$(BUILD_DIR)/bench/zettelwerk-bench

build: deps
	cmake -S . -B $(BUILD_DIR) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)
	cmake --build $(BUILD_DIR)

deps:
	./tools/install-deps.sh

clean:
	rm -rf $(BUILD_DIR)
