#include "lists/CategoryList.h"

#include <algorithm>
#include <iterator>

#include "win/AsciiCase.h"

namespace mvpr {

int AlphabeticCompare(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
        const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::size_t CategoryList::Add(ScreenEntry entry) {
    auto at = std::upper_bound(entries_.begin(), entries_.end(), entry.fileName,
                               [this](const std::string& name, const std::unique_ptr<ScreenEntry>& e) {
                                   return compare_(name, e->fileName) < 0;
                               });
    const auto index = static_cast<std::size_t>(at - entries_.begin());
    entries_.insert(at, std::make_unique<ScreenEntry>(std::move(entry)));
    if (focused_ && *focused_ >= index) ++*focused_;
    return index;
}

void CategoryList::AddMany(std::vector<ScreenEntry> entries) {
    if (entries.empty()) return;
    std::vector<std::unique_ptr<ScreenEntry>> added;
    added.reserve(entries.size());
    for (auto& e : entries) added.push_back(std::make_unique<ScreenEntry>(std::move(e)));
    auto less = [this](const std::unique_ptr<ScreenEntry>& a, const std::unique_ptr<ScreenEntry>& b) {
        return compare_(a->fileName, b->fileName) < 0;
    };
    SortNewcomers(added);
    if (entries_.empty()) {
        entries_ = std::move(added);
        return;
    }
    // A stable merge by hand, so that the focused row can be followed to its new place.
    // Equal names: existing entries first, where Add() would also put newcomers after them.
    std::vector<std::unique_ptr<ScreenEntry>> merged;
    merged.reserve(entries_.size() + added.size());
    std::size_t i = 0, j = 0;
    std::optional<std::size_t> newFocus;
    while (i < entries_.size() || j < added.size()) {
        if (j == added.size() || (i < entries_.size() && !less(added[j], entries_[i]))) {
            if (focused_ && *focused_ == i) newFocus = merged.size();
            merged.push_back(std::move(entries_[i++]));
        } else {
            merged.push_back(std::move(added[j++]));
        }
    }
    entries_ = std::move(merged);
    focused_ = newFocus;
}

void CategoryList::SortNewcomers(std::vector<std::unique_ptr<ScreenEntry>>& added) const {
    if (sortKey_) {
        struct Keyed {
            std::string key;
            std::unique_ptr<ScreenEntry> entry;
        };
        std::vector<Keyed> keyed;
        keyed.reserve(added.size());
        for (auto& e : added) {
            auto key = sortKey_(e->fileName);
            if (!key) break;
            keyed.push_back({std::move(*key), nullptr});
        }
        if (keyed.size() == added.size()) {
            for (std::size_t i = 0; i < added.size(); ++i) keyed[i].entry = std::move(added[i]);
            std::stable_sort(keyed.begin(), keyed.end(),
                             [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
            for (std::size_t i = 0; i < added.size(); ++i) added[i] = std::move(keyed[i].entry);
            return;
        }
    }
    std::stable_sort(added.begin(), added.end(),
                     [this](const std::unique_ptr<ScreenEntry>& a, const std::unique_ptr<ScreenEntry>& b) {
                         return compare_(a->fileName, b->fileName) < 0;
                     });
}

void CategoryList::Clear() {
    entries_.clear();
    focused_.reset();
}

void CategoryList::RemoveAt(std::size_t index) {
    if (index >= entries_.size()) return;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
    if (focused_) {
        if (*focused_ == index)
            focused_.reset();
        else if (*focused_ > index)
            --*focused_;
    }
}

std::size_t CategoryList::RemoveSelected() {
    return RemoveIf([](const ScreenEntry& e) { return e.selected; });
}

std::size_t CategoryList::SelectedCount() const {
    std::size_t n = 0;
    for (const auto& e : entries_) n += e->selected ? 1 : 0;
    return n;
}

bool CategoryList::AnySelected() const {
    return FirstSelected().has_value();
}

bool CategoryList::AllSelected() const {
    return !entries_.empty() &&
           std::all_of(entries_.begin(), entries_.end(),
                       [](const std::unique_ptr<ScreenEntry>& e) { return e->selected; });
}

std::optional<std::size_t> CategoryList::FirstSelected() const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i]->selected) return i;
    return std::nullopt;
}

void CategoryList::SetSelected(std::size_t index, bool selected) {
    if (index < entries_.size()) entries_[index]->selected = selected;
}

void CategoryList::SetSelectedRange(std::size_t first, std::size_t last, bool selected) {
    if (entries_.empty() || first > last) return;
    last = std::min(last, entries_.size() - 1);
    for (std::size_t i = first; i <= last; ++i) entries_[i]->selected = selected;
}

void CategoryList::SetAllSelected(bool selected) {
    for (auto& e : entries_) e->selected = selected;
}

void CategoryList::InvertSelection() {
    for (auto& e : entries_) e->selected = !e->selected;
}

void CategoryList::SetFocused(std::optional<std::size_t> index) {
    if (index && *index >= entries_.size()) index.reset();
    focused_ = index;
}

std::size_t CategoryList::SetStyleOfSelected(std::string_view style) {
    std::size_t n = 0;
    for (auto& e : entries_) {
        if (!e->selected) continue;
        e->style = std::string(style);
        ++n;
    }
    return n;
}

}  // namespace mvpr
