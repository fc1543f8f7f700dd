#include "MessageService.h"
#include "TestDirectory.h"
#include "UA_LDAP_Settings.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <ostream>

using kdtest::SlapdServer;
using kdtest::TestDirectory;

namespace {

// "Test Connection" on the directory settings dialog against a private slapd.
class LdapTestConnection : public kdtest::DirectoryServerTest {
protected:
    void SetUp() override {
        DirectoryServerTest::SetUp();
        if (!ready())
            return;
        const suite::DirectorySettings d = TestDirectory::settings(*server);
        users::clsLdapSettings s;
        s.server(d.server);
        s.Port(d.port);
        s.BindDN(d.bindDn);
        s.BindDNPass(d.bindPassword);
        s.SearchBase(d.searchBase);
        s.Timeout(d.timeout);
        dialog.Load(s);
    }
    template <typename T>
    T* child(const char* name) {
        T* c = dialog.findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    void setText(const char* name, const std::string& text) {
        child<QLineEdit>(name)->setText(QString::fromStdString(text));
    }
    void test() {
        recorder.shown.clear();
        child<QPushButton>("cmdTestConnection")->click();
    }

    platform::MessageRecorder recorder;
    users::UA_LDAP_Settings dialog;
};

TEST_F(LdapTestConnection, TheStoredSettingsBindAndFindTheSearchBase) {
    EXPECT_EQ(child<QPushButton>("cmdTestConnection")->text(), "&Test Connection");
    test();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The connection to the directory succeeded.\nThe directory server 127.0.0.1 "
                                      "accepted the bind DN and has the search base dc=kaldra,dc=test.");
    EXPECT_EQ(recorder.shown[0].title, "LDAP Settings");
    EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Information);
    EXPECT_FALSE(dialog.Dirty()); // testing changes nothing
}

TEST_F(LdapTestConnection, WhatIsTypedIsTestedNotWhatWasLoaded) {
    setText("txtBindDnPass", "wrong");
    test();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The connection to the directory failed.\nThe directory server 127.0.0.1 refused "
                                      "the bind DN cn=reader,ou=service,dc=kaldra,dc=test: Invalid credentials.");
    EXPECT_EQ(recorder.shown[0].icon, platform::MsgIcon::Exclamation);

    setText("txtBindDnPass", TestDirectory::kReaderPassword);
    setText("txtSearchBase", "ou=nowhere,dc=kaldra,dc=test");
    test();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The connection to the directory failed.\nThe search base "
                                      "ou=nowhere,dc=kaldra,dc=test does not exist on the directory server 127.0.0.1.");
}

TEST_F(LdapTestConnection, EachServerIsReportedAndThePrefixIsRemovedFirst) {
    setText("txtServer", "LDAP://127.0.0.1");
    setText("txtBackupServer", "127.0.0.2");
    test();
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[0].text,
              "The LDAP URL protocol prefix is not required when entering server address.  Removing.");
    EXPECT_EQ(child<QLineEdit>("txtServer")->text(), "127.0.0.1");
    EXPECT_EQ(recorder.shown[1].text,
              "The connection to the directory failed.\nThe directory server 127.0.0.1 accepted the bind DN and has "
              "the search base dc=kaldra,dc=test.\nThe directory server 127.0.0.2 could not be reached: Can't contact "
              "LDAP server.");
}

TEST_F(LdapTestConnection, UnreachableAndUnsetServers) {
    setText("txtPort", std::to_string(SlapdServer::closedPort()));
    test();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The connection to the directory failed.\nThe directory server 127.0.0.1 could "
                                      "not be reached: Can't contact LDAP server.");

    setText("txtPort", std::to_string(server->port()));
    child<QCheckBox>("chkUseSSL")->setChecked(true); // this server speaks no SSL
    test();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_NE(recorder.shown[0].text.find("could not be reached"), std::string::npos) << recorder.shown[0].text;

    setText("txtServer", "");
    test();
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "The connection to the directory failed.\nNo directory server is set.");
}

} // namespace
