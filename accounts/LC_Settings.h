#pragma once

#include <array>
#include <cstddef>

namespace accounts {

// How one line-count setting is edited: a typed whole number with its range, a choice from a
// list (the value is the entry's position), or a tick box (0/1).
enum class LCKind { Number, Choice, Check };

// One column of Linecount_cfg that the line-count screen edits, with its control and the
// range-check's wording. The table is in the column order of the table, which is the order of
// the save's SET list, the order the validation walks, and the column order of "SELECT *".
struct LC_Setting {
    const char* column;
    const char* control; // the control's objectName
    const char* caption; // the label beside it (empty for none)
    int tab;             // 0 lines, 1 characters, 2 pages, 3 special weighting
    LCKind kind;
    int minimum, maximum;               // Number only
    const char* settingName;            // Number only: the name the invalid-setting message gives it
    const char* rangeText;              // Number only
    std::array<const char*, 4> choices; // Choice only, nullptr after the last
    const char* hint;                   // the explanation shown under the control (may be empty)
};

inline constexpr int kLCTabCount = 4; // the RTF codes tab follows them

[[nodiscard]] const LC_Setting* LC_SettingsBegin();
[[nodiscard]] const LC_Setting* LC_SettingsEnd();
[[nodiscard]] std::size_t LC_SettingCount();
// The position of a column in the table, or -1.
[[nodiscard]] int LC_SettingIndex(const char* column);
[[nodiscard]] const char* LC_TabCaption(int tab);

} // namespace accounts
