#include "lists/CategoryList.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>

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

namespace {

// Whether the names stand in the comparison's order (equal ones in any order, which is the order
// they keep); if so `order` is 0..count-1.
template <typename NameAt>
bool InOrder(NameCompare compare, std::size_t count, NameAt nameAt, std::vector<std::size_t>& order) {
    std::string previous, next;  // reused: no string made per name
    for (std::size_t i = 0; i < count; ++i, previous.swap(next)) {
        next.assign(nameAt(i));
        if (i > 0 && compare(previous, next) > 0) return false;
    }
    order.resize(count);
    for (std::size_t i = 0; i < count; ++i) order[i] = i;
    return true;
}

// Eight bytes of a key from `at` as one number in their order, zeros past its end.
std::uint64_t KeyWord(std::string_view key, std::size_t at) {
    const std::size_t n = at < key.size() ? std::min<std::size_t>(8, key.size() - at) : 0;
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < 8; ++i)
        word = word << 8 | (i < n ? static_cast<unsigned char>(key[at + i]) : 0u);
    return word;
}

// Positions 0..count-1 in the byte order of their keys, equal keys in position order; false,
// and nothing sorted, when some name has no key.
template <typename NameAt>
bool OrderByKeys(NameSortKey sortKey, std::size_t count, NameAt nameAt, std::vector<std::size_t>& order) {
    if (!sortKey || count > UINT32_MAX) return false;
    std::string keys;  // all keys end to end: one buffer, not a string per name
    // Room for keys of four bytes a character and some, which few locales' keys outgrow: the
    // buffer is not moved as it fills (fresh memory costs more than making the keys).
    std::size_t chars = 0;
    for (std::size_t i = 0; i < count; ++i) chars += nameAt(i).size();
    keys.reserve(chars * 4 + count * 32);
    std::vector<std::size_t> ends;
    ends.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (!sortKey(nameAt(i), keys)) return false;
        ends.push_back(keys.size());
    }
    const std::string_view all(keys);
    const auto key = [&](std::size_t i) {
        const std::size_t begin = i ? ends[i - 1] : 0;
        return all.substr(begin, ends[i] - begin);
    };
    // Sorted eight key bytes at a time, as numbers beside the positions: comparisons then touch
    // neither the keys nor the runtime's memcmp. Items that agree so far (same bytes, each key
    // going on) are sorted again by their next eight bytes.
    struct Item {
        std::uint64_t word;  // the key's bytes from the offset the run is sorted at
        std::uint32_t rest;  // how many bytes the key has from there, 9 for more than eight
        std::uint32_t index;
    };
    const auto less = [](const Item& a, const Item& b) {
        if (a.word != b.word) return a.word < b.word;
        return a.rest != b.rest ? a.rest < b.rest : a.index < b.index;
    };
    std::vector<Item> items(count);
    for (std::size_t i = 0; i < count; ++i) items[i].index = static_cast<std::uint32_t>(i);
    struct Run {
        std::size_t first, last, offset;
    };
    std::vector<Run> runs{{0, count, 0}};
    while (!runs.empty()) {
        const Run run = runs.back();
        runs.pop_back();
        for (std::size_t i = run.first; i < run.last; ++i) {
            const std::string_view k = key(items[i].index);
            items[i].word = KeyWord(k, run.offset);
            items[i].rest = static_cast<std::uint32_t>(std::min<std::size_t>(k.size() - run.offset, 9));
        }
        std::sort(items.begin() + static_cast<std::ptrdiff_t>(run.first),
                  items.begin() + static_cast<std::ptrdiff_t>(run.last), less);
        // Equal words of keys that end there are equal keys, already in position order.
        for (std::size_t i = run.first, j; i < run.last; i = j) {
            for (j = i + 1; j < run.last && items[j].word == items[i].word && items[j].rest == items[i].rest;)
                ++j;
            if (j - i > 1 && items[i].rest > 8) runs.push_back({i, j, run.offset + 8});
        }
    }
    order.resize(count);
    for (std::size_t i = 0; i < count; ++i) order[i] = items[i].index;
    return true;
}

}  // namespace

