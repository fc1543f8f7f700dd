#include "Configuration.h"
#include "EventLog.h"
#include "ExportList.h"
#include "Interaction.h"
#include "MessageService.h"
#include "RecordingOpener.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class ExportListTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kdexportlist-XXXXXX";
        root = mkdtemp(pattern);
        fs::create_directories(root + "/KALDRA");
        foundation::Configuration::instance().networkRootDir = root;
        foundation::EventLog::context().dateFormat = "%m/%d/%Y";
        platform::Clock::pin(1'700'000'000);
        date = platform::Clock::stamp(1'700'000'000); // "yyyy-mm-dd hh:mm:ss", local
        date = date.substr(5, 2) + "/" + date.substr(8, 2) + "/" + date.substr(0, 4);
    }
    void TearDown() override {
        platform::Clock::pin(std::nullopt);
        foundation::Configuration::instance() = foundation::Configuration{};
        foundation::EventLog::context() = foundation::LogContext{};
        fs::remove_all(root);
    }
    [[nodiscard]] std::string exported() const {
        std::ifstream in(root + "/KALDRA/NPTEMP.TXT");
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    // A header section as wide as `chars` average characters of the header's font.
    static void setColumnChars(QHeaderView* header, int column, int chars) {
        header->setStretchLastSection(false);
        header->resizeSection(column, chars * QFontMetrics(header->font()).averageCharWidth());
    }
    std::string root, date;
    platform::MessageRecorder recorder;
    kdtest::RecordingOpener opener;
};

TEST_F(ExportListTest, AListViewIsWrittenAsPaddedColumnsAndOpened) {
    QTreeWidget list;
    list.setHeaderLabels({"Name", "Number", "Contact"});
    setColumnChars(list.header(), 0, 12);
    setColumnChars(list.header(), 1, 6);
    setColumnChars(list.header(), 2, 8);
    new QTreeWidgetItem(&list, {"North General Hospital", "1", "A. Smith"}); // longer than its column
    new QTreeWidgetItem(&list, {"Eastside", "12", ""});
    auto* hidden = new QTreeWidgetItem(&list, {"Filtered out", "99", "x"});
    hidden->setHidden(true);
    foundation::ExportList(&list);
    EXPECT_EQ(exported(), "List Contents\n" + date +
                              "\n\n"
                              "Name        NumberContact \n"
                              "==========================\n"
                              "North Genera1     A. Smith\n"
                              "Eastside    12            \n");
    EXPECT_EQ(opener.textFiles, std::vector<std::string>{root + "/KALDRA/NPTEMP.TXT"});
    EXPECT_TRUE(recorder.shown.empty());

    // Columns follow the order on screen; a hidden column is left out.
    list.header()->moveSection(2, 0);
    list.header()->hideSection(1);
    foundation::ExportList(&list);
    EXPECT_EQ(exported(), "List Contents\n" + date +
                              "\n\n"
                              "Contact Name        \n"
                              "====================\n"
                              "A. SmithNorth Genera\n"
                              "        Eastside    \n");
}

TEST_F(ExportListTest, ATableOverAModelIsAListViewToo) {
    QStandardItemModel model(2, 2);
    model.setHorizontalHeaderLabels({"Time", "Message"});
    model.setItem(0, 0, new QStandardItem("09:30:01"));
    model.setItem(0, 1, new QStandardItem("User MJONES unlocked"));
    model.setItem(1, 0, new QStandardItem("09:31:00"));
    model.setItem(1, 1, new QStandardItem("Sorted 12 reports"));
    QTableView table;
    table.setModel(&model);
    setColumnChars(table.horizontalHeader(), 0, 9);
    setColumnChars(table.horizontalHeader(), 1, 12);
    table.setRowHidden(1, true);
    foundation::ExportList(table.viewport()); // a click lands on the viewport
    EXPECT_EQ(exported(), "List Contents\n" + date +
                              "\n\n"
                              "Time     Message     \n"
                              "=====================\n"
                              "09:30:01 User MJONES \n");
}

TEST_F(ExportListTest, AListBoxIsOneEntryALine) {
    QListWidget box;
    box.addItems({"Cardiology", "J\xC3\xBCrgens Clinic", "Radiology"});
    box.item(2)->setHidden(true);
    foundation::ExportList(&box);
    EXPECT_EQ(exported(), "List Contents\n" + date + "\n\nCardiology\nJ\xC3\xBCrgens Clinic\n");
    EXPECT_EQ(opener.textFiles.size(), 1u);
}

TEST_F(ExportListTest, AnythingButAListIsRefusedAndNothingIsWritten) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    layout->addWidget(edit);
    std::ofstream(root + "/KALDRA/NPTEMP.TXT") << "earlier export\n";
    for (QWidget* control : {static_cast<QWidget*>(edit), static_cast<QWidget*>(&window), // not lists
                             static_cast<QWidget*>(nullptr)}) {                           // no active window
        recorder.shown.clear();
        foundation::ExportList(control);
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text,
                  "A list was not selected.  Please click on the list and reselect this option.");
        EXPECT_EQ(recorder.shown[0].title, "Error");
    }
    EXPECT_EQ(exported(), "earlier export\n");
    EXPECT_TRUE(opener.textFiles.empty());
}

} // namespace
