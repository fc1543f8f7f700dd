#include "CupsServer.h"
#include "PrinterText.h"
#include "clsPrinterTrays.h"

#include <gtest/gtest.h>

using namespace printers;

namespace {

std::vector<int> codes(const std::vector<clsPrinterTray>& trays) {
    std::vector<int> out;
    for (const auto& t : trays)
        out.push_back(t.m_intCode);
    return out;
}

std::vector<int> codes(const std::vector<std::pair<int, std::string>>& choices) {
    std::vector<int> out;
    for (const auto& c : choices)
        out.push_back(c.first);
    return out;
}

// The IPP names a scheduler gives the usual driver trays, each to its bin; the queue's own sources
// are numbered after the table in the queue's order, a repeated bin is offered once.
TEST(PrinterTrays, SourcesBecomeBinsOfTheTableOrOfTheQueue) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> sources;
        std::vector<int> codes;
        std::vector<std::string> texts;
    } const cases[] = {
        {"named sources",
         {{"top", "Upper"}, {"bottom", "Lower"}, {"middle", ""}, {"manual", ""}, {"envelope", ""}},
         {1, 2, 3, 4, 5},
         {"Upper Paper Tray", "Lower Paper Tray", "Middle Paper Tray", "Manual Paper Feed", "Envelope Feeder"}},
        {"the rest of the table",
         {{"env-manual", ""},
          {"auto", ""},
          {"tractor", ""},
          {"small-format", ""},
          {"large-format", ""},
          {"large-capacity", ""},
          {"main", ""},
          {"form-source", ""}},
         {6, 7, 8, 9, 10, 11, 14, 15},
         {"Envelope, Manual Feed", "Auto Select", "Tractor Feeder", "Small Paper Feeder", "Large Paper Bin",
          "Large Capacity", "Cassette", "Form Source"}},
        {"the queue's own, in its order",
         {{"tray-5", "Letterhead"}, {"top", ""}, {"by-pass-tray", ""}},
         {16, 1, 17},
         {"Bin: 16", "Upper Paper Tray", "Bin: 17"}},
        {"two names for one bin", {{"env-manual", ""}, {"manual-envelope", ""}}, {6}, {"Envelope, Manual Feed"}},
        {"keywords compare exactly", {{"Top", ""}}, {16}, {"Bin: 16"}},
        {"none", {}, {}, {}},
    };
    for (const auto& c : cases) {
        const auto trays = TraysOfSources(c.sources);
        EXPECT_EQ(codes(trays), c.codes) << c.name;
        std::vector<std::string> texts;
        for (const auto& t : trays)
            texts.push_back(t.m_strText);
        EXPECT_EQ(texts, c.texts) << c.name;
    }
    // A bin is one byte: a queue with more sources of its own than that keeps the first 240.
    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 0; i < 300; ++i)
        many.emplace_back("tray-" + std::to_string(i + 1), "");
    const auto trays = TraysOfSources(many);
    ASSERT_EQ(trays.size(), 240u);
    EXPECT_EQ(trays.back().m_intCode, 255);
}

// The trays as the private scheduler reports them for a queue with a driver of four input slots
// (Upper, Lower, Manual and a "Tray5" of its own), for a raw queue and for no queue at all.
TEST(PrinterTrays, WorkstationQueuesThroughTheScheduler) {
    KD_REQUIRE_CUPSD();
    kdtest::TestQueue trays("kdtrays"), raw("kdraw", false);
    clsPrinterTrays list;
    const auto& found = list.Trays("kdtrays");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(codes(*found), (std::vector<int>{1, 2, 4, 16}));
    for (const auto& t : *found)
        EXPECT_FALSE(t.m_strQueueName.empty()) << t.m_intCode;
    EXPECT_EQ(codes(list.BinChoices("kdtrays")), (std::vector<int>{0, 1, 2, 4, 16}));
    EXPECT_EQ(list.BinChoices("kdtrays").back().second, "Bin: 16");

    ASSERT_TRUE(list.Trays("kdraw").has_value());
    EXPECT_TRUE(list.Trays("kdraw")->empty());
    EXPECT_FALSE(list.Trays("NO_SUCH_QUEUE").has_value());
    EXPECT_FALSE(list.Trays("").has_value());
    for (const char* queue : {"kdraw", "NO_SUCH_QUEUE"})
        EXPECT_EQ(list.BinChoices(queue), PaperBinNames()) << queue;

    // A bin back to the source a job asks for: by its IPP name, or the queue's own keyword.
    EXPECT_EQ(list.SourceOfBin("kdtrays", 2), "bottom");
    EXPECT_EQ(list.SourceOfBin("kdtrays", 16), found->back().m_strKeyword);
    EXPECT_FALSE(found->back().m_strKeyword.empty());
    for (int none : {0, 3, 17})
        EXPECT_EQ(list.SourceOfBin("kdtrays", none), std::nullopt) << none;
    EXPECT_EQ(list.SourceOfBin("kdraw", 2), std::nullopt);
    EXPECT_EQ(list.SourceOfBin("NO_SUCH_QUEUE", 2), std::nullopt);
}

} // namespace
