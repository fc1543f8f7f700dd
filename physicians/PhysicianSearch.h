#pragma once

#include "clsPhysicianSummaryRecords.h"

#include <string>

namespace physicians {

// The search by name across accounts and partitions: last or first name containing the text.
std::string PhysicianSearchQuery(const std::string& text);
// Reads the matches the user may see (the account is shared for physician search with the user's
// partition, or the physician's partition is under the user's), one record per physician, and
// logs the search. False after a failed statement, which the session showed.
bool SearchPhysicians(const std::string& text, clsPhysicianSummaryRecords& found);
// Makes the physician a member of the account (nothing when it is one already) and logs it.
bool AddPhysicianToAccount(const clsPhysicianSummaryRecord& r, long account);

} // namespace physicians
