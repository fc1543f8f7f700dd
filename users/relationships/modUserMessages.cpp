#include "modUserMessages.h"

#include "DatabaseSession.h"
#include "MessageService.h"
#include "RelationshipStatements.h"
#include "Utf8.h"

namespace users {

using foundation::DatabaseSession;

const char* const kBlankMessage = "A blank message cannot be sent.  Please enter a message.";
const char* const kVersionNotSupported = "Database Version Not Supported";

namespace {
constexpr const char* kTitle = "Send Message";
} // namespace

std::string MessageInsertBatch(const std::vector<long>& recipientIds, long fromUserId, const std::string& text) {
    const std::string quoted = "'" + DatabaseSession::QuoteSQL(platform::utf8Left(text, kMessageMaxChars)) + "'";
    std::string sql;
    for (long id : recipientIds)
        sql += (sql.empty() ? "" : "\r\n") + std::string("INSERT INTO System_user_messages VALUES (") +
               std::to_string(id) + ", " + quoted + ", GETDATE(), " + std::to_string(fromUserId) + ", 0, 0, NULL)";
    return sql;
}

bool LoadGroupMemberIds(long groupId, std::vector<long>& userIds) {
    auto& s = DatabaseSession::instance();
    s.SQLStatement = GroupUsersQuery(groupId);
    if (s.ExecSQL() != 1)
        return false;
    std::vector<long> loaded;
    while (s.FetchRow() == 1)
        loaded.push_back(s.GetColumnLong(1));
    userIds.swap(loaded);
    return true;
}

bool SendUserMessage(const std::vector<long>& recipientIds, long fromUserId, const std::string& text) {
    if (text.find_first_not_of(" \t\r\n") == std::string::npos) {
        platform::MsgBox(kBlankMessage, platform::MsgButtons::OK, platform::MsgIcon::Information, kTitle);
        return false;
    }
    auto& s = DatabaseSession::instance();
    if (s.VersionLessThan(2.0085)) {
        platform::MsgBox(kVersionNotSupported, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, kTitle);
        return false;
    }
    if (recipientIds.empty())
        return true;
    return s.RunStatement(MessageInsertBatch(recipientIds, fromUserId, text));
}

} // namespace users
