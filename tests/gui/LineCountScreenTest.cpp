#include "DatabaseSession.h"
#include "EventLog.h"
#include "LC_Config.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

using platform::MsgAnswer;

namespace {

// The default configuration 0 and "Radiology" (1), which report types of account 10 use.
class LineCountScreen : public kdtest::SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        exec("INSERT INTO Linecount_cfg (config_id, config_name) VALUES (1, 'Radiology')");
        kdtest::connectSession(odbc.folder(), "KALDRA");
        foundation::EventLog::context() = foundation::LogContext{};
        foundation::EventLog::context().userName = "admin";
        open();
    }
    void TearDown() override {
        screen.reset();
        foundation::DatabaseSession::instance().DisconnectFromSQL();
    }
    void open() {
        screen = std::make_unique<accounts::LC_Config>(login);
        screen->MyShow();
        recorder.shown.clear();
    }
    template <typename T>
    T* child(const char* name) {
        T* c = screen->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void type(const char* name, const QString& text) {
        auto* field = child<QLineEdit>(name);
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    void click(const char* name) { child<QPushButton>(name)->click(); }
    QListWidget* list() { return child<QListWidget>("lstConfig"); }
    void choose(const QString& name) {
        const auto found = list()->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        list()->setCurrentItem(found[0]);
    }
    QStringList names() {
        QStringList out;
        for (int i = 0; i < list()->count(); ++i)
            out << list()->item(i)->text();
        return out;
    }
    void useIn(int reports) {
        for (int i = 1; i <= reports; ++i)
            exec("INSERT Reports_cfg (hosp_acct_id, dept_id, report_type_nbr, report_version_nbr, report_name, "
                 "billing_linecount_cfg) VALUES (10, 1, " +
                 std::to_string(i) + ", 0, 'Report', 1)");
    }

    platform::MessageRecorder recorder;
    suite::LoginComponent login;
    std::unique_ptr<accounts::LC_Config> screen;
};

TEST_F(LineCountScreen, ListsByNameAndShowsTheSelectedSettings) {
    EXPECT_EQ(names(), (QStringList{"Default", "Radiology"}));
    EXPECT_EQ(list()->item(1)->data(Qt::UserRole + 1).toString(), "C1");
    EXPECT_EQ(child<QLineEdit>("txtLCLength")->text(), "65");
    EXPECT_EQ(child<QLineEdit>("txtPCLength")->text(), "55");
    EXPECT_EQ(child<QTabWidget>("tabConfig")->count(), 5);
    EXPECT_FALSE(child<QPushButton>("cmdSave")->isEnabled());
    type("txtLCWgtValue", "90");
    EXPECT_TRUE(child<QPushButton>("cmdSave")->isEnabled());
}

// Each limit of the line length and its neighbours, typed and saved through the screen.
TEST_F(LineCountScreen, LineLengthLimitsThroughTheScreen) {
    const std::pair<const char*, bool> cases[] = {{"0", false}, {"1", true}, {"255", true}, {"256", false}};
    choose("Radiology");
    for (const auto& [value, accepted] : cases) {
        SCOPED_TRACE(value);
        recorder.shown.clear();
        type("txtLCLength", value);
        click("cmdSave");
        if (accepted) {
            EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;
            EXPECT_EQ(scalar("SELECT lc_line_length FROM Linecount_cfg WHERE config_id = 1"), value);
            EXPECT_FALSE(screen->IsChanged());
            continue;
        }
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text,
                  "Configuration cannot be saved.  The Line Length setting is invalid.  Valid values are 1 to 255.");
        EXPECT_EQ(recorder.shown[0].title, "Invalid Entry");
        EXPECT_TRUE(screen->IsChanged());
        EXPECT_EQ(child<QTabWidget>("tabConfig")->currentIndex(), 0);
    }
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM System_log WHERE error_code = 20025 AND msg1 = 'Line count configuration "
                     "Radiology updated.'"),
              "2");
}

