#include "LC_Settings.h"

#include <cstring>
#include <iterator>

namespace accounts {

namespace {

constexpr const char* kRange255 = "1 to 255";
constexpr const char* kRangeWeight = "-32000 to 32000";
constexpr const char* kRangePercent = "0 to 100";

constexpr std::array<const char*, 4> kNone{};
constexpr std::array<const char*, 4> kSystemAreas{"None", "Fields Only", "All", nullptr};
constexpr std::array<const char*, 4> kSubsequentPages{"None", "Headers Only", "Footers Only", "Headers and Footers"};
constexpr std::array<const char*, 4> kIndents{"None", "One Character", "Tab Size", nullptr};
constexpr std::array<const char*, 4> kNoYes{"No", "Yes", nullptr, nullptr};
constexpr std::array<const char*, 4> kLineBlanks{"None", "One Division", "One Line", nullptr};
constexpr std::array<const char*, 4> kCharBlanks{"None", "One Division", "One Line", "One Character"};
constexpr std::array<const char*, 4> kWeightTypes{"Percent", "Direct", nullptr, nullptr};

constexpr const char* kLengthHint = "Since 'Lines' represents physical lines, this value is used to determine "
                                    "fractions of lines.  If only 1 division per line then this value is not used.";
constexpr const char* kDivisionsHint = "This controls the precision of the counting.  Two divisions per line means "
                                       "calculations will be performed to the nearest half line.";
constexpr const char* kSystemHint = "Whether the sections at the beginning of the report and end of the report "
                                    "(signature area) should be counted";
constexpr const char* kPagesHint = "Whether the lines in the headers and footers should be counted";
constexpr const char* kBlanksHint =
    "One division may be a fraction of a line depending on the Divisions Per Line setting";
constexpr const char* kWeightTypeHint = "The type of general weighting to be applied";
constexpr const char* kWeightHint = "The percentage of lines to count for percent weight type or the number of "
                                    "lines to add or subtract for direct weighting";
constexpr const char* kRoutineHint = "The percentage of routine lines to be included in the total line count";
constexpr const char* kBackEndHint =
    "The percentage of correctly recognized lines to DEDUCT for back-end speech recognition reports";
constexpr const char* kExpertHint = "The percentage of total lines to DEDUCT for Veltra Expert (front-end speech "
                                    "recognition) corrected reports";

using K = LCKind;

const LC_Setting kSettings[] = {
    {"lc_line_length", "txtLCLength", "Length (characters):", 0, K::Number, 1, 255, "Line Length", kRange255, kNone,
     kLengthHint},
    {"lc_nbr_divisions", "txtLCDivisions", "Divisions Per Line:", 0, K::Number, 1, 255, "Line Divisions", kRange255,
     kNone, kDivisionsHint},
    {"lc_count_system_areas", "cboLCSystem", "System Areas:", 0, K::Choice, 0, 0, "", "", kSystemAreas, kSystemHint},
    {"lc_subsequent_pages", "cboLCSubsqPgs", "Headers && Footers:", 0, K::Choice, 0, 0, "", "", kSubsequentPages,
     kPagesHint},
    {"lc_tabs_indents", "cboLCIndents", "Tabs && Indents:", 0, K::Choice, 0, 0, "", "", kIndents, ""},
    {"lc_attributes", "cboLCAttr", "Text Attributes:", 0, K::Choice, 0, 0, "", "", kNoYes, ""},
    {"lc_wp_codes_function", "cboLCCodes", "Function Codes:", 0, K::Choice, 0, 0, "", "", kNoYes, ""},
    {"lc_blank_lines", "cboLCBlanks", "Blank Lines:", 0, K::Choice, 0, 0, "", "", kLineBlanks, kBlanksHint},
    {"lc_weight_type", "cboLCWgtType", "Weight Type:", 0, K::Choice, 0, 0, "", "", kWeightTypes, kWeightTypeHint},
    {"lc_weight_value", "txtLCWgtValue", "Weight Value:", 0, K::Number, -32000, 32000, "Line Weight", kRangeWeight,
     kNone, kWeightHint},
    {"flag1", "txtLCRoutineAdjustment", "Routine Adjustment:", 3, K::Number, 0, 100, "Line Routine Adjustment Percent",
     kRangePercent, kNone, kRoutineHint},
    {"flag3", "txtLCVoiceRecPercent", "Back-end Speech Rec. Adj.:", 3, K::Number, 0, 100,
     "Back-end Speech Rec Adj. Percent", kRangePercent, kNone, kBackEndHint},
    {"flag5", "txtLCVeltraExpertPercent", "Veltra Expert Adj.:", 3, K::Number, 0, 100,
     "Veltra Expert Line Adj. Percent", kRangePercent, kNone, kExpertHint},
    {"cc_line_length", "txtCCLength", "Length (characters):", 1, K::Number, 1, 255, "Character Line Length", kRange255,
     kNone, "For 'Character Lines', the total characters in the report are divided by this value to determine lines"},
    {"cc_nbr_divisions", "txtCCDivisions", "Divisions Per Line:", 1, K::Number, 1, 255, "Character Line Divisions",
     kRange255, kNone, kDivisionsHint},
    {"cc_count_system_areas", "cboCCSystem", "System Areas:", 1, K::Choice, 0, 0, "", "", kSystemAreas, kSystemHint},
    {"cc_subsequent_pages", "cboCCSubsqPgs", "Headers && Footers:", 1, K::Choice, 0, 0, "", "", kSubsequentPages,
     kPagesHint},
    {"cc_tabs_indents", "cboCCIndents", "Tabs && Indents:", 1, K::Choice, 0, 0, "", "", kIndents, ""},
    {"cc_attributes", "chkCC_VBC", "Exclude spaces and tabs (VBC):", 1, K::Check, 0, 1, "", "", kNone,
     "Only count VBC (Visual Black Characters) displayed on report instead of keystrokes or lines and exclude "
     "spaces, tabs and carriage returns"},
    {"cc_wp_codes_function", "cboCCCodes", "Function Codes:", 1, K::Choice, 0, 0, "", "", kNoYes, ""},
    {"cc_blank_lines", "cboCCBlanks", "Blank Lines:", 1, K::Choice, 0, 0, "", "", kCharBlanks, kBlanksHint},
    {"cc_weight_type", "cboCCWgtType", "Weight Type:", 1, K::Choice, 0, 0, "", "", kWeightTypes, kWeightTypeHint},
    {"cc_weight_value", "txtCCWgtValue", "Weight Value:", 1, K::Number, -32000, 32000, "Character Line Weight",
     kRangeWeight, kNone, kWeightHint},
    {"flag2", "txtCCRoutineAdjustment", "Character Routine Adjustment:", 3, K::Number, 0, 100,
     "Character Routine Adjustment Percent", kRangePercent, kNone, kRoutineHint},
    {"flag4", "txtCCVoiceRecPercent", "Character Back-end Speech Rec. Adj.:", 3, K::Number, 0, 100,
     "Back-end Speech Rec Adj. Percent", kRangePercent, kNone, kBackEndHint},
    {"flag6", "txtCCVeltraExpertPercent", "Character Veltra Expert Adj.:", 3, K::Number, 0, 100,
     "Veltra Expert Character Adj. Percent", kRangePercent, kNone, kExpertHint},
    {"pc_page_length", "txtPCLength", "Length(lines):", 2, K::Number, 1, 255, "Page Length", kRange255, kNone, ""},
    {"pc_nbr_divisions", "txtPCDivisions", "Divisions Per Page:", 2, K::Number, 1, 255, "Page Divisions", kRange255,
     kNone, ""},
    {"pc_weight_type", "cboPCWgtType", "Weight Type:", 2, K::Choice, 0, 0, "", "", kWeightTypes, kWeightTypeHint},
    {"pc_weight_value", "txtPCWgtValue", "Weight Value:", 2, K::Number, -32000, 32000, "Page Weight", kRangeWeight,
     kNone, kWeightHint},
};

} // namespace

const LC_Setting* LC_SettingsBegin() {
    return std::begin(kSettings);
}
const LC_Setting* LC_SettingsEnd() {
    return std::end(kSettings);
}
std::size_t LC_SettingCount() {
    return std::size(kSettings);
}

int LC_SettingIndex(const char* column) {
    for (std::size_t i = 0; i < std::size(kSettings); ++i)
        if (std::strcmp(kSettings[i].column, column) == 0)
            return static_cast<int>(i);
    return -1;
}

const char* LC_TabCaption(int tab) {
    constexpr const char* captions[] = {"Lines", "Characters", "Pages", "Special Weighting", "RTF Codes"};
    return tab >= 0 && tab <= kLCTabCount ? captions[tab] : "";
}

} // namespace accounts
