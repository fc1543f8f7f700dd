#include "CapturedMail.h"
#include "Configuration.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "PP_Password.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using kdtest::CapturedMail;
using physicians::PP_Password;

namespace {

// The physician's name with a two-byte (ü) and a three-byte (€) character.
const std::string kName = "J\xc3\xbcrgen \xe2\x82\xac M\xc3\xbcller";

class EmailPasswordScreen : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kdpwmail-XXXXXX";
        root = mkdtemp(pattern);
        foundation::Configuration::instance() = foundation::Configuration{};
        foundation::Configuration::instance().networkRootDir = root;
        login.Mailer = suite::SendmailProgram(KD_CAPTURE_SENDMAIL);
        login.user.user_name = "admin1";
        dialog = std::make_unique<PP_Password>(login);
    }
    void TearDown() override {
        dialog.reset();
        foundation::Configuration::instance() = foundation::Configuration{};
        std::filesystem::remove_all(root);
    }
    void type(const std::string& password, const std::string& confirm) {
        for (auto [name, text] : {std::pair{"txtPassword", password}, std::pair{"txtConfirmPassword", confirm}}) {
            auto* e = dialog->findChild<QLineEdit*>(name);
            ASSERT_NE(e, nullptr) << name;
            e->clear();
            // Typed character by character, as a keyboard with ä and € keys sends them.
            for (const QChar ch : QString::fromStdString(text)) {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
                QApplication::sendEvent(e, &press);
            }
        }
    }
    void click(const char* name) {
        auto* b = dialog->findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        b->click();
    }
    std::string last() const { return recorder.shown.empty() ? "" : recorder.shown.back().text; }

    std::string root;
    suite::LoginComponent login;
    platform::MessageRecorder recorder;
    std::unique_ptr<PP_Password> dialog;
};

TEST_F(EmailPasswordScreen, OkChecksTheMatchAndTheLengthAndAcceptsAnEmptyPassword) {
    struct Case {
        std::string password, confirm;
        const char* refusal; // "" when OK closes the dialog
    };
    const Case cases[] = {
        {"abcde", "abcde", "The password must be between 6 and 12 characters.  Please enter a different password."},
        {"\xc3\xa4\xe2\x82\xac"
         "abc",
         "\xc3\xa4\xe2\x82\xac"
         "abc",
         "The password must be between 6 and 12 characters.  Please enter a different password."},
        {"abcdef", "abcdeg", "The two password entries do not match.  Please reconfirm your password."},
        {"abcdef", "abcdef", ""},
        {"\xc3\xa4\xe2\x82\xac"
         "abcd",
         "\xc3\xa4\xe2\x82\xac"
         "abcd",
         ""},         // six characters in nine bytes
        {"", "", ""}, // the output distributor's default password
    };
    for (const auto& c : cases) {
        dialog->prepare("", kName, {"jm@clinic.test"});
        dialog->setResult(QDialog::Rejected);
        recorder.shown.clear();
        type(c.password, c.confirm);
        click("cmdOK");
        if (*c.refusal) {
            ASSERT_EQ(recorder.shown.size(), 1u) << c.password;
            EXPECT_EQ(last(), c.refusal);
            EXPECT_EQ(dialog->result(), QDialog::Rejected);
        } else {
            EXPECT_TRUE(recorder.shown.empty()) << last();
            EXPECT_EQ(dialog->result(), QDialog::Accepted) << c.password;
            EXPECT_EQ(dialog->password(), c.password);
        }
    }
    // At most 12 characters can be typed.
    dialog->prepare("", kName, {});
    type("abcdefghijklmn", "x");
    EXPECT_EQ(dialog->password(), "abcdefghijkl");
}

