#include "AC_Select.h"
#include "AccountManagerFixture.h"
#include "GenXWait.h"
#include "General_MDI.h"
#include "LC_Config.h"
#include "PP_Chg_Partition.h"
#include "PP_Set_Default_Partition.h"
#include "SL_Log_List.h"
#include "TE_Add_Pause.h"
#include "TE_Add_Susp.h"
#include "TE_Add_form.h"
#include "TE_Pauses.h"
#include "TE_SuspTypes.h"
#include "TE_Type_Editor.h"
#include "UA_Add_Users_Groups.h"
#include "UA_Effective_Access.h"
#include "UA_Group_Edit.h"
#include "UA_LDAP_Settings.h"
#include "UA_Policy.h"
#include "UA_Printer_Privs.h"
#include "UA_Privileges_New.h"
#include "UA_Set_Policy.h"
#include "clsPrivileges.h"
#include "clsUserPolicies.h"
#include "clsUsers.h"
#include "frmLogin.h"
#include "frmSoftwareSettings.h"

#include <QLabel>

#include <functional>
#include <memory>

using kdtest::AccountManager;

namespace {

// A label shows "&" as an underlined access key only when it has a buddy to move to; without one
// the user reads a literal "&". "&&" is the escaped ampersand and always fine.
QStringList labelsShowingAmpersand(const QWidget& screen) {
    QStringList out;
    for (const QLabel* label : screen.findChildren<QLabel*>()) {
        const QString text = label->text();
        bool lone = false;
        for (int i = 0; i < text.size(); ++i) {
            if (text[i] != QLatin1Char('&'))
                continue;
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
                ++i;
                continue;
            }
            lone = true;
        }
        if (lone && !label->buddy())
            out << text;
    }
    return out;
}

TEST(LabelMnemonics, NoLabelOfTheBuiltScreensShowsALoneAmpersand) {
    suite::LoginComponent login;
    accounts::clsSuspensionTypes suspensions;
    accounts::clsPauseTypes pauses;
    accounts::clsAccountTypes perAccount(accounts::clsAccountTypes::Mode::Suspension);
    users::clsPrivileges privileges;
    privileges.Init(login, 60, "JDOE", false, 0);
    users::clsUsers noUsers;
    const std::pair<const char*, std::function<std::unique_ptr<QWidget>()>> screens[] = {
        {"General_MDI", [] { return std::make_unique<mainwindow::General_MDI>(); }},
        {"SL_Log_List", [&login] { return std::make_unique<systemlog::SL_Log_List>(login); }},
        {"AC_Select", [] { return std::make_unique<accounts::AC_Select>(); }},
        {"PP_Chg_Partition", [] { return std::make_unique<physicians::PP_Chg_Partition>(); }},
        {"PP_Set_Default_Partition", [] { return std::make_unique<physicians::PP_Set_Default_Partition>(); }},
        {"frmLogin", [] { return std::make_unique<suite::frmLogin>("KDADMIN"); }},
        {"frmChangePassword", [] { return std::make_unique<suite::frmChangePassword>(); }},
        {"UA_Policy", [&login] { return std::make_unique<users::UA_Policy>(login); }},
        {"UA_LDAP_Settings", [] { return std::make_unique<users::UA_LDAP_Settings>(); }},
        {"UA_Set_Policy",
         [] {
             static users::clsUserPolicies policies;
             return std::make_unique<users::UA_Set_Policy>(policies, std::vector<int>{});
         }},
        {"GenXWait", [] { return std::make_unique<platform::GenXWait>(); }},
        {"UA_Privileges_New",
         [&login] {
             return std::make_unique<users::UA_Privileges_New>(login, users::AdminKinds{true, true, true});
         }},
        {"UA_Printer_Privs", [] { return std::make_unique<users::UA_Printer_Privs>(); }},
        {"UA_Effective_Access", [&] { return std::make_unique<users::UA_Effective_Access>(privileges); }},
        {"frmSoftwareSettings",
         [] { return std::make_unique<foundation::frmSoftwareSettings>("/nonexistent/KALDRA.INI"); }},
        {"TE_SuspTypes", [] { return std::make_unique<accounts::TE_SuspTypes>(); }},
        {"TE_Add_Susp", [&suspensions] { return std::make_unique<accounts::TE_Add_Susp>(suspensions); }},
        {"TE_Pauses", [] { return std::make_unique<accounts::TE_Pauses>(); }},
        {"TE_Add_Pause", [&pauses] { return std::make_unique<accounts::TE_Add_Pause>(pauses); }},
        {"TE_Type_Editor",
         [&login] {
             return std::make_unique<accounts::TE_Type_Editor>(login, accounts::clsAccountTypes::Mode::Pause);
         }},
        {"TE_Add_form", [&perAccount] { return std::make_unique<accounts::TE_Add_form>(perAccount, 10); }},
        {"LC_Config", [&login] { return std::make_unique<accounts::LC_Config>(login); }},
        {"UA_Group_Edit",
         [&noUsers] { return std::make_unique<users::UA_Group_Edit>(users::clsSecurityGroup{}, noUsers); }},
        {"UA_Add_Users_Groups",
         [] { return std::make_unique<users::UA_Add_Users_Groups>(users::UA_Add_Users_Groups::Mode::Users); }},
    };
    for (const auto& [name, make] : screens) {
        const auto screen = make();
        EXPECT_EQ(labelsShowingAmpersand(*screen), QStringList{}) << name;
    }
}

TEST_F(AccountManager, NoLabelShowsALoneAmpersand) {
    EXPECT_EQ(labelsShowingAmpersand(*screen), QStringList{});
    EXPECT_EQ(child<QLabel>("lblHospIDFilter")->buddy(), child<QLineEdit>("txtHospIDFilter"));
}

} // namespace
