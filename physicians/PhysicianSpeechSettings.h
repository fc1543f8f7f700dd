#pragma once

#include "PhysicianProfileRules.h"
#include "clsPhysicianRecords.h"

#include <optional>
#include <string>
#include <vector>

namespace physicians {

// Widths of the speech identifiers, in characters.
inline constexpr size_t kSpeechIdChars = 20; // SpeechMagic user name, Speech Machines id
inline constexpr size_t kWorkTypeChars = 3;  // a dictation work type for recognition

// The entries of the default input method list, in the order of their stored values.
inline constexpr const char* kInputMethods[] = {"Telephone", "Microphone / PC", "Handheld Device"};

// The non-empty, trimmed items of a comma-separated list.
std::vector<std::string> SplitIdList(const std::string& list);

// Copies the loaded speech user name (type 1) and Speech Machines id (type 3) into the record.
void TakeSpeechIds(const std::vector<PhysicianExternalId>& ids, clsPhysicianRecord& record);

// Whether the site sends dictations to Speech Machines, which gives physicians an ASP id.
std::string SpeechMachinesInUseQuery();
// False as well when the read failed (the session showed why).
bool SpeechMachinesInUse();

// The recognition work types, Speech Machines id and speech user name checks of OK, in that
// order; the author ids are checked between the work types and the Speech Machines id.
std::optional<ProfileRefusal> CheckWorkTypes(const PhysicianProfileEdit& edit);
std::optional<ProfileRefusal> CheckSpeechIds(const PhysicianProfileEdit& edit);
// Speech recognition enabled for an account without work types or report types, without an ASP
// id (only where Speech Machines is in use) or without a speech user name.
std::optional<ProfileRefusal> CheckSpeechRecognition(const PhysicianProfileEdit& edit, bool speechMachinesInUse);

} // namespace physicians
