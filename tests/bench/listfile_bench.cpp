// Loading and saving a list file of 100,000 entries, each against a baseline measured in the
// same run: loading against reading the same bytes and sorting the same names with std::sort,
// saving against writing the same bytes. The ratios are what matters, not the times.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "lists/CategoryList.h"
#include "lists/ListFile.h"

namespace {

constexpr int kEntries = 100000;
const std::string kProgramDir = "C:\\MVPR\\";

std::string TempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

std::string ReadAll(const std::string& path) {
    std::string out;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char piece[64 * 1024];
        std::size_t n;
        while ((n = std::fread(piece, 1, sizeof piece, f)) > 0) out.append(piece, n);
        std::fclose(f);
    }
    return out;
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// 100,000 entries over the four lists, added in random order, in a few dozen folders; written
// once as the program writes it.
struct Data {
    std::array<mvpr::CategoryList, 4> lists;   // as the user built them, entry by entry
    std::array<mvpr::CategoryList, 4> loaded;  // as read back from the file
    std::string file;                          // as written: sorted sections
    std::string shuffled;                      // the same lines in random order, as a hand-made file might be
    std::vector<std::string> names;            // file names in file order
    std::vector<std::string> shuffledNames;    // file names in the shuffled file's order
    std::string path = TempPath("mvpr-listfile-bench.mvd");
    std::string shuffledPath = TempPath("mvpr-listfile-bench-shuffled.mvd");

    Data() {
        std::mt19937 rng(7);
        const char* styles[] = {"Centred", "Stretched", "Tiled", "Fit 2 Screen", "Mirror"};
        std::array<std::vector<mvpr::ScreenEntry>, 4> entries;
        std::array<std::vector<std::string>, 4> lines;
        for (int i = 0; i < kEntries; ++i) {
            const std::size_t list = rng() % 4;
            mvpr::ScreenEntry e{"PICTURE" + std::to_string(rng() % 1000000) + ".BMP",
                                "C:\\My Pictures\\Screens\\Set" + std::to_string(rng() % 40), "", false};
            if (list == 3) e.style = styles[rng() % 5];
            lines[list].push_back(e.FullPath() + (list == 3 ? ", " + e.style : std::string()));
            entries[list].push_back(std::move(e));
        }
        for (std::size_t s = 0; s < 4; ++s) {
            lists[s].AddMany(std::move(entries[s]));
            for (std::size_t i = 0; i < lists[s].size(); ++i) names.push_back(lists[s][i].fileName);
        }
        file = mvpr::FormatListFile(lists);
        const char* headers[] = {"[START]", "[WAIT]", "[SHUT]", "[WALLPAPER]"};
        for (std::size_t s = 0; s < 4; ++s) {
            std::shuffle(lines[s].begin(), lines[s].end(), rng);
            shuffled += std::string(headers[s]) + "\r\n";
            for (const auto& l : lines[s]) {
                shuffled += l + "\r\n";
                const std::size_t at = l.find_last_of('\\');
                shuffledNames.push_back(l.substr(at + 1, s == 3 ? l.find(',') - at - 1 : std::string::npos));
            }
        }
        WriteAll(path, file);
        WriteAll(shuffledPath, shuffled);
        mvpr::ListFileEntries read = mvpr::ParseListFile(file, kProgramDir);
        for (std::size_t s = 0; s < 4; ++s) loaded[s].AddMany(std::move(read[s]));
    }
    ~Data() {
        std::remove(path.c_str());
        std::remove(shuffledPath.c_str());
    }
};

Data& TheData() {
    static Data data;
    return data;
}

bool Less(const std::string& a, const std::string& b) {
    return mvpr::AlphabeticCompare(a, b) < 0;
}

// Freeing the lists is left out of both: the program does it once, at the end.
void Load(const std::string& path, benchmark::State& state) {
    for (auto _ : state) {
        auto lists = std::make_unique<std::array<mvpr::CategoryList, 4>>();
        // in pieces, as the program reads it
        mvpr::ListFileReader reader(kProgramDir);
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (!f) std::abort();
        char piece[64 * 1024];
        std::size_t n;
        while ((n = std::fread(piece, 1, sizeof piece, f)) > 0) reader.Feed(std::string_view(piece, n));
        std::fclose(f);
        reader.Finish();
        for (std::size_t s = 0; s < 4; ++s) (*lists)[s].AddMany(std::move(reader.Entries()[s]));
        benchmark::DoNotOptimize((*lists)[0].size());
        state.PauseTiming();
        lists.reset();
        state.ResumeTiming();
    }
}

void SortBaseline(const std::string& path, const std::vector<std::string>& names, benchmark::State& state) {
    for (auto _ : state) {
        std::string bytes = ReadAll(path);
        auto sorted = std::make_unique<std::vector<std::string>>(names);
        std::sort(sorted->begin(), sorted->end(), Less);
        benchmark::DoNotOptimize(bytes.data());
        benchmark::DoNotOptimize(sorted->data());
        state.PauseTiming();
        sorted.reset();
        state.ResumeTiming();
    }
}

void BM_LoadWrittenFile(benchmark::State& state) {
    Load(TheData().path, state);
}
void BM_BaselineReadAndSortWrittenFile(benchmark::State& state) {
    SortBaseline(TheData().path, TheData().names, state);
}
void BM_LoadShuffledFile(benchmark::State& state) {
    Load(TheData().shuffledPath, state);
}
void BM_BaselineReadAndSortShuffledFile(benchmark::State& state) {
    SortBaseline(TheData().shuffledPath, TheData().shuffledNames, state);
}

const std::string kSavePath = TempPath("mvpr-listfile-bench-save.mvd");

void BM_SaveLoadedLists(benchmark::State& state) {
    for (auto _ : state) WriteAll(kSavePath, mvpr::FormatListFile(TheData().loaded));
    std::remove(kSavePath.c_str());
}
// Entries added one by one lie all over the heap: the save then waits on memory.
void BM_SaveListsBuiltByAdding(benchmark::State& state) {
    for (auto _ : state) WriteAll(kSavePath, mvpr::FormatListFile(TheData().lists));
    std::remove(kSavePath.c_str());
}
void BM_BaselineWriteSameBytes(benchmark::State& state) {
    for (auto _ : state) WriteAll(kSavePath, TheData().file);
    std::remove(kSavePath.c_str());
}

BENCHMARK(BM_LoadWrittenFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineReadAndSortWrittenFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadShuffledFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineReadAndSortShuffledFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveLoadedLists)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveListsBuiltByAdding)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineWriteSameBytes)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
