#include "Schema.h"

#include <cctype>
#include <filesystem>
#include <stdexcept>

namespace suite {

std::vector<std::string> splitBatches(std::string_view script) {
    std::vector<std::string> batches;
    std::string current;
    size_t pos = 0;
    while (pos <= script.size()) {
        size_t end = script.find('\n', pos);
        if (end == std::string_view::npos)
            end = script.size();
        std::string_view line = script.substr(pos, end - pos);
        size_t b = line.find_first_not_of(" \t\r");
        size_t e = line.find_last_not_of(" \t\r");
        std::string_view word = b == std::string_view::npos ? std::string_view() : line.substr(b, e - b + 1);
        if (word.size() == 2 && std::toupper(static_cast<unsigned char>(word[0])) == 'G' &&
            std::toupper(static_cast<unsigned char>(word[1])) == 'O') {
            if (current.find_first_not_of(" \t\r\n") != std::string::npos)
                batches.push_back(current);
            current.clear();
        } else {
            current.append(line);
            current += '\n';
        }
        pos = end + 1;
    }
    if (current.find_first_not_of(" \t\r\n") != std::string::npos)
        batches.push_back(current);
    return batches;
}

std::vector<std::string> runScript(tsql::Session& session, std::string_view script) {
    std::vector<std::string> errors;
    for (const auto& batch : splitBatches(script)) {
        auto result = session.execute(batch);
        for (const auto& item : result.items)
            for (const auto& m : item.messages)
                if (m.isError())
                    errors.push_back("Msg " + std::to_string(m.number) + ": " + m.text);
    }
    return errors;
}

std::unique_ptr<tsql::Session> createSuiteDatabase(const std::string& folder, const std::string& name) {
    std::filesystem::create_directories(folder);
    std::filesystem::remove(tsql::Session::databasePath(folder, name));
    tsql::OpenOptions o;
    o.folder = folder;
    o.database = name;
    o.create = true;
    auto session = tsql::Session::open(o);
    for (auto script : {tablesScript(), proceduresScript(), baseScript()}) {
        auto errors = runScript(*session, script);
        if (!errors.empty())
            throw std::runtime_error("schema did not load: " + errors.front());
    }
    return session;
}

std::unique_ptr<tsql::Session> createVoiceSystemDatabase(const std::string& folder, const std::string& name) {
    std::filesystem::create_directories(folder);
    std::filesystem::remove(tsql::Session::databasePath(folder, name));
    tsql::OpenOptions o;
    o.folder = folder;
    o.database = name;
    o.create = true;
    auto session = tsql::Session::open(o);
    auto errors = runScript(*session, voicesystemScript());
    if (!errors.empty())
        throw std::runtime_error("voice system schema did not load: " + errors.front());
    return session;
}

} // namespace suite
