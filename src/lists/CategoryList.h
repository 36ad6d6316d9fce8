#ifndef MVPR_LISTS_CATEGORYLIST_H
#define MVPR_LISTS_CATEGORYLIST_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lists/ListLines.h"
#include "lists/ScreenEntry.h"

namespace mvpr {

// Orders file names; lstrcmpA in the Windows build, so that the list follows the user's locale.
using NameCompare = int (*)(const std::string& a, const std::string& b);

// Appends a name's key to `keys`: a key whose byte order (as unsigned bytes) is the NameCompare's
// order, equal keys for names that compare equal. False, with `keys` as it was, when no key can
// be made. Sorting many names by keys made once each is far cheaper than a locale comparison at
// every step.
using NameSortKey = bool (*)(std::string_view name, std::string& keys);

// Case-insensitive ASCII order with a case-sensitive tie-break; the default where no
// platform comparison is given.
int AlphabeticCompare(const std::string& a, const std::string& b);

// The entries of one category, always in ascending file-name order. Entries with equal names
// keep the order in which they were added. Also tracks which entry has the keyboard focus, so
// that a list view shown over it can be kept in step when rows come and go.
//
// Lines taken from the list file (AddLines) are sorted in only when the order is first needed,
// and each becomes an entry only when it is first read or changed: a big list that is never
// shown costs no more than its lines, and a shown one no more than its order and the rows seen.
class CategoryList {
  public:
    explicit CategoryList(NameCompare compare = &AlphabeticCompare, NameSortKey sortKey = nullptr)
        : compare_(compare), sortKey_(sortKey) {}

    std::size_t size() const { return entries_.size() + pendingCount_; }
    bool empty() const { return size() == 0; }
    const ScreenEntry& operator[](std::size_t i) const {
        Settle();
        return Made(i);
    }

    // Binary insertion after any equal names; returns the new entry's position.
    std::size_t Add(ScreenEntry entry);
    // Many at once: one sort of the newcomers and one merge, for loading big lists.
    void AddMany(std::vector<ScreenEntry> entries);
    // Lines of the list file, made into entries when the order is first asked for.
    void AddLines(ListLines lines);
    void Clear();

    void RemoveAt(std::size_t index);
    // Removes every selected entry; returns how many went.
    std::size_t RemoveSelected();
    // Removes every entry for which remove(entry) is true, moving each kept entry at most once
    // (a purge of a big list must not shift the rest once per removed entry). Entries keep
    // their addresses until they are removed. Returns how many went.
    template <typename Pred>
    std::size_t RemoveIf(Pred remove);

    // Whether the entry at `index` is selected, without making it.
    bool IsSelected(std::size_t index) const;
    std::size_t SelectedCount() const;
    bool AnySelected() const;  // in any order: does not sort
    bool AllSelected() const;  // false for an empty list
    std::optional<std::size_t> FirstSelected() const;
    void SetSelected(std::size_t index, bool selected);
    void SetSelectedRange(std::size_t first, std::size_t last, bool selected);  // inclusive
    void SetAllSelected(bool selected);
    void InvertSelection();

    std::optional<std::size_t> Focused() const {
        if (focused_) Settle();
        return focused_;
    }
    void SetFocused(std::optional<std::size_t> index);

    // Gives every selected entry the style; returns how many entries that touched.
    std::size_t SetStyleOfSelected(std::string_view style);

    // The longest file name, folder and style of all entries (the first of equal lengths in no
    // particular order), to size columns by; does not sort.
    struct Longest {
        std::string_view fileName, folder, style;
    };
    Longest LongestTexts() const;

    // True while lines wait to be sorted in.
    bool HasUnsorted() const { return pendingCount_ > 0; }
    // Sorts in the waiting lines; every access by position does it first.
    void Settle() const;

  private:
    // Where an entry not made yet comes from: a line of sources_.
    struct LineRef {
        std::uint32_t source, line;
    };

    // The entry at i, made from its line if it was not yet.
    ScreenEntry& Made(std::size_t i) const;
    // Makes every entry not made yet: before rows move, and before a change to many of them.
    void MakeAll() const;
    // Lets go of the lines once no entry is made from them any more.
    void DropLines() const;
    // The newcomers of AddMany in order: by their keys where every one has a key.
    void SortNewcomers(std::vector<std::unique_ptr<ScreenEntry>>& added) const;
    void Merge(std::vector<std::unique_ptr<ScreenEntry>> added) const;

    NameCompare compare_;
    NameSortKey sortKey_;
    // Held by pointer: an insertion near the front of a big list then moves pointers, not
    // three strings per entry. Null for an entry not made yet, whose line lineOf_ holds.
    // Mutable: the waiting lines are sorted in, and entries made, on first reading.
    mutable std::vector<std::unique_ptr<ScreenEntry>> entries_;
    mutable std::optional<std::size_t> focused_;
    // The lines added: from pendingFrom_ on waiting to be sorted in, before it the lines of
    // entries not made yet. Dropped once every entry is made.
    mutable std::vector<ListLines> sources_;
    mutable std::size_t pendingFrom_ = 0;
    mutable std::size_t pendingCount_ = 0;
    mutable std::vector<LineRef> lineOf_;  // as entries_, while some entry is not made
    mutable std::size_t unmade_ = 0;
};

template <typename Pred>
std::size_t CategoryList::RemoveIf(Pred remove) {
    Settle();
    MakeAll();
    std::size_t kept = 0;
    std::optional<std::size_t> newFocus;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (remove(static_cast<const ScreenEntry&>(*entries_[i]))) continue;
        if (focused_ && *focused_ == i) newFocus = kept;
        if (kept != i) entries_[kept] = std::move(entries_[i]);
        ++kept;
    }
    const std::size_t removed = entries_.size() - kept;
    entries_.resize(kept);
    focused_ = newFocus;
    return removed;
}

}  // namespace mvpr

#endif
