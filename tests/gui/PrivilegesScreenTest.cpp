#include "PrivilegePositions.h"
#include "PrivilegesFixture.h"
#include "UA_Privileges_New.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>

#include <map>
#include <memory>
#include <set>

using namespace kdtest;
using users::PrivilegeEntry;
using users::UA_Privileges_New;

namespace {

const users::AdminKinds kSystemAdministrator{true, false, false};

// The granted positions of a stored string, as a set.
std::set<int> positionsOf(const std::string& set) {
    std::set<int> out;
    for (size_t i = 0; i < set.size(); ++i)
        if (set[i] == '\x02')
            out.insert(static_cast<int>(i));
    return out;
}

} // namespace

class PrivilegesScreen : public PrivilegesTest {
protected:
    std::unique_ptr<UA_Privileges_New> openScreen(long id = 60, const std::string& name = "JDOE", bool group = false,
                                                  users::AdminKinds kinds = kSystemAdministrator) {
        auto screen = std::make_unique<UA_Privileges_New>(login, kinds);
        loaded = screen->LoadForm(id, name, group, 1);
        return screen;
    }
    template <class T>
    static T* child(QWidget& w, const char* name) {
        auto* c = w.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    static void selectAccountRow(UA_Privileges_New& s, int row) {
        auto* list = child<QListView>(s, "lvwAccounts");
        list->setCurrentIndex(list->model()->index(row, 0));
    }
    std::set<int> stored(const std::string& sql) {
        const auto r = exec(sql);
        const auto* s = r.firstRows();
        return s && !s->rows.empty() && s->rows[0][0] ? positionsOf(*s->rows[0][0]) : std::set<int>{};
    }
    // The control and every privilege above it, checked from the top so the rule lets each one be set.
    static std::set<int> checkWithParents(UA_Privileges_New& s, std::span<const PrivilegeEntry> table,
                                          const PrivilegeEntry& e) {
        std::vector<const PrivilegeEntry*> chain{&e};
        for (const char* p = e.parent; p;) {
            chain.push_back(users::FindPrivilegeEntry(table, p));
            p = chain.back()->parent;
        }
        std::set<int> positions;
        for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
            auto* box = s.findChild<QCheckBox*>((*it)->control);
            EXPECT_NE(box, nullptr) << (*it)->control;
            if (!box)
                return {};
            EXPECT_TRUE(box->isEnabled()) << (*it)->control;
            box->setChecked(true);
            positions.insert(positionOf(table, (*it)->control));
        }
        return positions;
    }
    // The position the applications read for a control, from the independent list.
    static int positionOf(std::span<const PrivilegeEntry> table, const std::string& control) {
        std::span<const char* const> list = kSystemControlAt;
        if (table.data() == users::AccountPrivilegeTable().data())
            list = kAccountControlAt;
        else if (table.data() == users::ReportTypePrivilegeTable().data())
            list = kReportTypeControlAt;
        for (size_t n = 0; n < list.size(); ++n)
            if (control == list[n])
                return static_cast<int>(n);
        ADD_FAILURE() << control << " is not in the list";
        return -1;
    }
    bool loaded = false;
};

