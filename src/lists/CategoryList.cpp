#include "lists/CategoryList.h"

#include <algorithm>
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

// Positions 0..count-1 in the byte order of their keys, equal keys in position order; false,
// and nothing sorted, when some name has no key.
template <typename NameAt>
bool OrderByKeys(NameSortKey sortKey, std::size_t count, NameAt nameAt, std::vector<std::size_t>& order) {
    if (!sortKey) return false;
    std::string keys;  // all keys end to end: one buffer, not a string per name
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
    order.resize(count);
    for (std::size_t i = 0; i < count; ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int c = key(a).compare(key(b));
        return c != 0 ? c < 0 : a < b;
    });
    return true;
}

}  // namespace

std::size_t CategoryList::Add(ScreenEntry entry) {
    Settle();
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
    pending_.push_back(std::move(lines));
}

void CategoryList::Settle() const {
    if (pending_.empty()) return;
    auto added = SortedPending();
    pending_.clear();
    pendingCount_ = 0;
    Merge(std::move(added));
}

std::vector<std::unique_ptr<ScreenEntry>> CategoryList::SortedPending() const {
    struct Ref {
        const ListLines* lines;
        std::size_t line;
    };
    std::vector<Ref> refs;
    refs.reserve(pendingCount_);
    for (const ListLines& lines : pending_)
        for (std::size_t i = 0; i < lines.size(); ++i) refs.push_back({&lines, i});
    std::vector<std::unique_ptr<ScreenEntry>> out;
    out.reserve(refs.size());
    std::vector<std::size_t> order;
    // Keys from the lines themselves: only the sorted entries are made, each once.
    if (OrderByKeys(
            sortKey_, refs.size(), [&](std::size_t i) { return refs[i].lines->Parts(refs[i].line).fileName; },
            order)) {
        for (std::size_t i : order)
            out.push_back(std::make_unique<ScreenEntry>(refs[i].lines->Entry(refs[i].line)));
        return out;
    }
    for (const Ref& r : refs) out.push_back(std::make_unique<ScreenEntry>(r.lines->Entry(r.line)));
    SortNewcomers(out);
    return out;
}

void CategoryList::Merge(std::vector<std::unique_ptr<ScreenEntry>> added) const {
    if (entries_.empty()) {
        entries_ = std::move(added);
        return;
    }
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
    for (const auto& e : entries_) {
        take(longest.fileName, e->fileName);
        take(longest.folder, e->folder);
        take(longest.style, e->style);
    }
    for (const ListLines& lines : pending_)
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const EntryParts parts = lines.Parts(i);
            take(longest.fileName, parts.fileName);
            take(longest.folder, parts.folder.empty() ? std::string_view(lines.ProgramDir()) : parts.folder);
            take(longest.style, parts.style);
        }
    return longest;
}

void CategoryList::Clear() {
    entries_.clear();
    pending_.clear();
    pendingCount_ = 0;
    focused_.reset();
}

void CategoryList::RemoveAt(std::size_t index) {
    Settle();
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
    // Lines still waiting are never selected.
    return std::any_of(entries_.begin(), entries_.end(),
                       [](const std::unique_ptr<ScreenEntry>& e) { return e->selected; });
}

bool CategoryList::AllSelected() const {
    return !entries_.empty() && pendingCount_ == 0 &&
           std::all_of(entries_.begin(), entries_.end(),
                       [](const std::unique_ptr<ScreenEntry>& e) { return e->selected; });
}

std::optional<std::size_t> CategoryList::FirstSelected() const {
    if (!AnySelected()) return std::nullopt;
    Settle();
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i]->selected) return i;
    return std::nullopt;
}

void CategoryList::SetSelected(std::size_t index, bool selected) {
    Settle();
    if (index < entries_.size()) entries_[index]->selected = selected;
}

void CategoryList::SetSelectedRange(std::size_t first, std::size_t last, bool selected) {
    Settle();
    if (entries_.empty() || first > last) return;
    last = std::min(last, entries_.size() - 1);
    for (std::size_t i = first; i <= last; ++i) entries_[i]->selected = selected;
}

void CategoryList::SetAllSelected(bool selected) {
    if (!selected && !AnySelected()) return;  // nothing to clear: no need to sort
    Settle();
    for (auto& e : entries_) e->selected = selected;
}

void CategoryList::InvertSelection() {
    Settle();
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
        if (!e->selected) continue;
        e->style = std::string(style);
        ++n;
    }
    return n;
}

}  // namespace mvpr
