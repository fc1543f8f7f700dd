// Messages to users and to the members of a group: the seven-value row, apostrophes, texts longer
// than the column, blank texts and old databases.

#include "RelationshipFixture.h"
#include "modUserMessages.h"

#include <algorithm>

using namespace users;

namespace {

class UserMessages : public kdtest::RelationshipTest {
protected:
    std::vector<std::string> messages() {
        return rows("SELECT user_id, message, CASE WHEN message_datetime IS NULL THEN 'no time' ELSE 'timed' END, "
                    "from_user_id, flag1, flag2, string1 FROM System_user_messages ORDER BY user_id");
    }
};

TEST_F(UserMessages, AMessageWithApostrophesIsStoredAsTyped) {
    ASSERT_TRUE(SendUserMessage({301}, 50, "Don't forget O'Neil's report; -- it's due"));
    EXPECT_EQ(session().history.back(), "INSERT INTO System_user_messages VALUES (301, 'Don''t forget O''Neil''s "
                                        "report; -- it''s due', GETDATE(), 50, 0, 0, NULL)");
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"301|Don't forget O'Neil's report; -- it's due|timed|50|0|0|NULL"}));
}

TEST_F(UserMessages, ATextLongerThanTheColumnIsCutToItsThousandCharacters) {
    std::string text(10000, 'x');
    text[0] = '\'';
    text[999] = '\'';
    text[1000] = '\'';
    ASSERT_TRUE(SendUserMessage({301, 302}, 50, text));
    EXPECT_EQ(rows("SELECT LEN(message) FROM System_user_messages"), (std::vector<std::string>{"1000", "1000"}));
    EXPECT_EQ(rows("SELECT COUNT(*) FROM System_user_messages WHERE message = '" +
                   foundation::DatabaseSession::QuoteSQL(text.substr(0, 1000)) + "'"),
              (std::vector<std::string>{"2"}));
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(UserMessages, TheCutCountsCharactersNotBytes) {
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "\xc3\xa9"; // é
    ASSERT_TRUE(SendUserMessage({301}, 50, text));
    EXPECT_EQ(rows("SELECT LEN(message) FROM System_user_messages"), (std::vector<std::string>{"1000"}));
    EXPECT_EQ(MessageInsertBatch({1}, 2, text).size(),
              std::string("INSERT INTO System_user_messages VALUES (1, '").size() + 2000 +
                  std::string("', GETDATE(), 2, 0, 0, NULL)").size());
}

TEST_F(UserMessages, ABlankMessageIsRefused) {
    for (const std::string blank : {"", "   ", "\r\n\t "}) {
        recorder.shown.clear();
        EXPECT_FALSE(SendUserMessage({301}, 50, blank));
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text, "A blank message cannot be sent.  Please enter a message.");
        EXPECT_EQ(recorder.shown[0].title, "Send Message");
        EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Information);
    }
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(session().history.empty());
}

TEST_F(UserMessages, AnOldDatabaseIsNotSupported) {
    session().DatabaseVersion = 2.008;
    EXPECT_FALSE(SendUserMessage({301}, 50, "hello"));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Database Version Not Supported");
    EXPECT_TRUE(messages().empty());
    session().DatabaseVersion = 2.0085;
    EXPECT_TRUE(SendUserMessage({301}, 50, "hello"));
}

TEST_F(UserMessages, AGroupMessageGoesToEachLiveMember) {
    std::vector<long> members;
    ASSERT_TRUE(LoadGroupMemberIds(400, members));
    EXPECT_EQ(members, (std::vector<long>{302, 303, 305}));
    ASSERT_TRUE(SendUserMessage(members, 50, "Group note"));
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"302|Group note|timed|50|0|0|NULL", "303|Group note|timed|50|0|0|NULL",
                                        "305|Group note|timed|50|0|0|NULL"}));
}

} // namespace
