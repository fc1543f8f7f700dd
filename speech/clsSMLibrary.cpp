#include "clsSMLibrary.h"

#include "SpeechApi.h"
#include "SpeechCodes.h"

#include <cstring>
#include <dlfcn.h>
#include <fstream>
#include <memory>
#include <sys/stat.h>

namespace speech {

struct clsSMLibrary::Exports {
    PFN_SMAttach attach = nullptr;
    PFN_SMDetach detach = nullptr;
    PFN_SMGetErrorText errorText = nullptr;
    PFN_SMGetLastConflictInfo conflictInfo = nullptr;
    PFN_SMGetUserInfo userInfo = nullptr;
    PFN_SMGetUserName userName = nullptr;
    PFN_SMGetConTextName contextName = nullptr;
    PFN_SMInstallUser installUser = nullptr;
    PFN_SMInstallUser2 installUser2 = nullptr;
    PFN_SMEnumInputChannels2 enumChannels = nullptr;
};

namespace {

constexpr unsigned long kFileNotFound = 2;
constexpr unsigned long kModNotFound = 126;
constexpr unsigned long kProcNotFound = 127;
constexpr unsigned long kBadExeFormat = 193;

// The loader's refusal in the system's numbers: a file that is missing, one that is no library for
// this machine (empty, a Windows DLL), or any other refusal.
unsigned long openLibrary(const std::string& path, void*& module, std::string* detail) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (detail)
            *detail = path + ": the file does not exist";
        return kFileNotFound;
    }
    char magic[4] = {};
    std::ifstream in(path, std::ios::binary);
    in.read(magic, 4);
    const bool elf = in.gcount() == 4 && std::memcmp(magic,
                                                     "\x7f"
                                                     "ELF",
                                                     4) == 0;
    module = elf ? ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr;
    if (module)
        return 0;
    if (detail) {
        const char* why = elf ? ::dlerror() : nullptr;
        *detail = why ? std::string(why) : path + ": not a library this workstation can load";
    }
    return elf ? kModNotFound : kBadExeFormat;
}

template <typename Fn>
bool resolve(void* module, const char* name, Fn& target, std::string* detail) {
    target = reinterpret_cast<Fn>(::dlsym(module, name));
    if (!target && detail)
        *detail = std::string("the library does not export ") + name;
    return target != nullptr;
}

SMUserSettings settingsRecord(const SMInstallRequest& r) {
    SMUserSettings s{};
    s.cbSize = sizeof(SMUserSettings);
    s.action = static_cast<std::int32_t>(r.action);
    s.language = r.language;
    s.gender = r.gender;
    std::memcpy(s.context, r.context.data(), r.context.size()); // size checked by the caller
    s.channelType = r.channelType;
    return s;
}

SMChannel fromRecord(const SMInputChannel& c) {
    return SMChannel{c.type, c.language, c.bandwidth, c.resolution,
                     std::string(c.description, strnlen(c.description, sizeof c.description))};
}

} // namespace

clsSMLibrary::~clsSMLibrary() {
    unload();
}

unsigned long clsSMLibrary::load(const std::string& path, std::string* detail) {
    unload();
    void* module = nullptr;
    if (const unsigned long failure = openLibrary(path, module, detail); failure != 0)
        return failure;
    auto fn = std::make_unique<Exports>();
    const bool all = resolve(module, "SMAttach", fn->attach, detail) &&
                     resolve(module, "SMDetach", fn->detach, detail) &&
                     resolve(module, "SMGetErrorText", fn->errorText, detail) &&
                     resolve(module, "SMGetLastConflictInfo", fn->conflictInfo, detail) &&
                     resolve(module, "SMGetUserInfo", fn->userInfo, detail) &&
                     resolve(module, "SMGetUserName", fn->userName, detail) &&
                     resolve(module, "SMGetConTextName", fn->contextName, detail) &&
                     resolve(module, "SMInstallUser", fn->installUser, detail) &&
                     resolve(module, "SMInstallUser2", fn->installUser2, detail) &&
                     resolve(module, "SMEnumInputChannels2", fn->enumChannels, detail);
    if (!all) {
        ::dlclose(module);
        return kProcNotFound;
    }
    m_module = module;
    m_fn = fn.release();
    return 0;
}

unsigned long clsSMLibrary::loadCompanion(const std::string& path, std::string* detail) {
    void* module = nullptr;
    if (const unsigned long failure = openLibrary(path, module, detail); failure != 0)
        return failure;
    m_companions.push_back(module);
    m_companionPaths.push_back(path);
    return 0;
}

void clsSMLibrary::unload() {
    delete m_fn;
    m_fn = nullptr;
    if (m_module)
        ::dlclose(m_module);
    m_module = nullptr;
    for (void* m : m_companions)
        ::dlclose(m);
    m_companions.clear();
    m_companionPaths.clear();
}

