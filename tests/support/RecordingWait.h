#pragma once

#include "Interaction.h"

#include <string>
#include <vector>

namespace kdtest {

// Stands in for the shared wait window while a test runs and records what it is asked to show.
class RecordingWait : public platform::WaitWindow {
public:
    RecordingWait() { install(this); }
    ~RecordingWait() override { install(nullptr); }
    RecordingWait(const RecordingWait&) = delete;
    RecordingWait& operator=(const RecordingWait&) = delete;
    void open(const std::string& caption, const std::string& text) override {
        events.push_back("open " + caption + ": " + text);
    }
    void close() override { events.emplace_back("close"); }
    std::vector<std::string> events;
};

} // namespace kdtest
