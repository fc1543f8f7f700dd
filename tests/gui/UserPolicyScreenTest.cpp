#include "DatabaseSession.h"
#include "EventLog.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "PasswordCipher.h"
#include "SessionHelper.h"
#include "TestSiteKey.h"
#include "UA_LDAP_Settings.h"
#include "UA_Policy.h"
#include "modPartition.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <memory>
#include <ostream>

namespace {

// The policy screen over a fresh suite database holding the default policy and "Nurses" (id 1),
// which user AMY follows; the acting user is the system administrator MGR (id 50).
class PolicyScreen : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT System_user_policies (policy_id, policy_name, permit_blank_password, case_sensitive_password, "
             "minimum_password_length, require_alpha_numeric, allow_password_change, password_expiration_days, "
             "intruder_detection_enabled, maximum_login_attempts, lockout_duration, flag2, flag3, string1, string2) "
             "VALUES (1, 'Nurses', 0, 1, 6, 1, 1, 30, 1, 4, 7200, 1, 2, 'CORP', NULL)\n"
             "INSERT System_user_bindery (user_id, user_name, flag3, flag4, is_deleted) VALUES (61, 'AMY', 0, 1, 0)");
        login.user.user_id = 50;
        login.user.user_name = "MGR";
        login.user.Partition_ID = 0;
        login.user.is_administrator = true;
        physicians::Partitions().login = &login;
        auto& log = foundation::EventLog::context();
        log = foundation::LogContext{};
        log.userId = 50;
        kdtest::connectSession(odbc.folder(), "KALDRA");
        session().ReadDatabaseVersion();
    }
    void TearDown() override {
        screen.reset();
        physicians::Partitions().login = nullptr;
        session().DisconnectFromSQL();
    }
    void open() {
        screen = std::make_unique<users::UA_Policy>(login);
        screen->MyShow();
        recorder.shown.clear();
        session().history.clear();
    }
    static foundation::DatabaseSession& session() { return foundation::DatabaseSession::instance(); }

    template <typename T>
    T* child(const char* name) {
        T* c = screen->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QListWidget* list() { return child<QListWidget>("lstConfig"); }
    QStringList names() {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    void pick(const QString& name) {
        const auto items = list()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        list()->setCurrentItem(items.front());
    }
    void typeName(const QString& value) {
        auto* field = child<QLineEdit>("txtPolicyName");
        field->selectAll();
        bool ascii = true;
        for (QChar c : value)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii)
            QTest::keyClicks(field, value);
        else
            field->insert(value); // as pasted: key events carry ASCII only
    }
    void choose(const char* combo, const QString& caption) {
        auto* box = child<QComboBox>(combo);
        const int at = box->findText(caption);
        ASSERT_GE(at, 0) << caption.toStdString();
        box->setCurrentIndex(at);
    }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    std::vector<std::pair<std::string, std::string>> messages() const {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& m : recorder.shown)
            out.emplace_back(m.text, m.title);
        return out;
    }

    suite::LoginComponent login;
    platform::MessageRecorder recorder;
    std::unique_ptr<users::UA_Policy> screen;
};

using Entries = std::vector<std::pair<QString, qlonglong>>;
Entries entries(QComboBox* box) {
    Entries out;
    for (int i = 0; i < box->count(); ++i)
        out.emplace_back(box->itemText(i), box->itemData(i).toLongLong());
    return out;
}

TEST_F(PolicyScreen, OpensWithTheListByNameAndTheFirstPolicyShown) {
    open();
    EXPECT_EQ(names(), (QStringList{"Default Policy", "Nurses"}));
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_EQ(child<QLineEdit>("txtPolicyName")->text(), "Default Policy");
    screen.reset();
    session().history.clear();
    open();
    EXPECT_FALSE(screen->IsDirty());
}