int clsSMLibrary::attach(bool applicationForm, const std::string& client, const std::string& logFile,
                         const std::string& application, std::uint32_t& handle) {
    if (!m_fn)
        return kErrRangeStart + 33;
    SMHandle h = 0;
    const int result = applicationForm
                           ? m_fn->attach(client.c_str(), SM_ATTACH_FORM_APP, logFile.c_str(), application.c_str(), &h,
                                          std::int32_t{0})
                           : m_fn->attach(client.c_str(), SM_ATTACH_FORM_V3, logFile.c_str(), &h, std::int32_t{0});
    if (result == 0)
        handle = h;
    return result;
}

int clsSMLibrary::detach(std::uint32_t handle) {
    return m_fn ? m_fn->detach(handle, 0) : kErrRangeStart + 33;
}

std::string clsSMLibrary::errorText(std::uint32_t handle, int code) {
    if (!m_fn)
        return {};
    char buffer[1024] = {};
    if (m_fn->errorText(handle, code, sizeof buffer, buffer) != 0)
        return {};
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

std::string clsSMLibrary::lastConflictInfo(std::uint32_t handle) {
    if (!m_fn)
        return {};
    char buffer[256] = {};
    if (m_fn->conflictInfo(handle, buffer, sizeof buffer, 0) != 0)
        return {};
    return std::string(buffer, strnlen(buffer, sizeof buffer));
}

int clsSMLibrary::userInfo(std::uint32_t handle, const std::string& userName, SMUserProperties& out) {
    if (!m_fn)
        return kErrRangeStart + 33;
    auto info = std::make_unique<SMUserInfo>();
    std::memset(info.get(), 0, sizeof(SMUserInfo));
    info->cbSize = sizeof(SMUserInfo);
    const int result = m_fn->userInfo(handle, userName.c_str(), info.get());
    if (result != 0)
        return result;
    out = SMUserProperties{};
    out.language = info->language;
    out.gender = info->gender;
    for (int i = 0; i < info->contextCount && i < SM_MAX_USER_CONTEXTS; ++i)
        out.contexts.emplace_back(info->contexts[i], strnlen(info->contexts[i], SM_CONTEXT_CHARS));
    for (int i = 0; i < info->channelCount && i < SM_MAX_USER_CHANNELS; ++i)
        out.channels.push_back(fromRecord(info->channels[i]));
    return 0;
}

int clsSMLibrary::nextUserName(std::uint32_t handle, const std::string& previous, std::string& next) {
    if (!m_fn)
        return kErrRangeStart + 33;
    char buffer[SM_USERNAME_CHARS + 1] = {};
    const int result = m_fn->userName(handle, previous.c_str(), buffer);
    if (result == 0)
        next.assign(buffer, strnlen(buffer, sizeof buffer));
    return result;
}

int clsSMLibrary::nextContextName(std::uint32_t handle, const std::string& previous, std::string& next) {
    if (!m_fn)
        return kErrRangeStart + 33;
    char buffer[SM_CONTEXT_CHARS] = {};
    const int result = m_fn->contextName(handle, previous.c_str(), buffer);
    if (result == 0)
        next.assign(buffer, strnlen(buffer, sizeof buffer));
    return result;
}

int clsSMLibrary::installUser(std::uint32_t handle, const std::string& userName, const SMInstallRequest& request) {
    if (!m_fn)
        return kErrRangeStart + 33;
    if (request.context.size() >= static_cast<std::size_t>(SM_CONTEXT_CHARS))
        return kErrStringTooLong;
    const SMUserSettings s = settingsRecord(request);
    return m_fn->installUser(handle, userName.c_str(), &s);
}

int clsSMLibrary::installUser2(std::uint32_t handle, const std::string& userName, const SMInstallRequest& request,
                               const SMChannel& channel) {
    if (!m_fn)
        return kErrRangeStart + 33;
    if (request.context.size() >= static_cast<std::size_t>(SM_CONTEXT_CHARS))
        return kErrStringTooLong;
    const SMUserSettings s = settingsRecord(request);
    SMInputChannel c{};
    c.cbSize = sizeof(SMInputChannel);
    c.type = channel.type;
    c.language = channel.language;
    c.bandwidth = channel.bandwidth;
    c.resolution = channel.resolution;
    std::strncpy(c.description, channel.description.c_str(), sizeof c.description - 1);
    return m_fn->installUser2(handle, userName.c_str(), &s, &c, 2, 0, 0, 0);
}

namespace {
struct CallbackTarget {
    const std::function<void(int, const SMChannel&)>* each;
};

std::int32_t forwardCallback(void* self, std::int32_t callbackType, const void* record, std::int32_t /*result*/) {
    auto* target = static_cast<CallbackTarget*>(self);
    if (callbackType == SM_CALLBACK_INPUT_CHANNEL && record)
        (*target->each)(callbackType, fromRecord(*static_cast<const SMInputChannel*>(record)));
    return 0;
}
} // namespace

int clsSMLibrary::enumInputChannels(std::uint32_t handle,
                                    const std::function<void(int callbackType, const SMChannel&)>& each) {
    if (!m_fn)
        return kErrRangeStart + 33;
    CallbackTarget target{&each};
    const SMCallbackProcessor processor{&target, &forwardCallback};
    return m_fn->enumChannels(handle, &processor);
}

} // namespace speech