TEST_F(PrivilegesScreen, OpensWithTheCaptionEveryControlAndTheListsOfThePartitionTree) {
    auto s = openScreen();
    ASSERT_TRUE(loaded);
    EXPECT_EQ(s->windowTitle(), "User Privileges: JDOE");
    for (auto table :
         {users::SystemPrivilegeTable(), users::AccountPrivilegeTable(), users::ReportTypePrivilegeTable()})
        for (const auto& e : table) {
            auto* box = s->findChild<QCheckBox*>(e.control);
            ASSERT_NE(box, nullptr) << e.control;
            EXPECT_EQ(box->text().toStdString(), e.caption) << e.control;
        }
    auto* tabs = child<QTabWidget>(*s, "tabSystem");
    ASSERT_EQ(tabs->count(), 5);
    EXPECT_EQ(tabs->tabText(3), "Veltra Dictation");
    auto* accounts = child<QListView>(*s, "lvwAccounts");
    ASSERT_EQ(accounts->model()->rowCount(), 3);
    EXPECT_EQ(accounts->model()->index(0, 0).data().toString(), "<All New Accounts>");
    EXPECT_EQ(accounts->model()->index(1, 0).data().toString(), "North \\ North One");
    EXPECT_EQ(accounts->model()->index(2, 0).data().toString(), "North General \\ North General");
    auto* combo = child<QComboBox>(*s, "CBAccounts");
    EXPECT_EQ(combo->count(), 3);
    combo->setCurrentIndex(1);
    auto* types = child<QListView>(*s, "ReportTypeList");
    ASSERT_EQ(types->model()->rowCount(), 3);
    EXPECT_EQ(types->model()->index(0, 0).data().toString(), "<All New Reports>");
    EXPECT_EQ(types->model()->index(1, 0).data().toString(), "H&P");
    EXPECT_EQ(types->model()->index(2, 0).data().toString(), "Consult");
    // The membership privilege is set on groups only.
    EXPECT_TRUE(s->findChild<QCheckBox*>("chkPDAddMembership")->isHidden());
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(PrivilegesScreen, SubTabsFollowTheAdministratorKindsAndNoneIsRefused) {
    auto trans = openScreen(60, "JDOE", false, users::AdminKinds{false, false, true});
    ASSERT_TRUE(loaded);
    auto* tabs = child<QTabWidget>(*trans, "tabSystem");
    EXPECT_FALSE(tabs->isTabVisible(0)); // General: system administrators only
    EXPECT_TRUE(tabs->isTabVisible(1));
    EXPECT_FALSE(tabs->isTabVisible(2));
    EXPECT_EQ(tabs->currentIndex(), 1);

    auto none = openScreen(60, "JDOE", false, users::AdminKinds{});
    EXPECT_FALSE(loaded);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "Unable to display privileges dialog.  You do not have privileges to view or modify privileges.");
    EXPECT_EQ(recorder.shown[0].title, "Error");
}

// Each checkbox, set with the privileges that enable it, writes exactly those positions: a control
// wired to the wrong position shows here.
TEST_F(PrivilegesScreen, EachSystemCheckboxWritesItsOwnPosition) {
    const auto table = users::SystemPrivilegeTable();
    for (const auto& e : table) {
        auto s = openScreen();
        ASSERT_TRUE(loaded);
        const std::set<int> expected = checkWithParents(*s, table, e);
        child<QPushButton>(*s, "BOK")->click();
        ASSERT_EQ(s->result(), QDialog::Accepted) << e.control;
        EXPECT_EQ(stored("SELECT privilege_set1 FROM System_user_bindery WHERE user_id = 60"), expected) << e.control;
        // Cleared again for the next control.
        exec("UPDATE System_user_bindery SET privilege_set1 = NULL WHERE user_id = 60");
    }
}

TEST_F(PrivilegesScreen, EachAccountAndReportTypeCheckboxWritesItsOwnPosition) {
    const auto accounts = users::AccountPrivilegeTable();
    for (const auto& e : accounts) {
        auto s = openScreen();
        selectAccountRow(*s, 2); // North General (31)
        const std::set<int> expected = checkWithParents(*s, accounts, e);
        child<QPushButton>(*s, "BOK")->click();
        EXPECT_EQ(stored("SELECT privilege_set1 FROM Privileges_accounts WHERE user_id = 60 AND hosp_acct_id = 31"),
                  expected)
            << e.control;
        EXPECT_EQ(stored("SELECT privilege_set1 FROM Privileges_accounts WHERE user_id = 60 AND hosp_acct_id = 30"),
                  std::set<int>{})
            << e.control;
        exec("DELETE FROM Privileges_accounts");
    }
    const auto types = users::ReportTypePrivilegeTable();
    for (const auto& e : types) {
        auto s = openScreen();
        child<QComboBox>(*s, "CBAccounts")->setCurrentIndex(1); // North One (30)
        auto* list = child<QListView>(*s, "ReportTypeList");
        list->clearSelection();
        list->selectionModel()->select(list->model()->index(2, 0), QItemSelectionModel::Select); // Consult
        const std::set<int> expected = checkWithParents(*s, types, e);
        child<QPushButton>(*s, "BOK")->click();
        EXPECT_EQ(stored("SELECT privilege_set1 FROM Privileges_report_types WHERE user_id = 60 AND hosp_acct_id = "
                         "30 AND report_type_nbr = 3"),
                  expected)
            << e.control;
        EXPECT_EQ(stored("SELECT privilege_set1 FROM Privileges_report_types WHERE user_id = 60 AND hosp_acct_id = "
                         "30 AND report_type_nbr = 1"),
                  std::set<int>{})
            << e.control;
        exec("DELETE FROM Privileges_report_types");
    }
}

