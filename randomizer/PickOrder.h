#ifndef MVPR_RANDOMIZER_PICKORDER_H
#define MVPR_RANDOMIZER_PICKORDER_H

// How the randomizer chooses one entry of a category list: portable, with the random numbers
// handed in so that tests can script them.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>

#include "lists/ScreenEntry.h"

namespace mvpr {

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // Uniform in [0, bound); bound > 0.
    virtual std::size_t Below(std::size_t bound) = 0;
};

class SeededRandom : public RandomSource {
  public:
    explicit SeededRandom(std::uint64_t seed) : engine_(seed) {}
    std::size_t Below(std::size_t bound) override;

  private:
    std::mt19937_64 engine_;
};

// Positions 0..count-1 in random order, each once. Only the positions drawn so far cost memory,
// so drawing a few of a very long list stays cheap.
class RandomOrder {
  public:
    RandomOrder(std::size_t count, RandomSource& random) : count_(count), random_(random) {}
    std::optional<std::size_t> Next();

  private:
    std::size_t At(std::size_t position) const;

    std::size_t count_;
    std::size_t drawn_ = 0;
    RandomSource& random_;
    std::unordered_map<std::size_t, std::size_t> moved_;  // position -> entry, where they differ
};

// One of `count` entries: drawn in random order, the first that `usable` accepts. An entry that
// `wasLastPick` names is held back and tried only when no other is usable, so the same entry never
// comes twice in a row while another one can be used. The callbacks see only drawn entries.
std::optional<std::size_t> PickEntry(std::size_t count, RandomSource& random,
                                     const std::function<bool(std::size_t)>& wasLastPick,
                                     const std::function<bool(std::size_t)>& usable);

// What the randomizer remembers of an entry: its line in the list file (path, and for a wallpaper
// ", " and the style). Equal lines are one entry for the no-repeat rule.
std::string PickKey(const ScreenEntry& entry, bool wallpaper);
// Windows paths: ASCII letters compare without case.
bool SamePickKey(std::string_view a, std::string_view b);

}  // namespace mvpr

#endif
