#pragma once

#include "Desktop.h"

#include <string>
#include <vector>

namespace kdtest {

// Stands in for the desktop's text editor and viewer while a test runs: records what would have
// been opened and answers as told.
class RecordingOpener : public platform::DesktopOpener {
public:
    RecordingOpener() { install(this); }
    ~RecordingOpener() override { install(nullptr); }
    RecordingOpener(const RecordingOpener&) = delete;
    RecordingOpener& operator=(const RecordingOpener&) = delete;
    bool openTextFile(const std::string& path) override {
        textFiles.push_back(path);
        return answer;
    }
    bool openDocument(const std::string& path) override {
        documents.push_back(path);
        return answer;
    }
    bool hasWebBrowser() override { return browser; }
    std::vector<std::string> textFiles, documents;
    bool answer = true;
    bool browser = true;
};

} // namespace kdtest