TEST_F(PrivilegesScreen, PositionsWithoutACheckboxAreKeptExceptFifteen) {
    std::set<int> uncontrolled;
    for (int n = 0; n < users::kSystemPrivilegeCount; ++n) {
        bool has = false;
        for (const auto& e : users::SystemPrivilegeTable())
            has = has || e.position == n;
        if (!has)
            uncontrolled.insert(n);
    }
    std::string set(160, '\x01');
    for (int n : uncontrolled)
        set[static_cast<size_t>(n)] = '\x02';
    exec("UPDATE System_user_bindery SET privilege_set1 = '" + set + "' WHERE user_id = 60");
    std::string account(255, '\x02');
    for (const auto& e : users::AccountPrivilegeTable())
        account[static_cast<size_t>(e.position)] = '\x01';
    exec("INSERT Privileges_accounts VALUES (60, 31, '" + account + "', NULL)");
    auto s = openScreen();
    child<QPushButton>(*s, "BOK")->click();
    uncontrolled.erase(15);
    EXPECT_EQ(stored("SELECT privilege_set1 FROM System_user_bindery WHERE user_id = 60"), uncontrolled);
    EXPECT_EQ(stored("SELECT privilege_set1 FROM Privileges_accounts WHERE user_id = 60 AND hosp_acct_id = 31"),
              positionsOf(account));
}

TEST_F(PrivilegesScreen, ClearingAParentClearsAndDisablesItsSubPrivileges) {
    exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({12, 50, 127, 55, 128}, 160) +
         "' WHERE user_id = 60");
    auto s = openScreen();
    auto* rs = child<QCheckBox>(*s, "CHKRS");
    auto* fax = child<QCheckBox>(*s, "CHKRSFax");
    auto* faxPersonal = child<QCheckBox>(*s, "chkRsFaxToPersonalNumbers");
    ASSERT_TRUE(rs->isChecked());
    ASSERT_TRUE(faxPersonal->isChecked());
    EXPECT_TRUE(faxPersonal->isEnabled());
    fax->setChecked(false); // a sub-sub-privilege follows its own parent
    EXPECT_FALSE(faxPersonal->isChecked());
    EXPECT_FALSE(faxPersonal->isEnabled());
    EXPECT_TRUE(child<QCheckBox>(*s, "chkRsEmailToPersonalAddrs")->isChecked());
    rs->setChecked(false);
    for (const char* name : {"CHKRSEmail", "chkRsEmailToPersonalAddrs", "CHKRSFax"}) {
        EXPECT_FALSE(child<QCheckBox>(*s, name)->isChecked()) << name;
        EXPECT_FALSE(child<QCheckBox>(*s, name)->isEnabled()) << name;
    }
    rs->setChecked(true);
    EXPECT_TRUE(fax->isEnabled());
    EXPECT_FALSE(faxPersonal->isEnabled());
    child<QPushButton>(*s, "BOK")->click();
    EXPECT_EQ(stored("SELECT privilege_set1 FROM System_user_bindery WHERE user_id = 60"), std::set<int>{12});
}

