#include "GenXWait.h"
#include "PP_Chg_Partition.h"
#include "PP_Set_Default_Partition.h"
#include "QtServices.h"
#include "clsPartition.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace physicians;

namespace {

class PickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto& cache = PartitionCache();
        cache.clear();
        cache.add(clsPartition(0, -1, "Root", 0, "/0/"));
        cache.add(clsPartition(3, 1, "North General", 0, "/0/1/3/"));
        cache.add(clsPartition(11, 0, "Eleven", 0, "/0/11/"));
        cache.add(clsPartition(5, 2, "South Medical", 0, "/0/2/5/"));
    }
    void TearDown() override { PartitionCache().clear(); }

    // While the dialog runs modally: records what the combo offers, selects row, presses button.
    void whileShown(QDialog& dialog, int row, const char* button) {
        QTimer::singleShot(0, &dialog, [this, &dialog, row, button] {
            auto* combo = dialog.findChild<QComboBox*>("cboPartition");
            offered.clear();
            for (int i = 0; i < combo->count(); ++i)
                offered.push_back(combo->itemText(i).toStdString() + "=" + combo->itemData(i).toString().toStdString());
            preselected = combo->currentIndex();
            visibleWhileShown = dialog.isVisible() && dialog.isModal();
            if (row >= 0)
                combo->setCurrentIndex(row);
            dialog.findChild<QPushButton*>(button)->click();
        });
    }

    std::vector<std::string> offered;
    int preselected = -2;
    bool visibleWhileShown = false;
};

TEST_F(PickerTest, NewPartitionOffersTheListedPartitionsInCacheOrder) {
    PP_Chg_Partition dialog;
    long partition = -7;
    bool ok = false;
    whileShown(dialog, 1, "cmdOK");
    dialog.GetNewPartition(partition, "5, 0,11,7", ok); // 7 is not cached; " 0" is not an entry
    EXPECT_TRUE(visibleWhileShown);
    EXPECT_EQ(offered, (std::vector<std::string>{"Eleven=11", "South Medical=5"}));
    EXPECT_EQ(preselected, 0);
    EXPECT_TRUE(ok);
    EXPECT_EQ(partition, 5);
    EXPECT_FALSE(dialog.isVisible());

    whileShown(dialog, -1, "cmdCancel");
    dialog.GetNewPartition(partition, "3,0", ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(partition, 0); // the selection comes back even on Cancel; ok tells the caller to ignore it
    EXPECT_EQ(offered, (std::vector<std::string>{"Root=0", "North General=3"}));
}

TEST_F(PickerTest, DefaultPartitionPreselectsTheCurrentOneAndChangesOnlyOnOK) {
    PP_Set_Default_Partition dialog;
    long partition = 5;
    bool ok = true;
    whileShown(dialog, 0, "cmdCancel");
    dialog.GetDefaultPartition(partition, "0,3,5", ok);
    EXPECT_EQ(preselected, 2);
    EXPECT_FALSE(ok);
    EXPECT_EQ(partition, 5);

    whileShown(dialog, 1, "cmdOK");
    dialog.GetDefaultPartition(partition, "0,3,5", ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(partition, 3);

    partition = 11; // not offered: the first item is preselected
    whileShown(dialog, -1, "cmdOK");
    dialog.GetDefaultPartition(partition, "0,3,5", ok);
    EXPECT_EQ(preselected, 0);
    EXPECT_EQ(partition, 0);
}

TEST_F(PickerTest, NothingToOfferDisablesOK) {
    PP_Chg_Partition dialog;
    long partition = 3;
    bool ok = true;
    bool okEnabled = true;
    QTimer::singleShot(0, &dialog, [&] {
        okEnabled = dialog.findChild<QPushButton*>("cmdOK")->isEnabled();
        dialog.findChild<QPushButton*>("cmdCancel")->click();
    });
    dialog.GetNewPartition(partition, "", ok);
    EXPECT_FALSE(okEnabled);
    EXPECT_FALSE(ok);
}

TEST(QtWaitWindow, OpensTheSharedWaitWindowWithTheCaption) {
    QWidget main;
    platform::installQtServices(&main);
    auto& wait = platform::GenXWait::instance();
    platform::WaitWindow::instance().open("User Management", "Routines are moving.");
    EXPECT_TRUE(wait.isVisible());
    EXPECT_EQ(wait.windowTitle(), "User Management");
    EXPECT_EQ(wait.findChild<QLabel*>("lblMessage")->text(), "Routines are moving.");
    EXPECT_FALSE(main.isEnabled());
    platform::WaitWindow::instance().close();
    EXPECT_FALSE(wait.isVisible());
    EXPECT_TRUE(main.isEnabled());
    platform::installQtServices(nullptr);
}

} // namespace
