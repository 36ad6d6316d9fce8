// Whole-program timings as a user meets them, each against its baseline measured in the same run.
// A benchmark, not a test: it prints figures and ratios and judges nothing.
//   start-up    MVPR.exe from its process start until the caption shows the version (lists
//               loaded, window shown): 4 x 25,000 entries against an empty list file; goal 1.3 x.
//   randomizer  MVRandom.exe from its start to its exit: 4 x 25,000 entries nearly all of whose
//               files are gone (a drive unplugged, folders renamed, files deleted) against a short
//               list of the few that are there; goal at most 2 x the short list + 0.2 s.
// Runs in the Wine prefix like the end-to-end tests and puts back what the programs changed:
//   scripts/lib/bench-programs.sh [rounds]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ProgramDriver.h"

namespace mvpr::test {
namespace {

double Seconds(const FILETIME& t) {
    return static_cast<double>((ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 1e7;
}

double Now() {
    FILETIME t{};
    GetSystemTimeAsFileTime(&t);
    return Seconds(t);
}

double ProcessStart(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    return Seconds(created);
}

// Seconds from the selector's start until its caption shows the version; negative on failure.
double StartUp(const std::string& lists) {
    TempDir folder;
    if (!lists.empty()) WriteFile(folder / "MVDATA.MVD", lists);
    ProgramDriver program;
    if (!program.Start(folder.path(), "")) return -1;
    double seconds = -1;
    HWND main = nullptr;
    for (int t = 0; t < 120000; t += 2, Sleep(2)) {
        if (!main) main = program.WaitForWindow("TFormSelect", 0);
        if (main && WindowText(main) == "Morvellan Selector 2.7") {
            seconds = Now() - ProcessStart(program.process());
            break;
        }
    }
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    program.WaitForExit(20000);
    return seconds;
}

// Seconds from the randomizer's start to its exit; negative on failure.
double Randomize(const std::string& folder) {
    ProgramDriver program;
    if (!program.Start(folder, "", "MVRandom.exe") || program.WaitForExit(120000) != 0) return -1;
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(program.process(), &created, &exited, &kernel, &user);
    return Seconds(exited) - Seconds(created);
}

using LineOf = std::string (*)(int i, bool wall);

// The four categories' lists of `count` entries each.
std::string FourLists(int count, LineOf line) {
    std::string text;
    for (const char* header : {"[START]", "[WAIT]", "[SHUT]", "[WALLPAPER]"}) {
        text += std::string(header) + "\r\n";
        for (int i = 0; i < count; ++i) text += line(i, header[1] == 'W' && header[2] == 'A') + "\r\n";
        text += "\r\n";
    }
    return text;
}

std::string pics;  // the folder of the files that are there

// The big start-up lists: names spread over 40 folders, not in order, none looked at.
std::string StartLine(int i, bool wall) {
    const unsigned v = static_cast<unsigned>(i) * 2654435761u;
    return "C:\\PICTURES\\SET" + std::to_string(v % 40) + "\\Pic" + std::to_string(v) + ".bmp" +
           (wall ? ", Tiled" : "");
}

// Nearly all gone: a third on a drive that is not there, a third in folders that were renamed, a
// third deleted from a folder that is; every 5,000th entry is there.
std::string MissingLine(int i, bool wall) {
    const std::string file = wall ? "wall.bmp, Tiled" : "screen.bmp";
    if (i % 5000 == 4999) return pics + "\\" + file;
    if (i % 3 == 0) return "Q:\\COLLECT\\SET" + std::to_string(i % 97) + "\\" + std::to_string(i) + file;
    if (i % 3 == 1) return pics + "\\GONE" + std::to_string(i % 89) + "\\" + std::to_string(i) + file;
    return pics + "\\" + std::to_string(i) + file;
}

std::string ShortLine(int, bool wall) {
    return pics + "\\" + (wall ? "wall.bmp, Tiled" : "screen.bmp");
}

void Report(const char* what, double baseline, double measured, const char* goal) {
    std::printf("%-11s baseline %7.3f s  measured %7.3f s  ratio %5.2f  extra %6.3f s  (%s)\n", what,
                baseline, measured, measured / baseline, measured - baseline, goal);
}

int Run(int rounds) {
    const MachineSnapshot machine;
    TempDir pictures;
    pics = pictures.path();
    WriteFile(pictures / "screen.bmp", BlankBmp(320, 400, 8));
    WriteFile(pictures / "wall.bmp", BlankBmp(400, 300, 24));

    // The first start backs up the machine's screens; the timed ones all find the record made.
    if (StartUp("") < 0) return std::fprintf(stderr, "MVPR.exe did not start\n"), 1;
    const std::string big = FourLists(25000, &StartLine);
    double empty = 1e9, full = 1e9;
    for (int r = 0; r < rounds; ++r) {
        empty = std::min(empty, StartUp(""));
        full = std::min(full, StartUp(big));
    }
    if (empty <= 0 || full <= 0) return std::fprintf(stderr, "a start did not finish\n"), 1;
    Report("start-up", empty, full, "goal: ratio at most 1.3");

    RecordMachineWithoutScreens();
    TempDir shortDir, missingDir;
    WriteFile(shortDir / "MVDATA.MVD", FourLists(5, &ShortLine));
    WriteFile(missingDir / "MVDATA.MVD", FourLists(25000, &MissingLine));
    double few = 1e9, missing = 1e9;
    for (int r = 0; r < rounds; ++r) {
        few = std::min(few, Randomize(shortDir.path()));
        missing = std::min(missing, Randomize(missingDir.path()));
    }
    if (few <= 0 || missing <= 0) return std::fprintf(stderr, "a randomizer run failed\n"), 1;
    Report("randomizer", few, missing, "goal: at most 2 x baseline + 0.2 s");
    std::printf("randomizer  limit %.3f s: %s\n", 2 * few + 0.2,
                missing <= 2 * few + 0.2 ? "met" : "NOT met");
    return 0;
}

}  // namespace
}  // namespace mvpr::test

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::printf("best of %d rounds each, baseline and measured taken in turn\n", rounds);
    return mvpr::test::Run(rounds);
}