TEST_F(EmailPasswordScreen, SendingIsRefusedInItsOrderBeforeAnythingIsHandedOver) {
    struct Case {
        std::string version, name, password;
        std::vector<std::string> addresses;
        const char* refusal;
    };
    const Case cases[] = {
        {"2.029",
         "",
         "",
         {},
         "This feature is not support with the current version of KDLOGIN.DLL.  "
         "Please contact your technical support representative."},
        {"2.030", "", "", {}, "No physician's name has been specified.  Password cannot be sent."},
        {"8.1",
         "<various>",
         "secret1",
         {"a@x.test"},
         "No physician's name has been specified.  Password cannot be sent."},
        {"8.1", kName, "", {}, "No password has been specified.  Please specify a password."},
        {"8.1",
         kName,
         "short",
         {"a@x.test"},
         "The password must be between 6 and 12 characters.  Please enter a different password."},
        {"8.1", kName, "secret1", {"", ""}, "There is no email address configured.  Password cannot be sent."},
        {"8.1",
         kName,
         "secret1",
         {"a@x.test", "b@x.test"},
         "More than one email address has been specified for this physician.  A specific account must be selected."},
        {"8.1",
         kName,
         "secret1",
         {"<various>"},
         "More than one email address has been specified for this physician.  A specific account must be selected."},
    };
    CapturedMail mail;
    for (const auto& c : cases) {
        login.version = c.version;
        dialog->prepare("", c.name, c.addresses);
        type(c.password, c.password);
        recorder.shown.clear();
        click("cmdSendPassword");
        ASSERT_EQ(recorder.shown.size(), 1u) << c.refusal;
        EXPECT_EQ(last(), c.refusal);
        EXPECT_EQ(recorder.shown.back().title, "Email Password");
    }
    EXPECT_FALSE(mail.handedOver());
}

TEST_F(EmailPasswordScreen, TheBuiltInTextGoesToThePhysiciansAddress) {
    CapturedMail mail;
    // The same address on two accounts is one address.
    dialog->prepare("", kName, {"jm@clinic.test", "", "jm@clinic.test"});
    type("p\xc3\xa4ss\xe2\x82\xac"
         "1",
         "p\xc3\xa4ss\xe2\x82\xac"
         "1");
    click("cmdSendPassword");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(last(), "The password has been sent to jm@clinic.test");
    EXPECT_EQ(recorder.shown.back().title, "Password Sent");
    EXPECT_EQ(mail.header("To"), "jm@clinic.test");
    EXPECT_EQ(mail.header("Subject"), "Medical Reports - Password Information");
    EXPECT_EQ(CapturedMail::base64Decode(mail.rawBody()),
              "TO: " + kName +
                  "\n\nYou have received this message because you have been set up to receive Medical Reports from "
                  "the Medical Records transcription system through email.\n\nYour reports will be sent through "
                  "email in a password protected format.  When opening a report you will be prompted for a "
                  "password.  The following is your password.  Please keep it secure and do not share it.\n\n"
                  "Password: p\xc3\xa4ss\xe2\x82\xac"
                  "1\n");
}

TEST_F(EmailPasswordScreen, AConfiguredTemplateIsUsedAndAFailingMailProgramIsReported) {
    std::filesystem::create_directories(root + "/KALDRA/SYSTEM");
    std::ofstream(root + "/KALDRA/SYSTEM/PWMSG.TXT") << "Dear [TONAME],\nyour code is [PASSWORD] ([PASSWORD]).\n";
    foundation::Configuration::instance().passwordMsgTemplate = "PWMSG.TXT";
    {
        CapturedMail mail;
        dialog->prepare("", kName, {"jm@clinic.test"});
        type("secret1", "secret1");
        click("cmdSendPassword");
        EXPECT_EQ(CapturedMail::base64Decode(mail.rawBody()), "Dear " + kName + ",\nyour code is secret1 (secret1).\n");
    }
    CapturedMail refusing(75);
    recorder.shown.clear();
    click("cmdSendPassword");
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(last(), "An error occurred.  The password could not be sent.");
    EXPECT_EQ(recorder.shown.back().title, "Error");
    EXPECT_EQ(recorder.shown.back().icon, platform::MsgIcon::Critical);
    EXPECT_NE(login.LastEmailError().find("exit status 75"), std::string::npos) << login.LastEmailError();
    EXPECT_TRUE(refusing.handedOver());
}

} // namespace
