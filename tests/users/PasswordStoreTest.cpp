// The user store and the site key: old values are read and written again under the site key on the
// next save; a site without its key file saves no password.

#include "PasswordCipher.h"
#include "TestSiteKey.h"
#include "UserEditSave.h"
#include "UserFixture.h"
#include "modUserStore.h"

using namespace users;
using suite::PasswordCipher;
using Origin = PasswordCipher::Origin;

namespace {

class UserPasswordStore : public kdtest::UserStoreTest {
protected:
    void SetUp() override {
        UserStoreTest::SetUp();
        session().DatabaseVersion = 8.1;
        addUserRow(300, "OLDKEY", "'Olive', 'Keyes', NULL, 1, 0, 0, 0, 0, 0, 0, 1, '', 0, 1, 0, 0");
        exec("UPDATE System_user_bindery SET password = 0x" + PasswordCipher::encryptUnderOldKey("0ld-pass") +
             ", signature_password = 0x" + PasswordCipher::encryptUnderOldKey("0ld-sig") + " WHERE user_id = 300");
        session().history.clear();
    }
    void TearDown() override {
        PasswordCipher::UseSiteKey(testsupport::TestSiteKey());
        UserStoreTest::TearDown();
    }
    std::string column(const char* name) {
        return scalar(std::string("SELECT CONVERT(binary(30), ") + name +
                      ") FROM System_user_bindery WHERE user_id = 300")
            .substr(0, 60);
    }
};

TEST_F(UserPasswordStore, OldValuesAreReadAndWrittenAgainUnderTheSiteKeyOnTheNextSave) {
    clsUsers users;
    ASSERT_TRUE(LoadActiveUsers(&users));
    clsUser* u = users.Item(clsUsers::Key(300));
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->m_strPassword, "0ld-pass");
    EXPECT_EQ(u->m_strSignaturePassword, "0ld-sig");
    const clsUser copy = *u;
    ASSERT_TRUE(UpdateUser(copy, false, false, users));
    for (const auto& [name, plain] : {std::pair<const char*, const char*>{"password", "0ld-pass"},
                                      std::pair<const char*, const char*>{"signature_password", "0ld-sig"}}) {
        Origin origin = Origin::Unreadable;
        EXPECT_EQ(PasswordCipher::decrypt(column(name), &origin), plain) << name;
        EXPECT_EQ(origin, Origin::SiteKey) << name;
    }
}

TEST_F(UserPasswordStore, WithoutTheKeyFileNoPasswordIsSavedAndTheRowStaysAsItWas) {
    const std::string before = column("password");
    clsUsers users;
    PasswordCipher::UseOldKeyOnly();
    ASSERT_TRUE(LoadActiveUsers(&users));
    clsUser* u = users.Item(clsUsers::Key(300));
    ASSERT_NE(u, nullptr);
    EXPECT_EQ(u->m_strPassword, "0ld-pass");
    session().history.clear();
    clsUser changed = *u;
    changed.m_strFirstName = "Changed";
    EXPECT_FALSE(UpdateUser(changed, false, false, users));
    clsUser added;
    added.m_strUserName = "NEWBIE";
    added.m_strPassword = "new-pass";
    added.Partition_ID(1);
    EXPECT_FALSE(InsertUser(added, users));
    // The user editor's saves give the same reason, not the general add or update failure.
    UserEditChanges changes;
    changes.oldPartitionId = changed.Partition_ID();
    EXPECT_FALSE(SaveChangedUser(changed, changes, users));
    EXPECT_FALSE(SaveNewUser(added, UserEditChanges{}, users));
    ASSERT_EQ(recorder.shown.size(), 4u);
    for (const auto& m : recorder.shown) {
        EXPECT_EQ(m.text, PasswordCipher::kNoSiteKeyMessage);
        EXPECT_EQ(m.title, "User Management");
    }
    EXPECT_EQ(column("password"), before);
    EXPECT_EQ(scalar("SELECT first_name FROM System_user_bindery WHERE user_id = 300"), "Olive");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_bindery WHERE user_name = 'NEWBIE'"), "0");
    // Nothing was written: at most the name check of the new user was sent.
    for (const auto& sql : session().history)
        EXPECT_EQ(sql.find("System_user_bindery SET"), std::string::npos) << sql;
    for (const auto& sql : session().history)
        EXPECT_EQ(sql.find("INSERT"), std::string::npos) << sql;
}

} // namespace