TEST_F(LineCountScreen, AnInvalidPercentOpensItsPage) {
    type("txtCCVeltraExpertPercent", "101");
    click("cmdSave");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Configuration cannot be saved.  The Veltra Expert Character Adj. Percent "
                                      "setting is invalid.  Valid values are 0 to 100.");
    EXPECT_EQ(child<QTabWidget>("tabConfig")->currentIndex(), 3);
}

TEST_F(LineCountScreen, AddMakesAnUnsavedCopyThatSaveInserts) {
    choose("Radiology");
    type("txtPCWgtValue", "-32000");
    click("cmdSave");
    click("cmdAdd");
    EXPECT_EQ(list()->currentItem()->text(), "Copy of Radiology");
    EXPECT_TRUE(child<QPushButton>("cmdSave")->isEnabled());
    EXPECT_EQ(child<QLineEdit>("txtPCWgtValue")->text(), "-32000");
    click("cmdSave");
    EXPECT_TRUE(recorder.shown.empty()) << recorder.shown.front().text;
    EXPECT_EQ(scalar("SELECT config_name + '|' + CONVERT(varchar, pc_weight_value) FROM Linecount_cfg WHERE config_id "
                     "= 2"),
              "Copy of Radiology|-32000");
    EXPECT_EQ(names(), (QStringList{"Copy of Radiology", "Default", "Radiology"}));
    // Leaving an unsaved copy without saving drops it.
    click("cmdAdd");
    recorder.answer(MsgAnswer::No);
    choose("Default");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "The current configuration Copy of Copy of Radiology is not saved.  Save it now?");
    EXPECT_EQ(recorder.shown[0].title, "Save Configuration?");
    EXPECT_EQ(names(), (QStringList{"Copy of Radiology", "Default", "Radiology"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM Linecount_cfg"), "3");
}

// Names count characters: 30 letters of two bytes are allowed, 31 are not.
TEST_F(LineCountScreen, RenamingChecksLengthAndUse) {
    choose("Radiology");
    const QString thirty = QString::fromUtf8("\xC3\xBC").repeated(29) + QString::fromUtf8("\xE2\x82\xAC");
    list()->currentItem()->setText(thirty + "x");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "The configuration name cannot exceed 30 characters.  Please choose a different name.");
    EXPECT_EQ(recorder.shown[0].title, "Invalid Name");
    EXPECT_EQ(list()->currentItem()->text(), "Radiology");
    list()->currentItem()->setText("DEFAULT");
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, "The configuration name DEFAULT is already in use by another configuration.  "
                                      "Configuration name cannot be changed.");
    EXPECT_EQ(list()->currentItem()->text(), "Radiology");
    EXPECT_FALSE(screen->IsChanged());
    list()->currentItem()->setText(thirty);
    EXPECT_TRUE(screen->IsChanged());
    click("cmdSave");
    EXPECT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(QString::fromStdString(scalar("SELECT config_name FROM Linecount_cfg WHERE config_id = 1")), thirty);
}

TEST_F(LineCountScreen, DeleteRefusesTheDefaultAndConfigurationsInUse) {
    click("cmdDelete");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "This is the default line count configuration.  It can not be deleted.");
    EXPECT_EQ(recorder.shown[0].title, "Delete Error");
    const std::pair<int, const char*> uses[] = {
        {1, "This configuration can not be deleted.  It is currently referenced by 1 report."},
        {2, "This configuration can not be deleted.  It is currently referenced by 2 reports."},
    };
    choose("Radiology");
    for (const auto& [reports, message] : uses) {
        exec("DELETE FROM Reports_cfg");
        useIn(reports);
        recorder.shown.clear();
        recorder.answer(MsgAnswer::Yes);
        click("cmdDelete");
        ASSERT_EQ(recorder.shown.size(), 2u);
        EXPECT_EQ(recorder.shown[0].text, "Are you sure you wish to delete the configuration Radiology?");
        EXPECT_EQ(recorder.shown[0].title, "Delete Configuration");
        EXPECT_EQ(recorder.shown[1].text, message);
        EXPECT_EQ(recorder.shown[1].title, "In Use");
    }
    exec("DELETE FROM Reports_cfg");
    recorder.answer(MsgAnswer::Yes);
    click("cmdDelete");
    EXPECT_EQ(names(), QStringList{"Default"});
    EXPECT_EQ(scalar("SELECT msg1 FROM System_log WHERE error_code = 20028"),
              "Line count configuration Radiology deleted.");
}

