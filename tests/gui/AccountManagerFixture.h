#pragma once

#include "AC_Dept_Acct_Mngr.h"
#include "Configuration.h"
#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "clsPartition.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <memory>

namespace kdtest {

// The account manager on a site with partitions North (1) above North General (3), a sibling
// South (2), and accounts in each; the user administers North.
class AccountManager : public SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_partitions VALUES (1, 0, 'North', 0, '/0/1/', NULL)\n"
             "INSERT System_partitions VALUES (2, 0, 'South', 0, '/0/2/', NULL)\n"
             "INSERT System_partitions VALUES (3, 1, 'North General', 0, '/0/1/3/', NULL)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, amount_per_line) VALUES (10, 'North "
             "Office', 1, 0.12)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (30, 'North General', 3)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id, is_deleted) VALUES (31, 'Old "
             "Wing', 3, 1)\n"
             "INSERT Account_info (hosp_acct_id, hosp_acct_name, partition_id) VALUES (20, 'South Clinic', 2)");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        foundation::DatabaseSession::instance().ReadDatabaseVersion();
        physicians::LoadPartitions();
        foundation::Configuration::instance() = foundation::Configuration{};
        foundation::Configuration::instance().networkRootDir = odbc.folder() + "/root";
        login.SQLServerName = odbc.folder();
        login.SQLDBName = "KALDRA";
        login.SQLUserName = "sa";
        login.user.user_id = 1;
        login.user.Partition_ID = 1;
        login.user.is_administrator = true;
        screen = std::make_unique<accounts::AC_Dept_Acct_Mngr>(login);
        screen->MyShow();
        recorder.shown.clear();
    }
    void TearDown() override {
        screen.reset();
        login.DisconnectSQL();
        physicians::PartitionCache().clear();
        foundation::Configuration::instance() = foundation::Configuration{};
        foundation::DatabaseSession::instance().DisconnectFromSQL();
    }
    template <typename T>
    T* child(const char* name) {
        T* c = screen->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QLineEdit* text(int n) { return child<QLineEdit>(QString("Text%1").arg(n).toUtf8().constData()); }
    void type(QLineEdit* field, const QString& value) { // as the user types: replaces the content
        field->selectAll();
        QTest::keyClicks(field, value);
    }
    void paste(QLineEdit* field, const QString& value) {
        field->selectAll();
        field->insert(value);
    }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    QStringList names(const char* list) {
        QStringList out;
        auto* tree = child<QTreeWidget>(list);
        for (int i = 0; i < tree->topLevelItemCount(); ++i)
            out << tree->topLevelItem(i)->text(0);
        return out;
    }
    void choose(const char* list, const QString& name) {
        auto* tree = child<QTreeWidget>(list);
        auto found = tree->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        tree->setCurrentItem(found[0]);
        emit tree->itemClicked(found[0], 0);
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& s : recorder.shown)
            out.push_back(s.text);
        return out;
    }

    suite::LoginComponent login;
    platform::MessageRecorder recorder;
    std::unique_ptr<accounts::AC_Dept_Acct_Mngr> screen;
};

} // namespace kdtest
