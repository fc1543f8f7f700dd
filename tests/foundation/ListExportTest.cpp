#include "ListExport.h"
#include "Configuration.h"
#include "Desktop.h"
#include "MessageService.h"
#include "RecordingOpener.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace foundation;
namespace fs = std::filesystem;

namespace {

TEST(ListExport, ListViewColumnsArePaddedOrCutToTheirWidthsUnderAnUnderline) {
    const std::vector<ListColumn> columns{{"Name", 10}, {"Number", 4}, {"Facility Name", 6}};
    const std::vector<std::vector<std::string>> items{
        {"North General Hospital", "1", "NGH"}, // longer than its column: cut
        {"J\xC3\xBCrgens Clinic", "12345", "Ward\n3"},
        {"Short"}, // missing sub-items are blank
    };
    EXPECT_EQ(ListViewExportText("12/06/2026", columns, items), "List Contents\n"
                                                                "12/06/2026\n"
                                                                "\n"
                                                                "Name      NumbFacili\n"
                                                                "====================\n"
                                                                "North Gene1   NGH   \n"
                                                                "J\xC3\xBCrgens Cl1234Ward 3\n"
                                                                "Short               \n");
}

TEST(ListExport, ListBoxIsOneEntryALine) {
    EXPECT_EQ(ListBoxExportText("2026-12-06", {"Cardiology", "", "Radiology"}),
              "List Contents\n2026-12-06\n\nCardiology\n\nRadiology\n");
    EXPECT_EQ(ListBoxExportText("2026-12-06", {}), "List Contents\n2026-12-06\n\n");
}

TEST(ListExport, FitToWidthCountsCharacters) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "     "},
        {"abc", "abc  "},
        {"abcde", "abcde"},
        {"abcdef", "abcde"},
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"},
        {"a\tb\r\nc", "a b  "},
    };
    for (const auto& [text, fitted] : cases)
        EXPECT_EQ(FitToWidth(text, 5), fitted) << text;
    EXPECT_EQ(FitToWidth("abc", 0), "");
}

class ListExportFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/kdexport-XXXXXX";
        root = mkdtemp(pattern);
        fs::create_directories(root + "/KALDRA");
        Configuration::instance().networkRootDir = root;
    }
    void TearDown() override {
        Configuration::instance() = Configuration{};
        fs::remove_all(root);
    }
    [[nodiscard]] std::string exported() const {
        std::ifstream in(root + "/KALDRA/NPTEMP.TXT");
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::string root;
    platform::MessageRecorder recorder;
    kdtest::RecordingOpener opener;
};

TEST_F(ListExportFileTest, ReplacesTheFileUnderTheNetworkRootAndOpensIt) {
    EXPECT_EQ(ListExportFile(), root + "/KALDRA/NPTEMP.TXT");
    std::ofstream(ListExportFile()) << std::string(500, 'x') << "\nold export\n";
    EXPECT_TRUE(WriteListExport("List Contents\n12/06/2026\n\nOne\n"));
    EXPECT_EQ(exported(), "List Contents\n12/06/2026\n\nOne\n");
    EXPECT_EQ(opener.textFiles, std::vector<std::string>{root + "/KALDRA/NPTEMP.TXT"});
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(ListExportFileTest, AFileThatCannotBeWrittenOrOpenedIsReported) {
    opener.answer = false;
    EXPECT_FALSE(WriteListExport("List Contents\n"));
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].text, "Could not find a text editor to open " + root + "/KALDRA/NPTEMP.TXT.");
    opener.answer = true;
    fs::remove_all(root + "/KALDRA");
    EXPECT_FALSE(WriteListExport("List Contents\n"));
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_EQ(recorder.shown[1].text, "The list could not be written to " + root + "/KALDRA/NPTEMP.TXT.");
    EXPECT_EQ(opener.textFiles.size(), 1u);
}

TEST(TextEditorCommand, VisualThenEditorThenTheDesktopsOpener) {
    const char* visual = std::getenv("VISUAL");
    const char* editor = std::getenv("EDITOR");
    const std::string keepVisual = visual ? visual : "", keepEditor = editor ? editor : "";
    unsetenv("VISUAL");
    unsetenv("EDITOR");
    EXPECT_EQ(platform::textEditorCommand("/r/NPTEMP.TXT"), (std::vector<std::string>{"xdg-open", "/r/NPTEMP.TXT"}));
    setenv("EDITOR", "nano", 1);
    EXPECT_EQ(platform::textEditorCommand("/r/a b.TXT"), (std::vector<std::string>{"nano", "/r/a b.TXT"}));
    setenv("VISUAL", "  gedit  --new-window ", 1);
    EXPECT_EQ(platform::textEditorCommand("/r/x"), (std::vector<std::string>{"gedit", "--new-window", "/r/x"}));
    setenv("VISUAL", "   ", 1); // blank counts as not set
    EXPECT_EQ(platform::textEditorCommand("/r/x"), (std::vector<std::string>{"nano", "/r/x"}));
    visual ? setenv("VISUAL", keepVisual.c_str(), 1) : unsetenv("VISUAL");
    editor ? setenv("EDITOR", keepEditor.c_str(), 1) : unsetenv("EDITOR");
}

TEST(StartDetached, ReportsWhetherTheProgramStarted) {
    EXPECT_TRUE(platform::startDetached({"true"}));
    EXPECT_FALSE(platform::startDetached({"/no/such/program-kd"}));
    EXPECT_FALSE(platform::startDetached({}));
}

} // namespace