TEST_F(LineCountScreen, LeavingAChangedConfigurationCanSaveIt) {
    choose("Radiology");
    type("txtCCDivisions", "4");
    recorder.answer(MsgAnswer::Yes);
    choose("Default");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The current configuration Radiology is not saved.  Save it now?");
    EXPECT_EQ(scalar("SELECT cc_nbr_divisions FROM Linecount_cfg WHERE config_id = 1"), "4");
    EXPECT_EQ(list()->currentItem()->text(), "Default");
    EXPECT_EQ(screen->Current().config_id, 0);
    // An invalid change keeps the user on the configuration.
    type("txtCCDivisions", "0");
    recorder.answer(MsgAnswer::Yes);
    choose("Radiology");
    ASSERT_EQ(recorder.shown.size(), 3u);
    EXPECT_EQ(recorder.shown[2].text,
              "Configuration cannot be saved.  The Character Line Divisions setting is invalid. "
              " Valid values are 1 to 255.");
    EXPECT_EQ(list()->currentItem()->text(), "Default");
    EXPECT_TRUE(screen->IsChanged());
}

TEST_F(LineCountScreen, VisibleCharactersOnlyCountNoBlankLines) {
    auto* blanks = child<QComboBox>("cboCCBlanks");
    blanks->setCurrentIndex(3);
    child<QCheckBox>("chkCC_VBC")->click();
    EXPECT_EQ(blanks->currentIndex(), 0);
    EXPECT_EQ(blanks->currentText(), "None");
    EXPECT_FALSE(blanks->isEnabled());
    child<QCheckBox>("chkCC_VBC")->click();
    EXPECT_TRUE(blanks->isEnabled());
}

TEST_F(LineCountScreen, RtfCodesOf765CharactersSaveAnd766AreRefused) {
    choose("Radiology");
    const QString codes = QString::fromUtf8("\xE2\x82\xAC").repeated(765);
    child<QPlainTextEdit>("txtAttributes")->setPlainText(codes + "x");
    click("cmdSave");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text,
              "The RTF Attribute Codes text is too long.  The maximum number of characters is 765.");
    child<QPlainTextEdit>("txtAttributes")->setPlainText(codes);
    click("cmdSave");
    EXPECT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(scalar("SELECT CONVERT(varchar, LEN(attribute_set1)) + '|' + CONVERT(varchar, LEN(attribute_set3)) + "
                     "'|' + ISNULL(function_set1, 'NULL') FROM Linecount_cfg WHERE config_id = 1"),
              "255|255|NULL");
}

TEST_F(LineCountScreen, SavingTheRoutineWeightingConfigurationWarns) {
    login.AddUserOption("PayrollConfig", "1");
    login.AddUserOption("RoutineWeightingPayroll", "TRUE");
    open();
    choose("Default"); // not the payroll one
    type("txtLCWgtValue", "95");
    click("cmdSave");
    EXPECT_TRUE(recorder.shown.empty());
    choose("Radiology");
    type("txtLCWgtValue", "95");
    click("cmdSave");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Warning: This line count configuration is used for Routine Weighting.  You may "
                                      "also want to rerun the line count statistics for all routines using the "
                                      "Routine Manager.");
    EXPECT_EQ(recorder.shown[0].title, "Routine Weighting");
}

} // namespace
