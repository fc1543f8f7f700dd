#include "DatabaseSession.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"
#include "UA_Set_Policy.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <ostream>
#include <vector>

namespace {

// The policy picker over a suite database with the default policy (0) and two more.
class SetPolicyDialog : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_user_policies (policy_id, policy_name) VALUES (1, 'Nurses')\n"
             "INSERT System_user_policies (policy_id, policy_name) VALUES (2, 'O''Brien''s')");
        kdtest::connectSession(odbc.folder(), "KALDRA");
    }
    void TearDown() override { foundation::DatabaseSession::instance().DisconnectFromSQL(); }

    template <typename T>
    T* child(const char* name) {
        T* c = dialog.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QListWidget* list() { return child<QListWidget>("lstUserPolicies"); }

    users::UA_Set_Policy dialog;
};

TEST_F(SetPolicyDialog, ListsEveryPolicyByNameWithItsId) {
    ASSERT_TRUE(dialog.Load({1}));
    ASSERT_EQ(list()->count(), 3);
    std::vector<std::pair<std::string, int>> shown;
    for (int i = 0; i < list()->count(); ++i)
        shown.emplace_back(list()->item(i)->text().toStdString(), list()->item(i)->data(Qt::UserRole).toInt());
    const std::vector<std::pair<std::string, int>> expected{{"Default Policy", 0}, {"Nurses", 1}, {"O'Brien's", 2}};
    EXPECT_EQ(shown, expected);
}

TEST_F(SetPolicyDialog, TheSelectionsCurrentPolicy) {
    struct Case {
        std::vector<long> current;
        const char* label;
        const char* picked; // "" when nothing is picked
    };
    const Case cases[] = {
        {{1}, "Current User Policy:  Nurses", "Nurses"}, {{2, 2, 2}, "Current User Policy:  O'Brien's", "O'Brien's"},
        {{1, 2}, "Current User Policy:  <Various>", ""}, {{1, 1, 0}, "Current User Policy:  <Various>", ""},
        {{9}, "Current User Policy:  <Unknown>", ""},    {{}, "Current User Policy:  <Unknown>", ""},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(dialog.Load(c.current));
        EXPECT_EQ(child<QLabel>("lblCurrentPolicy")->text().toStdString(), c.label);
        const QListWidgetItem* item = list()->currentItem();
        EXPECT_EQ(item ? item->text().toStdString() : std::string(), c.picked) << c.label;
        EXPECT_EQ(child<QPushButton>("cmdOK")->isEnabled(), item != nullptr) << c.label;
    }
}

TEST_F(SetPolicyDialog, OkAndDoubleClickReturnTheChosenPolicyCancelNothing) {
    ASSERT_TRUE(dialog.Load({1, 2}));
    list()->setCurrentItem(list()->findItems("O'Brien's", Qt::MatchExactly).front());
    child<QPushButton>("cmdOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedPolicyId(), 2);
    EXPECT_EQ(dialog.SelectedPolicyName(), "O'Brien's");

    ASSERT_TRUE(dialog.Load({2}));
    QListWidgetItem* nurses = list()->findItems("Nurses", Qt::MatchExactly).front();
    emit list()->itemDoubleClicked(nurses);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.SelectedPolicyId(), 1);

    ASSERT_TRUE(dialog.Load({2}));
    child<QPushButton>("cmdCancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(dialog.SelectedPolicyId(), -1);
}

} // namespace
