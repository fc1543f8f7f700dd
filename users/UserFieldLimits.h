#pragma once

#include <cstddef>

namespace users {

// Column widths of System_user_bindery and Trans_info, in characters: the user editor's boxes and
// the user import's row checks hold text to them.
inline constexpr int kUserNameChars = 50, kFirstNameChars = 21, kNameChars = 30, kInitialsChars = 5,
                     kLocationChars = 10, kDictationChars = 20, kMisChars = 20;

} // namespace users