TEST_F(PrivilegesScreen, ClearAllClearsEveryApplicationPrivilegeAndTheirSubPrivileges) {
    exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({0, 1, 14, 24, 36, 99, 100, 60}, 160) +
         "' WHERE user_id = 60");
    auto s = openScreen();
    child<QPushButton>(*s, "cmdClearAll")->click();
    child<QPushButton>(*s, "BOK")->click();
    EXPECT_EQ(stored("SELECT privilege_set1 FROM System_user_bindery WHERE user_id = 60"), std::set<int>{60});
}

TEST_F(PrivilegesScreen, GroupPrivilegesShowReadOnlyBesideAUsersOwn) {
    exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({8}, 160) + "' WHERE user_id = 70");
    exec("INSERT Privileges_accounts VALUES (70, 30, '" + setWith({12}, 255) + "', NULL)");
    auto s = openScreen();
    QCheckBox* pp = s->GroupIndicator("CHKPP");
    ASSERT_NE(pp, nullptr);
    EXPECT_EQ(pp->objectName(), "chkGroupPriv");
    EXPECT_TRUE(pp->isChecked());
    EXPECT_FALSE(pp->isEnabled());
    EXPECT_FALSE(child<QCheckBox>(*s, "CHKPP")->isChecked());
    EXPECT_FALSE(s->GroupIndicator("CHKPPEdit")->isChecked());
    selectAccountRow(*s, 1);
    EXPECT_TRUE(s->GroupIndicator("chkPDEditOutputs")->isChecked());
    selectAccountRow(*s, 2);
    EXPECT_FALSE(s->GroupIndicator("chkPDEditOutputs")->isChecked());
    // A group's own screen shows no indicators.
    auto g = openScreen(70, "NURSES", true);
    EXPECT_TRUE(g->GroupIndicator("CHKPP")->isHidden());
    EXPECT_FALSE(g->findChild<QCheckBox*>("chkPDAddMembership")->isHidden());
}

TEST_F(PrivilegesScreen, AGroupWithTranscriptionDesktopIsToldAndLosesIt) {
    const std::string message =
        "The Transcription Desktop and/or Veltra Text Job Player System privilege should not be available for this "
        "group. The associated System and Account/Report type privileges, and all dependent privileges, will be "
        "disabled and removed.\nIf users in this group need to access these applications, they should be converted "
        "to Transcriptionist Users.\nThese changes will not be not made permanent until privileges have been saved.";
    exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({14, 25, 0}, 160) + "' WHERE user_id = 70");
    auto s = openScreen(70, "NURSES", true);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, message);
    EXPECT_EQ(recorder.shown[0].title, "Error");
    EXPECT_FALSE(child<QCheckBox>(*s, "CHKED")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(*s, "CHKEDHoursPrompt")->isChecked());
    // Setting the job player privilege again is refused the same way.
    child<QCheckBox>(*s, "chkK2Transcription")->setChecked(true);
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_FALSE(child<QCheckBox>(*s, "chkK2Transcription")->isChecked());
    child<QPushButton>(*s, "BOK")->click();
    EXPECT_EQ(stored("SELECT privilege_set1 FROM System_user_bindery WHERE user_id = 70"), std::set<int>{0});
    EXPECT_EQ(logRows(), (std::vector<std::string>{"20022|2|2|50|1|Privileges for group NURSES have been modified."}));
}

