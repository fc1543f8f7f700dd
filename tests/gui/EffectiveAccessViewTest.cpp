#include "EffectiveAccessModel.h"
#include "PrivilegesFixture.h"
#include "UA_Effective_Access.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>

using namespace kdtest;

class EffectiveAccessView : public PrivilegesTest {
protected:
    void SetUp() override {
        PrivilegesTest::SetUp();
        addUserRow(71, "CODERS", "NULL, NULL, NULL, 1, 0, 0, 0, 0, 0, 1, 0, NULL, 0, 1, 0, 0");
        exec("INSERT System_security_groups (group_id, user_id) VALUES (71, 60)");
        exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({0, 12}, 160) + "' WHERE user_id = 60");
        exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({8, 12}, 160) + "' WHERE user_id = 70");
        exec("UPDATE System_user_bindery SET privilege_set1 = '" + setWith({12, 60}, 160) + "' WHERE user_id = 71");
        exec("INSERT Privileges_accounts VALUES (71, 30, '" + setWith({12}, 255) + "', NULL)");
        exec("INSERT Privileges_report_types VALUES (60, 30, 0, 3, '" + setWith({7}, 20) +
             "', NULL, 0, 0, 0, NULL, NULL)");
    }
    static std::vector<std::string> lines(const users::EffectiveAccessModel& m) {
        std::vector<std::string> out;
        for (const auto& g : m.grants())
            out.push_back(g.level + "|" + g.scope + "|" + std::to_string(g.position) + "|" + g.caption + "|" +
                          g.sources);
        return out;
    }
};

TEST_F(EffectiveAccessView, EachRightShowsWhereItComesFrom) {
    users::clsPrivileges p;
    open(p);
    p.System()[36] = 1; // an unsaved change shows too
    users::UA_Effective_Access view(p);
    QAbstractItemModelTester tester(view.model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(view.windowTitle(), "Effective Access: JDOE");
    EXPECT_EQ(lines(*view.model()), (std::vector<std::string>{
                                        "System||0|Veltra Sort|Own",
                                        "System||8|Physician Profile Editor|Group NURSES",
                                        "System||12|Report Search - View Station|Own, Group NURSES, Group CODERS",
                                        "System||36|System Log|Own",
                                        "System||60|Privilege 60|Group CODERS",
                                        "Account|North \\ North One|12|Edit Outputs|Group CODERS",
                                        "Report Type|North \\ North One / Consult|7|General View Access|Own",
                                    }));
}

TEST_F(EffectiveAccessView, TheFilterNarrowsTheRowsAndCopyTakesWhatIsShown) {
    users::clsPrivileges p;
    open(p);
    users::UA_Effective_Access view(p);
    view.findChild<QLineEdit*>("txtFilter")->setText("coders");
    EXPECT_EQ(view.filtered()->rowCount(), 3);
    view.findChild<QPushButton*>("cmdCopy")->click();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "Level\tAccount / Report Type\tPosition\tPrivilege\tGranted By\n"
              "System\t\t12\tReport Search - View Station\tOwn, Group NURSES, Group CODERS\n"
              "System\t\t60\tPrivilege 60\tGroup CODERS\n"
              "Account\tNorth \\ North One\t12\tEdit Outputs\tGroup CODERS\n");
    view.findChild<QLineEdit*>("txtFilter")->setText("");
    EXPECT_EQ(view.filtered()->rowCount(), 6);
}
