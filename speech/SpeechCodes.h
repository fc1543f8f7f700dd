#pragma once

#include <string>

namespace speech {

// Names of the speech library's numeric codes, for messages and logs. A code missing from its table
// gives "Unknown <type name> (<code>)".
std::string InputChannelName(int code); // SMINPUTCHANNEL
std::string LanguageName(int code);     // SMLANGUAGEID
std::string BandwidthName(int code);    // SMBANDWIDTH
std::string ResolutionName(int code);   // SMRESOLUTION
// The name of an interface error code, or "" for a code without one.
std::string ErrorName(int code);

inline constexpr int kErrRangeStart = 39000;
inline constexpr int kErrRangeEnd = 39085;
inline constexpr int kErrProcessConflict = 39038;
inline constexpr int kErrJobsExist = 39031;
inline constexpr int kErrRetrievalFinished = 39044;
inline constexpr int kErrUserNotFound = 39048;
inline constexpr int kErrStringTooLong = 39045;

inline constexpr int kChannelMicrophone = 0;
inline constexpr int kChannelTelephone = 100;
inline constexpr int kChannelMobile = 200;
inline constexpr int kResolutionHigh = 1;
inline constexpr int kResolutionAdvanced = 2;

// The language of a new user from the name of its initial context: the first of "English US",
// "English UK", "French" and "Canad" that the name contains, else English US.
int LanguageForContext(const std::string& contextName);

} // namespace speech