std::size_t CategoryList::Add(ScreenEntry entry) {
    Settle();
    MakeAll();
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
    Settle();
    std::vector<std::unique_ptr<ScreenEntry>> added;
    added.reserve(entries.size());
    for (auto& e : entries) added.push_back(std::make_unique<ScreenEntry>(std::move(e)));
    SortNewcomers(added);
    Merge(std::move(added));
}

void CategoryList::AddLines(ListLines lines) {
    if (lines.empty()) return;
    pendingCount_ += lines.size();
    sources_.push_back(std::move(lines));
}

void CategoryList::Settle() const {
    if (pendingCount_ == 0) return;
    std::vector<LineRef> refs;
    refs.reserve(pendingCount_);
    for (std::size_t s = pendingFrom_; s < sources_.size(); ++s)
        for (std::size_t i = 0; i < sources_[s].size(); ++i)
            refs.push_back({static_cast<std::uint32_t>(s), static_cast<std::uint32_t>(i)});
    pendingFrom_ = sources_.size();
    pendingCount_ = 0;
    const auto line = [this](const LineRef& r) -> const ListLines& { return sources_[r.source]; };
    const auto nameAt = [&](std::size_t i) { return line(refs[i]).Parts(refs[i].line).fileName; };
    std::vector<std::size_t> order;
    // A file this program saved holds its lists in order: a look at each pair of neighbours
    // costs far less than the keys, and the first pair out of order ends it. Otherwise keys from
    // the lines themselves: no entry is made to be sorted.
    const bool keyed =
        InOrder(compare_, refs.size(), nameAt, order) || OrderByKeys(sortKey_, refs.size(), nameAt, order);
    if (keyed && entries_.empty()) {
        // Only the order is kept; each entry is made when it is first read.
        entries_.resize(refs.size());
        lineOf_.resize(refs.size());
        for (std::size_t k = 0; k < order.size(); ++k) lineOf_[k] = refs[order[k]];
        unmade_ = refs.size();
        return;
    }
    std::vector<std::unique_ptr<ScreenEntry>> added;
    added.reserve(refs.size());
    if (keyed) {
        for (std::size_t i : order)
            added.push_back(std::make_unique<ScreenEntry>(line(refs[i]).Entry(refs[i].line)));
    } else {
        for (const LineRef& r : refs) added.push_back(std::make_unique<ScreenEntry>(line(r).Entry(r.line)));
        SortNewcomers(added);
    }
    Merge(std::move(added));
}

ScreenEntry& CategoryList::Made(std::size_t i) const {
    std::unique_ptr<ScreenEntry>& entry = entries_[i];
    if (!entry) {
        const LineRef r = lineOf_[i];
        entry = std::make_unique<ScreenEntry>(sources_[r.source].Entry(r.line));
        if (--unmade_ == 0) DropLines();
    }
    return *entry;
}

void CategoryList::MakeAll() const {
    for (std::size_t i = 0; i < entries_.size() && unmade_ > 0; ++i) Made(i);
}

void CategoryList::DropLines() const {
    if (unmade_ > 0 || pendingCount_ > 0) return;
    sources_.clear();
    pendingFrom_ = 0;
    lineOf_ = {};
}

void CategoryList::Merge(std::vector<std::unique_ptr<ScreenEntry>> added) const {
    if (entries_.empty()) {
        entries_ = std::move(added);
        DropLines();
        return;
    }
    MakeAll();
    auto less = [this](const std::unique_ptr<ScreenEntry>& a, const std::unique_ptr<ScreenEntry>& b) {
        return compare_(a->fileName, b->fileName) < 0;
    };
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
    DropLines();
}

void CategoryList::SortNewcomers(std::vector<std::unique_ptr<ScreenEntry>>& added) const {
    std::vector<std::size_t> order;
    if (OrderByKeys(
            sortKey_, added.size(), [&](std::size_t i) { return std::string_view(added[i]->fileName); },
            order)) {
        std::vector<std::unique_ptr<ScreenEntry>> sorted;
        sorted.reserve(added.size());
        for (std::size_t i : order) sorted.push_back(std::move(added[i]));
        added = std::move(sorted);
        return;
    }
    std::stable_sort(added.begin(), added.end(),
                     [this](const std::unique_ptr<ScreenEntry>& a, const std::unique_ptr<ScreenEntry>& b) {
                         return compare_(a->fileName, b->fileName) < 0;
                     });
}

