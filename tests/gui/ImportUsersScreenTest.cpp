// File > Import Users on the demo site: the sample file's preview, the import under the wait window,
// its Cancel, the result file and User Management's list afterwards.

#include "GenXWait.h"
#include "ImportPreviewModel.h"
#include "StartupFixture.h"
#include "UA_Import_Users.h"
#include "UA_User_Mgmt.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using kdtest::StartupTest;

namespace {

std::vector<std::string> column(QAbstractItemModel* model, int col) {
    std::vector<std::string> out;
    for (int r = 0; r < model->rowCount(); ++r)
        out.push_back(model->index(r, col).data().toString().toStdString());
    return out;
}

class ImportUsersScreen : public StartupTest {
protected:
    // Starts the console as ADMINISTRATOR and chooses File > Import Users, with `work` run on the
    // dialog in place of the user.
    void importWith(const std::function<void(users::UA_Import_Users&)>& work) {
        prompt.answers = {{"ADMINISTRATOR", "demo"}};
        app::Startup startup(window, login, prompt);
        startup.userManagementHooks = [&work](users::UA_User_Mgmt& screen) {
            screen.runDialog = [&work](QDialog& d) {
                if (auto* dialog = qobject_cast<users::UA_Import_Users*>(&d))
                    work(*dialog);
                return int(QDialog::Rejected);
            };
        };
        ASSERT_TRUE(startup.run({"/INI=" + site + "/KALDRA.INI"}, folder, folder));
        recorder.shown.clear();
        window.runCommand("mnuImportUsers");
        QMdiSubWindow* front = window.mdiArea()->currentSubWindow();
        ASSERT_NE(front, nullptr);
        auto* list = front->widget()->findChild<QTableView*>("lvwUsers");
        ASSERT_NE(list, nullptr);
        listed = column(list->model(), 0);
        startup.shutDown();
    }
    static void preview(users::UA_Import_Users& dialog, const std::string& file) {
        dialog.SetFile(QString::fromStdString(file));
        dialog.findChild<QCheckBox*>("chkGeneratePasswords")->setChecked(true);
        QTest::mouseClick(dialog.findChild<QPushButton*>("cmdPreview"), Qt::LeftButton);
    }
    bool listedUser(const std::string& name) const {
        return std::find(listed.begin(), listed.end(), name) != listed.end();
    }

    mainwindow::General_MDI window;
    suite::LoginComponent login;
    std::vector<std::string> listed;
};

TEST_F(ImportUsersScreen, TheSampleFileIsPreviewedImportedAndItsResultSaved) {
    std::vector<std::string> previewed, messages, imported;
    bool importEnabled = false;
    importWith([&](users::UA_Import_Users& dialog) {
        preview(dialog, site + "/sample-users.csv");
        auto* view = dialog.findChild<QTableView*>("lvwPreview");
        QAbstractItemModelTester tester(view->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        previewed = column(view->model(), users::ImportPreviewModel::Outcome);
        messages = column(view->model(), users::ImportPreviewModel::Message);
        importEnabled = dialog.findChild<QPushButton*>("cmdImport")->isEnabled();
        QTest::mouseClick(dialog.findChild<QPushButton*>("cmdImport"), Qt::LeftButton);
        imported = column(view->model(), users::ImportPreviewModel::Outcome);
    });
    EXPECT_EQ(previewed, (std::vector<std::string>{"new", "new", "new", "exists (will be skipped)", "error"}));
    EXPECT_EQ(messages.back(), "User name cannot contain any spaces");
    EXPECT_TRUE(importEnabled);
    EXPECT_EQ(imported, (std::vector<std::string>{"added", "added", "added", "skipped", "error"}));
    ASSERT_FALSE(recorder.shown.empty());
    EXPECT_EQ(recorder.shown.back().text, "The import is finished: 3 added, 0 updated, 1 skipped, 1 refused, 0 "
                                          "failed.\n\nThe result was saved as " +
                                              site + "/sample-users-result.csv.");
    EXPECT_EQ(recorder.shown.back().title, "Import Users");
    const auto result = users::UserCsvReader::ReadFile(site + "/sample-users-result.csv");
    ASSERT_EQ(result.error, "");
    EXPECT_EQ(result.records.size(), 6u);
    EXPECT_EQ(result.records[1].fields.at(1) + "|" + result.records[1].fields.at(2), "AOCONNOR|added");
    EXPECT_FALSE(result.records[1].fields.at(5).empty()); // its generated password
    // User Management shows the new users once the dialog is closed.
    EXPECT_TRUE(listedUser("AOCONNOR"));
    EXPECT_TRUE(listedUser("CROSSI"));
    EXPECT_FALSE(listedUser("JANE DOE"));
}

// Cancel on the wait window after the first user: that user is complete, the others are untouched.
TEST_F(ImportUsersScreen, CancelOnTheWaitWindowStopsAfterTheCurrentUser) {
    users::UserImportSummary summary;
    importWith([&](users::UA_Import_Users& dialog) {
        preview(dialog, site + "/sample-users.csv");
        dialog.afterEachUser = [](size_t done) {
            if (done == 1)
                platform::GenXWait::instance().findChild<QPushButton*>("BCancel")->click();
        };
        QTest::mouseClick(dialog.findChild<QPushButton*>("cmdImport"), Qt::LeftButton);
        summary = dialog.Summary();
    });
    EXPECT_TRUE(summary.cancelled);
    EXPECT_EQ(summary.added, 1u);
    EXPECT_EQ(summary.notImported, 2u);
    EXPECT_TRUE(listedUser("AOCONNOR"));
    EXPECT_FALSE(listedUser("BMULLER"));
    EXPECT_FALSE(platform::GenXWait::instance().isVisible());
}

} // namespace
