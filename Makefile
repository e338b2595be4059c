# Every target first installs what is missing (scripts/setup.sh), then configures and builds.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_OPTS ?=

.PHONY: setup build run test bench test-asan fuzz clean

setup:
	@bash scripts/setup.sh

build: setup
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_OPTS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/velmora $(ARGS)

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: build
	cmake --build $(BUILD) -j $(JOBS) --target benchmarks
	./$(BUILD)/bench/velmora_bench

test-asan: setup
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON $(CMAKE_OPTS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# Fuzzes the key lists' stream readers, then the ".kbn" keyword file reader, for about a
# minute each. New inputs go to build-fuzz/corpus and build-fuzz/kbn_corpus; fuzz/corpus and
# fuzz/kbn_corpus hold the small seed sets.
fuzz: setup
	mkdir -p build-fuzz/corpus
	clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
		fuzz/KeyListStreamFuzz.cpp src/editor/core/KeywordList.cpp src/editor/core/StartStopKeyList.cpp \
		src/editor/core/KeyInfoNameValues.cpp src/editor/core/TaggedValueReader.cpp \
		src/editor/core/TaggedValueWriter.cpp src/editor/core/UpperCase.cpp src/editor/core/CodePages.cpp \
		-o build-fuzz/key_list_stream_fuzz
	./build-fuzz/key_list_stream_fuzz -max_total_time=60 -timeout=10 build-fuzz/corpus fuzz/corpus
	mkdir -p build-fuzz/kbn_corpus
	clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
		fuzz/KbnFileFuzz.cpp src/editor/core/KeywordBinaryFile.cpp src/editor/core/KeywordFileAccess.cpp \
		src/editor/core/KeyEntry.cpp src/editor/core/KeywordList.cpp src/editor/core/StartStopKeyList.cpp \
		src/editor/core/KeyInfoNameValues.cpp src/editor/core/TaggedValueReader.cpp \
		src/editor/core/TaggedValueWriter.cpp src/editor/core/UpperCase.cpp src/editor/core/CodePages.cpp \
		-o build-fuzz/kbn_file_fuzz
	./build-fuzz/kbn_file_fuzz -max_total_time=60 -timeout=10 build-fuzz/kbn_corpus fuzz/kbn_corpus
