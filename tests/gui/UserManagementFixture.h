#pragma once

#include "UA_User_Mgmt.h"
#include "UA_User_Mgmt_Edit.h"
#include "UserFixture.h"
#include "UserListModel.h"
#include "clsPartition.h"
#include "modUserStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>

#include <memory>
#include <string>
#include <vector>

namespace kdtest {

// A site with partitions North (1) over North General (3), South (2) which shares its users with
// North, and Eleven (11); users in each; the acting administrator MGR (id 50) of North.
class UserScreenTest : public UserStoreTest {
protected:
    void SetUp() override {
        UserStoreTest::SetUp();
        exec("UPDATE System_partitions SET share_bitmask = 1 WHERE partition_id = 2\n"
             "INSERT System_partitions_shares VALUES (2, 1)\n"
             "INSERT System_partitions VALUES (0, 0, 'Root', 0, '/0/', NULL)\n"
             "INSERT System_user_policies (policy_id, policy_name, permit_blank_password, case_sensitive_password, "
             "minimum_password_length, require_alpha_numeric, allow_password_change, password_expiration_days, "
             "intruder_detection_enabled, maximum_login_attempts, lockout_duration, flag2, flag3, flag4, flag5) "
             "VALUES (1, 'Strict', 0, 1, 6, 1, 1, 0, 0, 3, 30, 0, 0, 5, 0)");
        // first, last, trans id, enabled, locked, admin, must change, flag1, flag2, flag3, flag4, string1,
        // deleted, partition, shared, bad attempts
        addUserRow(50, "MGR", "'Mia', 'Grant', NULL, 1, 0, 1, 0, 0, 0, 0, 0, '', 0, 1, 0, 0");
        addUserRow(61, "JDOE", "'Jane', 'Doe', NULL, 1, 0, 0, 0, 0, 0, 0, 0, '', 0, 1, 0, 3");
        addUserRow(62, "TTYPIST", "'Tess', 'Typist', 'TTYPIST', 1, 0, 0, 0, 0, 0, 0, 0, '', 0, 3, 0, 0");
        addUserRow(63, "SSHARED", "'Sam', 'Shared', NULL, 1, 0, 0, 0, 0, 0, 0, 0, '', 0, 2, 1, 0");
        addUserRow(64, "SPRIVATE", "'Sal', 'Private', NULL, 1, 0, 0, 0, 0, 0, 0, 0, '', 0, 2, 0, 0");
        addUserRow(65, "EFAR", "'Eve', 'Far', NULL, 1, 0, 0, 0, 0, 0, 0, 0, '', 0, 11, 0, 0");
        addUserRow(66, "ADMINISTRATOR", "'Built', 'In', NULL, 1, 0, 1, 0, 0, 0, 0, 0, '', 0, 1, 0, 0");
        addUserRow(67, "DRWHO", "'Wendy', 'Who', NULL, 1, 0, 0, 0, 7, 0, 0, 0, '', 0, 1, 0, 0");
        addUserRow(68, "TADMIN", "'Tom', 'Admin', NULL, 1, 0, 0, 0, 0, 1, 0, 0, '', 0, 1, 0, 0");
        addUserRow(69, "VTTECH", "'Tech', 'Support', NULL, 1, 0, 1, 0, 0, 0, 0, 0, '', 0, 1, 0, 0");
        exec("INSERT Trans_info (trans_id, trans_type, first_name, last_name, initials, extra3) VALUES ('TTYPIST', 1, "
             "'Tess', 'Typist', 'TT', 3)\n"
             "INSERT System_user_bindery (user_id, user_name, description, flag3, partition_id, is_shared, enabled) "
             "VALUES (200, 'Night Shift', 'Typists at night', 1, 1, 0, 1)\n"
             "INSERT System_security_groups VALUES (200, 61, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
             "INSERT System_security_groups VALUES (200, 62, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
             "INSERT System_security_groups VALUES (200, 63, NULL, 0, 0, 0, NULL, NULL, NULL)\n"
             "UPDATE User_identifier SET next_user_id = 300");
        ASSERT_GE(physicians::LoadPartitions(), 5);
        session().ReadDatabaseVersion();
        session().history.clear();
    }
    void TearDown() override {
        screen.reset();
        users::Users().RemoveAll();
        UserStoreTest::TearDown();
    }
    void open() {
        screen = std::make_unique<users::UA_User_Mgmt>(login);
        ASSERT_TRUE(screen->MyShow());
        recorder.shown.clear();
        session().history.clear();
    }
    // The user names the list shows, in its order.
    std::vector<std::string> listed() const {
        std::vector<std::string> out;
        auto* m = screen->userModel();
        for (int r = 0; r < m->rowCount(); ++r)
            out.push_back(m->index(r, 0).data().toString().toStdString());
        return out;
    }
    std::string texts() const {
        std::string out;
        for (const auto& m : recorder.shown)
            out += m.text + " [" + m.title + "]\n";
        return out;
    }

public:
    template <class T>
    static T* child(QWidget& parent, const char* name) {
        T* c = parent.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static void type(QWidget& parent, const char* name, const std::string& text) {
        child<QLineEdit>(parent, name)->setText(QString::fromStdString(text));
    }
    static void check(QWidget& parent, const char* name, bool on) { child<QCheckBox>(parent, name)->setChecked(on); }
    static void click(QWidget& parent, const char* name) { child<QPushButton>(parent, name)->click(); }

protected:
    std::unique_ptr<users::UA_User_Mgmt> screen;
};

} // namespace kdtest
