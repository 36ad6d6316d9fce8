#ifndef MVPR_LISTS_SCREENCATEGORY_H
#define MVPR_LISTS_SCREENCATEGORY_H

#include <array>
#include <optional>
#include <string_view>

namespace mvpr {

// The code is what the window keeps as its current category and what the registry stores.
enum class ScreenCategory : int { Start = 10, Wait = 20, Shut = 30, Wall = 40 };

struct CategoryInfo {
    ScreenCategory category;
    std::string_view buttonName;   // control name of the group button
    std::string_view caption;      // the button's text
    std::string_view listName;     // control name of the category list
    std::string_view folderValue;  // registry value of the remembered folder
    std::string_view section;      // header in the screen-list file
};

inline constexpr std::array<CategoryInfo, 4> kCategories{{
    {ScreenCategory::Start, "sbtnStart", "StartUp Screen", "ListStart", "StartDir", "[START]"},
    {ScreenCategory::Wait, "sbtnWait", "Waiting Screen", "ListWait", "WaitDir", "[WAIT]"},
    {ScreenCategory::Shut, "sbtnShut", "Shut Down Screen", "ListShut", "ShutDir", "[SHUT]"},
    {ScreenCategory::Wall, "sbtnWall", "Wallpaper", "ListWall", "WallDir", "[WALLPAPER]"},
}};

constexpr int CategoryCode(ScreenCategory c) {
    return static_cast<int>(c);
}

// Position 0..3 in kCategories; the four are stored in that order everywhere.
constexpr std::size_t CategoryIndex(ScreenCategory c) {
    return static_cast<std::size_t>(CategoryCode(c) / 10 - 1);
}

constexpr const CategoryInfo& Info(ScreenCategory c) {
    return kCategories[CategoryIndex(c)];
}

constexpr std::optional<ScreenCategory> CategoryFromCode(int code) {
    for (const auto& info : kCategories)
        if (CategoryCode(info.category) == code) return info.category;
    return std::nullopt;
}

// Start, Wait and Shut hold system screens (320 x 400, 8 bpp); Wall holds wallpapers.
constexpr bool IsScreenCategory(ScreenCategory c) {
    return c != ScreenCategory::Wall;
}

static_assert(CategoryIndex(ScreenCategory::Start) == 0 && CategoryIndex(ScreenCategory::Wall) == 3);
static_assert(Info(ScreenCategory::Shut).category == ScreenCategory::Shut);

}  // namespace mvpr

#endif
