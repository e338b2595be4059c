# Every target first installs what is missing (scripts/setup.sh), then configures and builds.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_OPTS ?=

.PHONY: setup build run test bench deb test-asan fuzz clean

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

# A Debian package of the installation (cmake --install) in $(BUILD).
deb: build
	cd $(BUILD) && cpack -G DEB

test-asan: setup
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON $(CMAKE_OPTS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

# Fuzzes the key lists' stream readers, the ".kbn" keyword file reader, the source loader
# (load and save through the Lines view), the built-in PC's CPU running random bytes as
# code, the object reader with the linker behind it, then the assembler's reader with the
# listing and object writers behind it, for about a minute each. New inputs go to
# build-fuzz/corpus, build-fuzz/kbn_corpus, build-fuzz/source_corpus, build-fuzz/cpu_corpus,
# build-fuzz/object_corpus and build-fuzz/assembler_corpus; fuzz/corpus, fuzz/kbn_corpus,
# fuzz/source_corpus, fuzz/object_corpus and fuzz/assembler_corpus hold the small seed sets.
fuzz: setup
	mkdir -p build-fuzz/corpus
	clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
		fuzz/KeyListStreamFuzz.cpp src/editor/core/keyfiles/KeywordList.cpp src/editor/core/keyfiles/StartStopKeyList.cpp \
		src/editor/core/keyfiles/KeyInfoNameValues.cpp src/editor/core/text/TaggedValueReader.cpp \
		src/editor/core/text/TaggedValueWriter.cpp src/editor/core/text/UpperCase.cpp src/editor/core/text/CodePages.cpp \
		-o build-fuzz/key_list_stream_fuzz
	./build-fuzz/key_list_stream_fuzz -max_total_time=60 -timeout=10 build-fuzz/corpus fuzz/corpus
	mkdir -p build-fuzz/kbn_corpus
	clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
		fuzz/KbnFileFuzz.cpp src/editor/core/keyfiles/KeywordBinaryFile.cpp src/editor/core/keyfiles/KeywordFileAccess.cpp \
		src/editor/core/keyfiles/KeyEntry.cpp src/editor/core/keyfiles/KeywordList.cpp src/editor/core/keyfiles/StartStopKeyList.cpp \
		src/editor/core/keyfiles/KeyInfoNameValues.cpp src/editor/core/text/TaggedValueReader.cpp \
		src/editor/core/text/TaggedValueWriter.cpp src/editor/core/text/UpperCase.cpp src/editor/core/text/CodePages.cpp \
		-o build-fuzz/kbn_file_fuzz
	./build-fuzz/kbn_file_fuzz -max_total_time=60 -timeout=10 build-fuzz/kbn_corpus fuzz/kbn_corpus
	mkdir -p build-fuzz/source_corpus
	clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
		fuzz/SourceLoadFuzz.cpp src/editor/core/editing/SourceMemoCore.cpp src/editor/core/editing/SourceMemoReplace.cpp \
		src/editor/core/editing/SourceMemoStreaming.cpp src/editor/core/editing/SourceMemoStrings.cpp \
		src/editor/core/editing/SourceLinesStrings.cpp src/editor/core/editing/SourceNavigator.cpp \
		src/editor/core/store/ParagraphRecord.cpp src/editor/core/store/ParagraphsList.cpp \
		src/editor/core/store/ParagraphsReplace.cpp src/editor/core/store/ParagraphsStreaming.cpp \
		src/editor/core/store/DynArray2.cpp src/editor/core/store/DynArray2Positions.cpp \
		src/editor/core/editing/StoreConsistency.cpp src/editor/core/editing/UndoList.cpp \
		src/editor/core/text/ColumnArithmetic.cpp src/editor/core/text/StyleCodes.cpp src/editor/core/text/UpperCase.cpp \
		src/editor/core/store/UpperCaseCache.cpp src/editor/core/text/CodePages.cpp \
		src/editor/core/text/TaggedValueReader.cpp src/editor/core/text/TaggedValueWriter.cpp \
		-o build-fuzz/source_load_fuzz
	./build-fuzz/source_load_fuzz -max_total_time=60 -timeout=10 build-fuzz/source_corpus fuzz/source_corpus
	mkdir -p build-fuzz/cpu_corpus
	clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
		fuzz/CpuFuzz.cpp src/machine/Cpu.cpp src/machine/CpuExecute.cpp src/machine/InstructionGroups.cpp \
		src/machine/InstructionStrings.cpp src/machine/Memory.cpp \
		-o build-fuzz/cpu_fuzz
	./build-fuzz/cpu_fuzz -max_total_time=60 -timeout=10 build-fuzz/cpu_corpus
	mkdir -p build-fuzz/object_corpus
	clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
		fuzz/ObjectLinkFuzz.cpp $(wildcard src/assembler/omf/*.cpp) src/assembler/link/LinkModule.cpp \
		src/assembler/link/NameCase.cpp src/assembler/link/SegmentLayout.cpp src/assembler/link/SymbolTable.cpp \
		src/assembler/link/AddressResolver.cpp src/assembler/link/ImageBuilder.cpp \
		-o build-fuzz/object_link_fuzz
	./build-fuzz/object_link_fuzz -max_total_time=60 -timeout=10 build-fuzz/object_corpus fuzz/object_corpus
	mkdir -p build-fuzz/assembler_corpus
	clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -Isrc \
		fuzz/AssemblerSourceFuzz.cpp $(wildcard src/assembler/*.cpp) $(wildcard src/assembler/omf/*.cpp) \
		-o build-fuzz/assembler_source_fuzz
	./build-fuzz/assembler_source_fuzz -max_total_time=60 -timeout=10 build-fuzz/assembler_corpus fuzz/assembler_corpus
