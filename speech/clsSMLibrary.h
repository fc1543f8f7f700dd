#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace speech {

struct SMChannel {
    int type = 0;
    int language = 3;
    int bandwidth = 1;
    int resolution = 1;
    std::string description;
};

struct SMUserProperties {
    int language = 0;
    int gender = 0; // 0 unknown, 1 male, 2 female
    std::vector<std::string> contexts;
    std::vector<SMChannel> channels;
};

enum class SMInstallAction { Add = 0, RemoveContext = 1, RemoveUser = 2 };

struct SMInstallRequest {
    SMInstallAction action = SMInstallAction::Add;
    int language = 3;
    int gender = 0;
    std::string context;
    int channelType = 0;
};

// The one adapter over the speech administration library: it loads the library by path, resolves
// its ten exports, and turns the library's records to and from the structures above, so no other
// code knows their layout.
class clsSMLibrary {
public:
    clsSMLibrary() = default;
    ~clsSMLibrary();
    clsSMLibrary(const clsSMLibrary&) = delete;
    clsSMLibrary& operator=(const clsSMLibrary&) = delete;

    // 0, or the system error number of the failure (2 file not found, 193 not a loadable library,
    // 127 an export missing, 126 any other refusal); *detail says what the loader said.
    unsigned long load(const std::string& path, std::string* detail);
    // Loads a companion library of the installation and keeps it until unload(); same numbers.
    unsigned long loadCompanion(const std::string& path, std::string* detail);
    void unload();
    [[nodiscard]] bool isLoaded() const { return m_module != nullptr; }
    [[nodiscard]] const std::vector<std::string>& companions() const { return m_companionPaths; }

    int attach(bool applicationForm, const std::string& client, const std::string& logFile,
               const std::string& application, std::uint32_t& handle);
    int detach(std::uint32_t handle);
    // The library's text for a code (buffer of 1024), "" when it has none.
    std::string errorText(std::uint32_t handle, int code);
    std::string lastConflictInfo(std::uint32_t handle);
    int userInfo(std::uint32_t handle, const std::string& userName, SMUserProperties& out);
    int nextUserName(std::uint32_t handle, const std::string& previous, std::string& next);
    int nextContextName(std::uint32_t handle, const std::string& previous, std::string& next);
    int installUser(std::uint32_t handle, const std::string& userName, const SMInstallRequest& request);
    // The second form: the user's channel record and the fixed values 2, 0, 0, 0.
    int installUser2(std::uint32_t handle, const std::string& userName, const SMInstallRequest& request,
                     const SMChannel& channel);
    // Calls back once per channel the system offers (callback type 12).
    int enumInputChannels(std::uint32_t handle, const std::function<void(int callbackType, const SMChannel&)>& each);

private:
    void* m_module = nullptr;
    std::vector<void*> m_companions;
    std::vector<std::string> m_companionPaths;
    struct Exports;
    Exports* m_fn = nullptr;
};

} // namespace speech