TEST_F(PrivilegesScreen, ReportTypeCheckboxesWriteEverySelectedTypeAndTheButtonsCopy) {
    auto s = openScreen();
    child<QComboBox>(*s, "CBAccounts")->setCurrentIndex(1);
    child<QPushButton>(*s, "BReportsSelectAll")->click();
    auto* list = child<QListView>(*s, "ReportTypeList");
    EXPECT_EQ(list->selectionModel()->selectedIndexes().size(), 3);
    child<QCheckBox>(*s, "CHKEDRead")->setChecked(true);
    child<QPushButton>(*s, "BReportsUnSelectAll")->click();
    EXPECT_TRUE(list->selectionModel()->selectedIndexes().empty());
    list->selectionModel()->select(list->model()->index(1, 0), QItemSelectionModel::Select);
    child<QCheckBox>(*s, "CHKRSView")->setChecked(true);
    child<QPushButton>(*s, "BSetAllRptAcctGen")->click(); // general position 7 to every account's types
    selectAccountRow(*s, 1);
    child<QCheckBox>(*s, "CHKSSView")->setChecked(true);
    child<QCheckBox>(*s, "CHKEDAccess")->setChecked(true);
    child<QPushButton>(*s, "BSetDefault")->click(); // general account positions, not 3
    child<QPushButton>(*s, "BOK")->click();
    EXPECT_EQ(rows("SELECT hosp_acct_id, report_type_nbr, privilege_set1 FROM Privileges_report_types WHERE "
                   "user_id = 60 ORDER BY hosp_acct_id, report_type_nbr")
                  .size(),
              5u);
    for (long type : {0, 1, 3})
        EXPECT_EQ(stored("SELECT privilege_set1 FROM Privileges_report_types WHERE user_id = 60 AND hosp_acct_id = "
                         "30 AND report_type_nbr = " +
                         std::to_string(type)),
                  (std::set<int>{1, 7}))
            << type;
    EXPECT_EQ(stored("SELECT privilege_set1 FROM Privileges_report_types WHERE user_id = 60 AND hosp_acct_id = 31"),
              std::set<int>{7});
    EXPECT_EQ(stored("SELECT privilege_set1 FROM Privileges_accounts WHERE user_id = 60 AND hosp_acct_id = 30"),
              (std::set<int>{0, 3}));
    EXPECT_EQ(stored("SELECT privilege_set1 FROM Privileges_accounts WHERE user_id = 60 AND hosp_acct_id = 31"),
              std::set<int>{0});
}

TEST_F(PrivilegesScreen, AFailedSaveShowsTheMessageStaysOpenAndWritesNothing) {
    const std::string accounts = "SELECT hosp_acct_id, privilege_set1 FROM Privileges_accounts ORDER BY user_id, "
                                 "hosp_acct_id";
    const auto stored = rows(accounts);
    auto s = openScreen();
    child<QCheckBox>(*s, "CHKSS")->setChecked(true);
    // The link drops just before the batch's last statement, on the first try and on the retry.
    session().traceHook = [&](int mode) {
        const std::string& sql = session().SQLStatement;
        if (mode == 0 && sql.find("UPDATE System_user_bindery") != std::string::npos) {
            const auto statements = std::count(sql.begin(), sql.end(), '\n') + 1;
            const std::string stop = "drop-link-after " + std::to_string(statements - 3);
            odbc.arrangeFault("KALDRA", stop + "\n" + stop);
        }
    };
    child<QPushButton>(*s, "BOK")->click();
    session().traceHook = nullptr;
    EXPECT_NE(s->result(), QDialog::Accepted);
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text,
              "An error was encountered trying to save the user's privilege settings.  \nChanges were not saved");
    EXPECT_EQ(rows(accounts), stored);
    EXPECT_EQ(scalar("SELECT ISNULL(privilege_set1, 'null') FROM System_user_bindery WHERE user_id = 60"), "null");
    EXPECT_TRUE(child<QCheckBox>(*s, "CHKSS")->isChecked());
}

TEST_F(PrivilegesScreen, AccessKeysOfTheTabsButtonsAndLabelsAreDistinct) {
    auto s = openScreen();
    std::map<QChar, QStringList> keys;
    auto add = [&](const QString& text) {
        const int at = text.indexOf('&');
        if (at >= 0 && at + 1 < text.size())
            keys[text[at + 1].toLower()] << text;
    };
    for (const QPushButton* b : s->findChildren<QPushButton*>())
        add(b->text());
    for (const QLabel* l : s->findChildren<QLabel*>())
        add(l->text());
    auto* tabs = child<QTabWidget>(*s, "tabPrivileges");
    for (int i = 0; i < tabs->count(); ++i)
        add(tabs->tabText(i));
    for (const auto& [key, texts] : keys)
        EXPECT_EQ(texts.size(), 1) << texts.join(" | ").toStdString();
    EXPECT_TRUE(child<QPushButton>(*s, "BOK")->isDefault());
}
