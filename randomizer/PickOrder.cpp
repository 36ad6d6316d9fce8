#include "PickOrder.h"

#include <vector>

namespace mvpr {

std::size_t SeededRandom::Below(std::size_t bound) {
    return std::uniform_int_distribution<std::size_t>(0, bound - 1)(engine_);
}

std::size_t RandomOrder::At(std::size_t position) const {
    const auto it = moved_.find(position);
    return it == moved_.end() ? position : it->second;
}

std::optional<std::size_t> RandomOrder::Next() {
    if (drawn_ == count_) return std::nullopt;
    // Fisher-Yates, one step at a time: swap a random undrawn position into place.
    const std::size_t chosen = drawn_ + random_.Below(count_ - drawn_);
    const std::size_t entry = At(chosen);
    moved_[chosen] = At(drawn_);
    moved_.erase(drawn_);
    ++drawn_;
    return entry;
}

std::optional<std::size_t> PickEntry(std::size_t count, RandomSource& random,
                                     const std::function<bool(std::size_t)>& wasLastPick,
                                     const std::function<bool(std::size_t)>& usable) {
    RandomOrder order(count, random);
    std::vector<std::size_t> heldBack;
    while (const auto next = order.Next()) {
        if (wasLastPick(*next)) {
            heldBack.push_back(*next);
            continue;
        }
        if (usable(*next)) return next;
    }
    for (std::size_t entry : heldBack)
        if (usable(entry)) return entry;
    return std::nullopt;
}

std::string PickKey(const ScreenEntry& entry, bool wallpaper) {
    std::string key = entry.FullPath();
    if (wallpaper) key += ", " + entry.style;
    return key;
}

bool SamePickKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

}  // namespace mvpr
