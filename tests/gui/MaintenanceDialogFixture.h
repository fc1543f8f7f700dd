#pragma once

#include "DB_MaintenanceCommands.h"
#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "OdbcFixture.h"
#include "SessionHelper.h"

#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kdtest {

// The database maintenance commands over a fresh suite database, for user 1 holding privileges 4
// (change the settings) and 5 (statistics) unless a test takes them away. The dialogs the commands open
// run `script` instead of their event loop, with `dialog` pointing at them (a dialog opened from
// another's script points back at the outer one when it closes) and give the result the script left;
// `opened` lists each as "objectName:title".
class MaintenanceDialogFixture : public SuiteTest {
protected:
    void SetUp() override {
        SuiteTest::SetUp();
        seed();
        connectSession(odbc.folder(), "KALDRA");
        login.user.user_id = 1;
        grant(true);
        commands = std::make_unique<maintenance::DB_MaintenanceCommands>(login, false, true);
        commands->runDialog = [this](QDialog& d) {
            QDialog* outer = dialog;
            dialog = &d;
            opened.push_back(d.objectName().toStdString() + ":" + d.windowTitle().toStdString());
            script();
            dialog = outer;
            return d.result();
        };
    }
    // The rows a test class needs before the session connects.
    virtual void seed() {}
    void TearDown() override {
        commands.reset();
        foundation::DatabaseSession::instance().DisconnectFromSQL();
    }
    void grant(bool on) {
        login.user.privilegeSet = std::string(160, '\x01');
        if (on)
            login.user.privilegeSet[4] = login.user.privilegeSet[5] = '\x02';
    }
    template <typename T>
    T* child(const char* name) {
        T* c = dialog->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // Replaces a field's text by typing, as the user does.
    void type(const char* name, const QString& text) {
        auto* field = child<QLineEdit>(name);
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    // The rows of a query as "a,b,|c,d,|", NULL as "NULL".
    std::string row(const std::string& sql) { return exec(sql).table(); }

    platform::MessageRecorder recorder;
    suite::LoginComponent login;
    std::unique_ptr<maintenance::DB_MaintenanceCommands> commands;
    QDialog* dialog = nullptr;
    std::vector<std::string> opened;
    std::function<void()> script = [] {};
};

} // namespace kdtest