TEST_F(PolicyScreen, EveryListOffersItsCaptionsAndStoredValues) {
    open();
    EXPECT_EQ(entries(child<QComboBox>("cmbLockoutDuration")), (Entries{{"5 minutes", 5},
                                                                        {"10 minutes", 10},
                                                                        {"30 minutes", 30},
                                                                        {"1 hour", 60},
                                                                        {"4 hours", 240},
                                                                        {"24 hours", 3600},
                                                                        {"48 hours", 7200},
                                                                        {"Until Reset", 0}}));
    EXPECT_EQ(entries(child<QComboBox>("cmbPasswordExpiration")), (Entries{{"Never", 0},
                                                                           {"15 days", 15},
                                                                           {"30 days", 30},
                                                                           {"45 days", 45},
                                                                           {"60 days", 60},
                                                                           {"90 days", 90},
                                                                           {"120 days", 120}}));
    EXPECT_EQ(entries(child<QComboBox>("cmbSignaturePasswordExpiration")),
              entries(child<QComboBox>("cmbPasswordExpiration")));
    EXPECT_EQ(entries(child<QComboBox>("cmbMinPasswordLength")), (Entries{{"3 characters", 3},
                                                                          {"4 characters", 4},
                                                                          {"5 characters", 5},
                                                                          {"6 characters", 6},
                                                                          {"7 characters", 7},
                                                                          {"8 characters", 8}}));
    EXPECT_EQ(entries(child<QComboBox>("cmbMinSignaturePasswordLength")),
              entries(child<QComboBox>("cmbMinPasswordLength")));
    EXPECT_EQ(entries(child<QComboBox>("cmbLoginAttempts")).front(), (std::pair<QString, qlonglong>{"2 attempts", 2}));
    EXPECT_EQ(entries(child<QComboBox>("cmbLoginAttempts")).back(), (std::pair<QString, qlonglong>{"9 attempts", 9}));
    EXPECT_EQ(child<QComboBox>("cmbLoginAttempts")->count(), 8);
    const Entries attempts = entries(child<QComboBox>("cmbMaxSignaturePasswordAttempts"));
    ASSERT_EQ(attempts.size(), 10u);
    EXPECT_EQ(attempts[0], (std::pair<QString, qlonglong>{"No Limit", 0}));
    EXPECT_EQ(attempts[1], (std::pair<QString, qlonglong>{"1 attempt", 1}));
    EXPECT_EQ(attempts[2], (std::pair<QString, qlonglong>{"2 attempts", 2}));
    const Entries history = entries(child<QComboBox>("cmbMaxPasswordHistory"));
    ASSERT_EQ(history.size(), 11u);
    EXPECT_EQ(history[0], (std::pair<QString, qlonglong>{"None", 0}));
    EXPECT_EQ(history[10], (std::pair<QString, qlonglong>{"10", 10}));
    EXPECT_EQ(entries(child<QComboBox>("cmbSignaturePassword")),
              (Entries{{"No Additional Authentication", 0},
                       {"Prompt When Opening Inbox", 1},
                       {"Prompt When Closing or Reloading Inbox", 2}}));
    ASSERT_TRUE(session().VersionGreaterThan(7.03));
    EXPECT_EQ(entries(child<QComboBox>("cmbAuthentication")),
              (Entries{{"Veltra Text Authentication", 0}, {"Windows Authentication", 1}, {"LDAP Authentication", 2}}));
    EXPECT_EQ(child<QCheckBox>("chkPermitBlankPassword")->text(), "Disallow &Blank Passwords");
    EXPECT_EQ(child<QCheckBox>("chkNumericAlpha")->text().remove('&'),
              "Passwords Require Both Numeric(0-9) and Alpha(A-Z) Characters");
}

TEST_F(PolicyScreen, LdapIsOfferedOnlyAbove703) {
    exec("UPDATE Database_version SET version = 7.03");
    session().ReadDatabaseVersion();
    open();
    EXPECT_EQ(child<QComboBox>("cmbAuthentication")->findText("LDAP Authentication"), -1);
    EXPECT_EQ(child<QComboBox>("cmbAuthentication")->count(), 2);
}

