#pragma once

#include <string>
#include <vector>

namespace users {

// Messages users are shown at their next log-on (System_user_messages).

// The longest message the table holds, in characters.
constexpr size_t kMessageMaxChars = 1000;

// The statement that stores text for each recipient, sent by fromUserId: one seven-value row per
// recipient. The text is cut to kMessageMaxChars characters.
std::string MessageInsertBatch(const std::vector<long>& recipientIds, long fromUserId, const std::string& text);

// The active member users of a group; false after a failed statement (shown by the session).
bool LoadGroupMemberIds(long groupId, std::vector<long>& userIds);

// Stores the message for each recipient. A blank text is refused with its message; a database older
// than 2.0085 answers "Database Version Not Supported". false after any refusal or failure.
bool SendUserMessage(const std::vector<long>& recipientIds, long fromUserId, const std::string& text);

extern const char* const kBlankMessage;
extern const char* const kVersionNotSupported;

} // namespace users