CategoryList::Longest CategoryList::LongestTexts() const {
    Longest longest;
    // Among texts of one length the greatest bytes: the same answer in any order.
    const auto take = [](std::string_view& best, std::string_view text) {
        if (text.size() > best.size() || (text.size() == best.size() && text > best)) best = text;
    };
    const auto takeLine = [&](const ListLines& lines, std::size_t i) {
        const EntryParts parts = lines.Parts(i);
        take(longest.fileName, parts.fileName);
        take(longest.folder, parts.folder.empty() ? std::string_view(lines.ProgramDir()) : parts.folder);
        take(longest.style, parts.style);
    };
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (const auto& e = entries_[i]) {
            take(longest.fileName, e->fileName);
            take(longest.folder, e->folder);
            take(longest.style, e->style);
        } else {
            takeLine(sources_[lineOf_[i].source], lineOf_[i].line);
        }
    }
    for (std::size_t s = pendingFrom_; s < sources_.size(); ++s)
        for (std::size_t i = 0; i < sources_[s].size(); ++i) takeLine(sources_[s], i);
    return longest;
}

void CategoryList::Clear() {
    entries_.clear();
    sources_.clear();
    pendingFrom_ = pendingCount_ = unmade_ = 0;
    lineOf_.clear();
    focused_.reset();
}

void CategoryList::RemoveAt(std::size_t index) {
    Settle();
    if (index >= entries_.size()) return;
    MakeAll();
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

// An entry not made yet, like a line still waiting, has never been selected.
bool CategoryList::IsSelected(std::size_t index) const {
    Settle();
    return index < entries_.size() && entries_[index] && entries_[index]->selected;
}

std::size_t CategoryList::SelectedCount() const {
    std::size_t n = 0;
    for (const auto& e : entries_) n += e && e->selected ? 1 : 0;
    return n;
}

bool CategoryList::AnySelected() const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const std::unique_ptr<ScreenEntry>& e) { return e && e->selected; });
}

bool CategoryList::AllSelected() const {
    return !entries_.empty() && pendingCount_ == 0 && unmade_ == 0 &&
           std::all_of(entries_.begin(), entries_.end(),
                       [](const std::unique_ptr<ScreenEntry>& e) { return e->selected; });
}

std::optional<std::size_t> CategoryList::FirstSelected() const {
    if (!AnySelected()) return std::nullopt;
    Settle();
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i] && entries_[i]->selected) return i;
    return std::nullopt;
}

void CategoryList::SetSelected(std::size_t index, bool selected) {
    Settle();
    if (index < entries_.size() && (selected || entries_[index])) Made(index).selected = selected;
}

void CategoryList::SetSelectedRange(std::size_t first, std::size_t last, bool selected) {
    Settle();
    if (entries_.empty() || first > last) return;
    last = std::min(last, entries_.size() - 1);
    for (std::size_t i = first; i <= last; ++i) SetSelected(i, selected);
}

void CategoryList::SetAllSelected(bool selected) {
    if (!selected) {  // only entries made can be selected: no need to sort or make any
        for (auto& e : entries_)
            if (e) e->selected = false;
        return;
    }
    Settle();
    MakeAll();
    for (auto& e : entries_) e->selected = true;
}

void CategoryList::InvertSelection() {
    Settle();
    MakeAll();
    for (auto& e : entries_) e->selected = !e->selected;
}

void CategoryList::SetFocused(std::optional<std::size_t> index) {
    Settle();
    if (index && *index >= entries_.size()) index.reset();
    focused_ = index;
}

std::size_t CategoryList::SetStyleOfSelected(std::string_view style) {
    std::size_t n = 0;
    for (auto& e : entries_) {
        if (!e || !e->selected) continue;
        e->style = std::string(style);
        ++n;
    }
    return n;
}

}  // namespace mvpr