TEST_F(PolicyScreen, LoadingSelectsTheEntriesOfTheStoredValues) {
    open();
    pick("Nurses");
    EXPECT_TRUE(child<QCheckBox>("chkPermitBlankPassword")->isChecked()); // 0 stored: blank disallowed
    EXPECT_TRUE(child<QCheckBox>("chkCaseSensitive")->isChecked());
    EXPECT_EQ(child<QComboBox>("cmbMinPasswordLength")->currentText(), "6 characters");
    EXPECT_TRUE(child<QCheckBox>("chkNumericAlpha")->isChecked());
    EXPECT_FALSE(child<QCheckBox>("chkRequireSymbolChars")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("chkRequireUpperAndLowerCase")->isChecked());
    EXPECT_EQ(child<QComboBox>("cmbPasswordExpiration")->currentText(), "30 days");
    EXPECT_EQ(child<QComboBox>("cmbLoginAttempts")->currentText(), "4 attempts");
    EXPECT_EQ(child<QComboBox>("cmbLockoutDuration")->currentText(), "48 hours");
    EXPECT_EQ(child<QComboBox>("cmbAuthentication")->currentText(), "Windows Authentication");
    EXPECT_EQ(child<QLineEdit>("txtDomain")->text(), "CORP");
    EXPECT_FALSE(screen->IsDirty());
}

TEST_F(PolicyScreen, DependentControlsFollowTheirSwitches) {
    open();
    pick("Nurses");
    auto* blank = child<QCheckBox>("chkPermitBlankPassword");
    for (bool on : {false, true}) {
        blank->setChecked(on);
        EXPECT_EQ(child<QCheckBox>("chkNumericAlpha")->isEnabled(), on);
        EXPECT_EQ(child<QCheckBox>("chkRequireSymbolChars")->isEnabled(), on);
        EXPECT_EQ(child<QComboBox>("cmbMinPasswordLength")->isEnabled(), on);
    }
    for (bool on : {false, true}) {
        child<QCheckBox>("chkCaseSensitive")->setChecked(on);
        EXPECT_EQ(child<QCheckBox>("chkRequireUpperAndLowerCase")->isEnabled(), on);
        child<QCheckBox>("chkIntruderDetection")->setChecked(on);
        EXPECT_EQ(child<QComboBox>("cmbLoginAttempts")->isEnabled(), on);
        EXPECT_EQ(child<QComboBox>("cmbLockoutDuration")->isEnabled(), on);
        child<QCheckBox>("chkAllowPasswordChange")->setChecked(on);
        EXPECT_EQ(child<QComboBox>("cmbPasswordExpiration")->isEnabled(), on);
    }
    auto* note = child<QLabel>("labAuthenticationNote");
    choose("cmbAuthentication", "Windows Authentication");
    EXPECT_TRUE(child<QLineEdit>("txtDomain")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("cmdLdapSettings")->isEnabled());
    EXPECT_TRUE(note->text().startsWith("Note: The use of Windows Authentication means that user passwords"));
    EXPECT_TRUE(note->text().endsWith("operate in Stand Alone mode."));
    choose("cmbAuthentication", "LDAP Authentication");
    EXPECT_FALSE(child<QLineEdit>("txtDomain")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("cmdLdapSettings")->isEnabled());
    EXPECT_EQ(note->text(), "Note: The use of LDAP authentication means that user passwords will be validated "
                            "against an LDAP server instead of Veltra Text.  Veltra Text user policy settings for "
                            "password requirements do not apply when the password is validated against LDAP.");
    choose("cmbAuthentication", "Veltra Text Authentication");
    EXPECT_FALSE(child<QLineEdit>("txtDomain")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("cmdLdapSettings")->isEnabled());
    EXPECT_EQ(note->text(), "");
}

TEST_F(PolicyScreen, ReadOnlyForOtherThanSystemAdministrators) {
    login.user.is_administrator = false;
    login.user.is_trans_admin = true;
    open();
    EXPECT_EQ(child<QLabel>("labWarning")->text(), "Read Only Access for Non-System Administrators");
    for (const char* name : {"cmdAdd", "cmdSave", "cmdDelete", "cmdLdapSettings"})
        EXPECT_FALSE(child<QPushButton>(name)->isEnabled()) << name;
    EXPECT_FALSE(child<QLineEdit>("txtPolicyName")->isEnabled());
    EXPECT_FALSE(child<QCheckBox>("chkCaseSensitive")->isEnabled());
    EXPECT_FALSE(child<QComboBox>("cmbLockoutDuration")->isEnabled());
    pick("Nurses"); // still readable
    EXPECT_EQ(child<QLineEdit>("txtPolicyName")->text(), "Nurses");
    EXPECT_FALSE(child<QCheckBox>("chkNumericAlpha")->isEnabled());
}

