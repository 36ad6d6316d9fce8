#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "PickOrder.h"

namespace mvpr {
namespace {

// Hands out the scripted numbers, then zeros.
class ScriptedRandom : public RandomSource {
  public:
    explicit ScriptedRandom(std::vector<std::size_t> draws) : draws_(draws.begin(), draws.end()) {}
    std::size_t Below(std::size_t bound) override {
        if (draws_.empty()) return 0;
        const std::size_t r = draws_.front();
        draws_.pop_front();
        EXPECT_LT(r, bound);
        return r;
    }

  private:
    std::deque<std::size_t> draws_;
};

TEST(RandomizerPick, DrawsHoldsBackTheLastPickAndExaminesOnlyDrawnEntries) {
    const std::optional<std::size_t> none;
    struct Case {
        const char* name;
        std::size_t count;
        std::vector<std::size_t> draws;
        std::set<std::size_t> lastPick, usable;
        std::optional<std::size_t> picked;
        std::vector<std::size_t> examined;
    } cases[] = {
        {"empty list", 0, {}, {}, {}, none, {}},
        {"first draw usable", 5, {3}, {}, {0, 1, 2, 3, 4}, 3, {3}},
        {"unusable ones skipped once each", 4, {1, 0, 0}, {}, {2}, 2, {1, 0, 2}},
        {"none usable: each examined once", 3, {2, 1, 0}, {}, {}, none, {2, 0, 1}},
        {"last pick held back unexamined", 3, {1, 0}, {1}, {0, 1, 2}, 0, {0}},
        {"last pick again when no other usable", 3, {0, 0, 0}, {0}, {0}, 0, {1, 2, 0}},
        {"single entry, last pick, used again", 1, {}, {0}, {0}, 0, {0}},
        {"equal lines held back together", 3, {0, 0, 0}, {0, 2}, {0, 2}, 0, {1, 0}},
        {"a huge list costs one examination", 1000000, {999999}, {}, {999999}, 999999, {999999}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedRandom random(c.draws);
        std::vector<std::size_t> examined;
        const auto picked = PickEntry(
            c.count, random, [&](std::size_t i) { return c.lastPick.count(i) > 0; },
            [&](std::size_t i) {
                examined.push_back(i);
                return c.usable.count(i) > 0;
            });
        EXPECT_EQ(picked, c.picked);
        EXPECT_EQ(examined, c.examined);
    }
}

TEST(RandomizerPick, SeededOrderIsAPermutationAndRepeatedRunsNeverRepeat) {
    SeededRandom random(12345);
    RandomOrder order(1000, random);
    std::vector<std::size_t> seen;
    while (auto next = order.Next()) seen.push_back(*next);
    std::sort(seen.begin(), seen.end());
    ASSERT_EQ(seen.size(), 1000u);
    for (std::size_t i = 0; i < seen.size(); ++i) ASSERT_EQ(seen[i], i);

    // Run after run with the previous pick remembered: entry 1 is never usable, so 0, 2 and 3 take
    // turns, never twice in a row, each often.
    std::size_t last = 99;
    std::vector<int> times(4);
    for (int run = 0; run < 600; ++run) {
        const auto picked = PickEntry(
            4, random, [&](std::size_t i) { return i == last; }, [](std::size_t i) { return i != 1; });
        ASSERT_TRUE(picked);
        ASSERT_NE(*picked, last);
        last = *picked;
        ++times[last];
    }
    EXPECT_EQ(times[1], 0);
    for (std::size_t i : {0, 2, 3}) EXPECT_GT(times[i], 140) << i;
}

TEST(RandomizerPick, KeysAreListLinesComparedWithoutCase) {
    const ScreenEntry screen{"LOGO1.BMP", "C:\\PICS", "", false};
    const ScreenEntry wall{"SEA.JPG", "C:\\", "Tiled", false};
    EXPECT_EQ(PickKey(screen, false), "C:\\PICS\\LOGO1.BMP");
    EXPECT_EQ(PickKey(wall, true), "C:\\SEA.JPG, Tiled");
    EXPECT_TRUE(SamePickKey("C:\\pics\\logo1.bmp", PickKey(screen, false)));
    EXPECT_FALSE(SamePickKey("C:\\SEA.JPG, Mirror", PickKey(wall, true)));
    EXPECT_FALSE(SamePickKey("", PickKey(screen, false)));
}

}  // namespace
}  // namespace mvpr
