#include "VVConnectionText.h"
#include "VoiceServices.h"
#include "clsVVSysConDef.h"

#include <gtest/gtest.h>

using namespace voicesystems;

namespace {

TEST(VoiceConnectionText, ServerPartsGiveTheComputerToPing) {
    struct Case {
        const char* server;
        const char* computer;
    } const cases[] = {
        {"HOST\\SQLEXPRESS,1433", "HOST"},
        {"HOST\\SQLEXPRESS", "HOST"},
        {"HOST,1433", "HOST"},
        {"voice-south", "voice-south"},
        {"10.20.30.40\\VOICE,2433", "10.20.30.40"},
        {"10.20.30.40,1433", "10.20.30.40"},
        {".\\SQLEXPRESS", "localhost"},
        {".\\sqlexpress,1433", "localhost"},
        {"(local)", "localhost"},
        {"(LOCAL)\\VOICE", "localhost"},
        {"LocalHost,1433", "localhost"},
        {"myhost.localhost.example", "localhost"}, // the lower-case test finds "localhost" anywhere
        {"HOST\\INST\\EXTRA", "HOST"},
        {"\\INSTANCE", ""},
        {",1433", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ServerNameToTest(c.server), c.computer) << c.server;
        clsVVSysConDef byProperties;
        byProperties.Setservername(c.server);
        EXPECT_EQ(byProperties.GetTheServerNameToTest(), c.computer) << c.server;
    }
}

TEST(VoiceConnectionText, ConnectionStringsGiveTheComputerOfTheirServerPart) {
    struct Case {
        const char* connection;
        const char* computer;
    } const cases[] = {
        {"Server=HOST\\SQLEXPRESS,1433;Database=VOICE;UID=a;PWD=b", "HOST"},
        {"Data Source=VOICE01\\INST;Initial Catalog=VOICE", "VOICE01"},
        {"data source = VOICE01 ; initial catalog=VOICE", "VOICE01"},
        {"DRIVER={SQL Server};SERVER=VOICE02,1500;DATABASE=V", "VOICE02"},
        {"Provider=SQLOLEDB;Data Source=(local);Initial Catalog=V", "localhost"},
        {"Password=x;Server=.\\SQLEXPRESS", "localhost"},
        {"Server=;Database=V", ""},
        {"Database=V;UID=a", ""},
        {"DSN=VELTRAVOICE;Server=localhost", "localhost"},
        {"Server=first;Data Source=second", "first"},
    };
    for (const auto& c : cases) {
        clsVVSysConDef def;
        def.SetConnectionType(1);
        def.SetConnectionString(c.connection);
        EXPECT_EQ(def.GetTheServerNameToTest(), c.computer) << c.connection;
    }
}

TEST(VoiceConnectionText, NormalisingAndLeavingOutThePassword) {
    EXPECT_EQ(NormaliseConnectionString("Server = H ; Password =  p w ;App=X"), "Server=H;Password=p w;App=X");
    const std::pair<const char*, const char*> cases[] = {
        {"User ID=a;Password=b;Initial Catalog=c", "User ID=a;Initial Catalog=c"},
        {"PASSWORD = secret ; Server=h", "Server=h"},
        {"Server=h;password=", "Server=h"},
        {"Server=h;PWD=kept", "Server=h;PWD=kept"}, // only the part that begins with "password=" goes
        {"Server=h;Old Password=x", "Server=h;Old Password=x"},
        {"Server=h", "Server=h"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(RemovePasswordPart(in), out) << in;
    EXPECT_EQ(ConnectionStringValue("Server=h; password = it's", "Password"), "it's");
    EXPECT_EQ(ReplacePasswordValue("Server=h;Password=old;App=x", "new"), "Server=h;Password=new;App=x");
}

TEST(VoiceConnectionText, TheConsolesStringFromPropertiesAndItsOdbcForm) {
    clsVVSysConDef def;
    def.SetUserName("vvlink");
    def.SetPasswordName("pw");
    def.SetDatabaseName("VOICE");
    def.Setservername("HOST\\SQLEXPRESS,1433");
    EXPECT_EQ(def.GetConnectionString(),
              "User ID=vvlink;Password=pw;Initial Catalog=VOICE;Data Source=HOST\\SQLEXPRESS,1433;App=KDADMIN.exe");
    EXPECT_EQ(def.GetConnectionStringSansPassword(),
              "User ID=vvlink;Initial Catalog=VOICE;Data Source=HOST\\SQLEXPRESS,1433;App=KDADMIN.exe");
    const std::pair<const char*, const char*> odbc[] = {
        {"User ID=u;Password=p;Initial Catalog=V;Data Source=/srv/sql;App=KDADMIN.exe;Provider=SQLOLEDB",
         "Driver={SQL Server};UID=u;PWD=p;Database=V;Server=/srv/sql;"},
        {"DSN=VELTRAVOICE;Server=localhost;UID=u;Password=p", "DSN=VELTRAVOICE;Server=localhost;UID=u;PWD=p;"},
        {"Driver={SQL Server};Server=h;Database=d", "Driver={SQL Server};Server=h;Database=d;"},
        {"Address=h,1433;Network Library=DBMSSOCN", "Driver={SQL Server};Server=h,1433;Network Library=DBMSSOCN;"},
    };
    for (const auto& [in, out] : odbc)
        EXPECT_EQ(suite::VeltraServices::OdbcConnectionString(in), out) << in;
}

} // namespace