TEST_F(PolicyScreen, NewCopiesTheShownPolicyAndSavesItUnderAFreeName) {
    open();
    pick("Nurses");
    click("cmdAdd");
    EXPECT_EQ(child<QLineEdit>("txtPolicyName")->text(), "Copy of Nurses");
    EXPECT_TRUE(screen->IsDirty());
    choose("cmbLockoutDuration", "24 hours");
    typeName("Night shift's");
    click("cmdSave");
    EXPECT_EQ(messages(), (std::vector<std::pair<std::string, std::string>>{}));
    EXPECT_EQ(names(), (QStringList{"Default Policy", "Night shift's", "Nurses"}));
    EXPECT_EQ(scalar("SELECT CONVERT(varchar(5), policy_id) + '|' + CONVERT(varchar(9), lockout_duration) + '|' + "
                     "CONVERT(varchar(5), minimum_password_length) + '|' + ISNULL(string1, 'NULL') + '|' + "
                     "CONVERT(varchar(5), flag2) + '|' + CONVERT(varchar(5), last_user) FROM System_user_policies "
                     "WHERE policy_name = 'Night shift''s'"),
              "2|3600|6|CORP|1|50");
    EXPECT_EQ(scalar("SELECT msg1 FROM System_log WHERE error_code = 20014"),
              "User policy Night shift's has been added by MGR.");
    EXPECT_FALSE(screen->IsDirty());
}

struct NameCase {
    const char* what;
    QString name;
    std::string text, title;
};
// Failures name the case instead of dumping its bytes.
void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.what;
}

class PolicyNames : public PolicyScreen, public ::testing::WithParamInterface<NameCase> {};

TEST_P(PolicyNames, ARefusedNameSendsNothing) {
    const auto& c = GetParam();
    open();
    pick("Nurses");
    session().history.clear();
    if (c.name.size() > 100) { // a paste, not typing
        auto* field = child<QLineEdit>("txtPolicyName");
        field->selectAll();
        field->insert(c.name);
    } else {
        typeName(c.name);
    }
    click("cmdSave");
    EXPECT_EQ(messages(), (std::vector<std::pair<std::string, std::string>>{{c.text, c.title}})) << c.what;
    EXPECT_TRUE(session().history.empty()) << c.what;
    EXPECT_EQ(QApplication::focusWidget() == nullptr ||
                  QApplication::focusWidget() == child<QLineEdit>("txtPolicyName"),
              true);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, PolicyNames,
    ::testing::Values(
        NameCase{"blank", "   ", "The user policy name is not set.  User policy cannot be saved.", "Save Error"},
        NameCase{"31 characters", QString(31, 'N'),
                 "The user policy name cannot exceed 30 characters.  Please choose a different name.", "Invalid Name"},
        NameCase{"31 non-ASCII characters", QString(31, QChar(0xE9)),
                 "The user policy name cannot exceed 30 characters.  Please choose a different name.", "Invalid Name"},
        NameCase{"10 000 character paste", QString(10000, 'x'),
                 "The user policy name cannot exceed 30 characters.  Please choose a different name.", "Invalid Name"},
        NameCase{"another policy's name in another case", "default POLICY",
                 "The user policy name default POLICY is already in use by another user policy.  User policy name "
                 "cannot be changed.",
                 "Invalid Name"}),
    [](const auto& info) { return std::to_string(info.index); });

TEST_F(PolicyScreen, ThirtyCharactersWithApostrophesAndAPastedDomainAreSaved) {
    open();
    pick("Nurses");
    const QString name = QString("O'Neil's ") + QString(19, QChar(0xE9)) + "'s"; // 30 characters
    ASSERT_EQ(name.size(), 30);
    typeName(name);
    auto* domain = child<QLineEdit>("txtDomain");
    domain->selectAll();
    domain->insert(QString(10000, 'd')); // the field holds what the column holds
    click("cmdSave");
    EXPECT_EQ(messages(), (std::vector<std::pair<std::string, std::string>>{}));
    EXPECT_EQ(scalar("SELECT policy_name FROM System_user_policies WHERE policy_id = 1"), name.toStdString());
    EXPECT_EQ(scalar("SELECT CONVERT(varchar(5), LEN(string1)) FROM System_user_policies WHERE policy_id = 1"), "100");
    EXPECT_EQ(scalar("SELECT msg1 FROM System_log WHERE error_code = 20015"),
              "User policy " + name.toStdString() + " has been updated by MGR.");
    EXPECT_TRUE(names().contains(name));
}

TEST_F(PolicyScreen, DeleteRefusesTheDefaultAndAPolicyInUse) {
    open();
    click("cmdDelete");
    pick("Nurses");
    click("cmdDelete");
    EXPECT_EQ(messages(), (std::vector<std::pair<std::string, std::string>>{
                              {"This is the default user policy.  It can not be deleted.", "Delete Error"},
                              {"This user policy can not be deleted.  It is currently used by user AMY.", "In Use"}}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_policies"), "2");
}

TEST_F(PolicyScreen, DeleteAsksFirst) {
    exec("UPDATE System_user_bindery SET flag4 = 0 WHERE user_id = 61");
    open();
    pick("Nurses");
    recorder.answer(platform::MsgAnswer::No);
    click("cmdDelete");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_policies"), "2");
    recorder.answer(platform::MsgAnswer::Yes);
    click("cmdDelete");
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, "Are you sure you wish to delete the user policy Nurses?");
    EXPECT_EQ(recorder.shown[1].title, "Delete Configuration");
    const auto& h = session().history;
    EXPECT_NE(std::find(h.begin(), h.end(), "DELETE FROM System_user_policies WHERE policy_id = 1"), h.end());
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_policies"), "1");
    EXPECT_EQ(names(), QStringList{"Default Policy"});
}

TEST_F(PolicyScreen, LeavingAChangedPolicyAsksToSaveIt) {
    open();
    pick("Nurses");
    choose("cmbLockoutDuration", "Until Reset");
    recorder.answer(platform::MsgAnswer::No);
    pick("Default Policy");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The current user policy Nurses is not saved.  Save it now?");
    EXPECT_EQ(recorder.shown[0].title, "Save User Policy?");
    EXPECT_EQ(scalar("SELECT CONVERT(varchar(9), lockout_duration) FROM System_user_policies WHERE policy_id = 1"),
              "7200");
    pick("Nurses");
    choose("cmbLockoutDuration", "Until Reset");
    recorder.answer(platform::MsgAnswer::Yes);
    pick("Default Policy");
    EXPECT_EQ(scalar("SELECT CONVERT(varchar(9), lockout_duration) FROM System_user_policies WHERE policy_id = 1"),
              "0");
    EXPECT_EQ(child<QLineEdit>("txtPolicyName")->text(), "Default Policy");
}

TEST_F(PolicyScreen, ANewPolicySavedOnLeavingIsListedUnderItsId) {
    open();
    click("cmdAdd");
    typeName("Evening");
    recorder.answer(platform::MsgAnswer::Yes);
    pick("Nurses");
    EXPECT_EQ(names(), (QStringList{"Default Policy", "Evening", "Nurses"}));
    EXPECT_EQ(child<QLineEdit>("txtPolicyName")->text(), "Nurses");
    pick("Evening");
    EXPECT_EQ(child<QLineEdit>("txtPolicyName")->text(), "Evening");
    ASSERT_EQ(recorder.shown.size(), 1u); // the question only: no retrieve error
    EXPECT_EQ(recorder.shown[0].text, "The current user policy Evening is not saved.  Save it now?");
    // A new policy left unsaved disappears from the list.
    click("cmdAdd");
    recorder.answer(platform::MsgAnswer::No);
    pick("Nurses");
    EXPECT_EQ(names(), (QStringList{"Default Policy", "Evening", "Nurses"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_user_policies"), "3");
}

TEST_F(PolicyScreen, AnUnlistedStoredValueIsKeptOnSave) {
    exec("UPDATE System_user_policies SET lockout_duration = 45, string2 = 'damaged?text' WHERE policy_id = 1");
    open();
    pick("Nurses");
    EXPECT_EQ(child<QComboBox>("cmbLockoutDuration")->currentData().toLongLong(), 45);
    typeName("Nurses 2");
    click("cmdSave");
    EXPECT_EQ(scalar("SELECT CONVERT(varchar(9), lockout_duration) + '|' + string2 FROM System_user_policies WHERE "
                     "policy_id = 1"),
              "45|damaged?text");
}

// The directory settings dialog, driven without its modal loop.
class LdapDialog : public ::testing::Test {
protected:
    template <typename T>
    T* child(const char* name) {
        T* c = dialog.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    platform::MessageRecorder recorder;
    users::UA_LDAP_Settings dialog;
};

TEST_F(LdapDialog, LoadsShowsMaskedPasswordAndMarksChanges) {
    users::clsLdapSettings s;
    ASSERT_FALSE(s.CopyStateFromString("ldap1?ldap2?cn=x?" + users::clsLdapSettings::Scramble("pw") + "?dc=y?636?Tr"));
    dialog.Load(s);
    EXPECT_EQ(dialog.windowTitle(), "LDAP Settings");
    EXPECT_EQ(child<QLineEdit>("txtServer")->text(), "ldap1");
    EXPECT_EQ(child<QLineEdit>("txtBindDnPass")->text(), "pw");
    EXPECT_EQ(child<QLineEdit>("txtBindDnPass")->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(child<QCheckBox>("chkUseSSL")->isChecked()); // the cut field keeps its default
    EXPECT_FALSE(dialog.Dirty());
    auto* show = child<QPushButton>("cmdShowBindPass");
    EXPECT_EQ(show->text(), "Show");
    show->click();
    EXPECT_EQ(child<QLineEdit>("txtBindDnPass")->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(show->text(), "Hide");
    show->click();
    EXPECT_EQ(show->text(), "Show");
    QTest::keyClicks(child<QLineEdit>("txtPort"), "6");
    EXPECT_TRUE(dialog.Dirty());
    EXPECT_EQ(dialog.windowTitle(), "LDAP Settings *");
}

TEST_F(LdapDialog, ServerPrefixIsRemovedAndOkHandsBackTheEditedCopy) {
    users::clsLdapSettings s;
    s.Scope(2);
    s.Timeout(30);
    dialog.Load(s);
    child<QLineEdit>("txtServer")->setText("LDAP://dir.example.org");
    child<QLineEdit>("txtBackupServer")->setText("backup?host");
    child<QLineEdit>("txtBindDnPass")->setText("p?ss");
    child<QCheckBox>("chkUseSSL")->setChecked(true);
    child<QPushButton>("cmdOK")->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "The LDAP URL protocol prefix is not required when entering server address.  Removing.");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    const users::clsLdapSettings& out = dialog.LdapSettings();
    EXPECT_EQ(out.server(), "dir.example.org");
    EXPECT_EQ(out.Scope(), 2); // no control: kept
    EXPECT_EQ(out.Timeout(), 30);
    users::clsLdapSettings back;
    EXPECT_TRUE(back.CopyStateFromString(out.toString()));
    EXPECT_TRUE(back.IsEqual(out));
    EXPECT_EQ(out.toString().find("p?ss"), std::string::npos);
}

TEST_F(LdapDialog, TooLongForTheStoredTextIsRefusedAndCancelKeepsTheOriginal) {
    users::clsLdapSettings s;
    s.server("keep");
    dialog.Load(s);
    child<QLineEdit>("txtSearchBase")->insert(QString(10000, 'b'));
    child<QPushButton>("cmdOK")->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].title, "LDAP Settings");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    child<QPushButton>("cmdCancel")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.LdapSettings().IsEqual(s));
}

// A site without its password key file keeps directory settings but saves no bind password.
TEST_F(LdapDialog, WithoutASiteKeyABindPasswordIsRefusedWithTheReason) {
    users::clsLdapSettings s;
    s.server("dir.example.org");
    dialog.Load(s);
    suite::PasswordCipher::UseOldKeyOnly();
    child<QLineEdit>("txtBindDnPass")->setText("B1nd-Pw");
    child<QPushButton>("cmdOK")->click();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, suite::PasswordCipher::kNoSiteKeyMessage);
    EXPECT_EQ(recorder.shown[0].title, "LDAP Settings");
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    child<QLineEdit>("txtBindDnPass")->clear(); // an anonymous search needs no password
    child<QPushButton>("cmdOK")->click();
    suite::PasswordCipher::UseSiteKey(testsupport::TestSiteKey());
    EXPECT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.LdapSettings().server(), "dir.example.org");
}

} // namespace
