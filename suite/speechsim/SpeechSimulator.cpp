// The simulated administration library. It keeps the speech system's users, contexts and channels in
// one text file at the installation root ("SMSTORE.TXT" beside BIN), re-read whenever it changes on
// disk and rewritten under a lock. "<store>.faults" arranges failures and delays, "<store>.calls"
// receives one line per call with its arguments and result.

#include "SpeechApi.h"
#include "SpeechStore.h"

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using speechsim::Store;

namespace {

constexpr SMResult kOk = 0;
constexpr SMResult kNotAttached = 39033;
constexpr SMResult kInvalidHandle = 39020;
constexpr SMResult kInvalidApiUsage = 39018;
constexpr SMResult kInvalidParameter = 39023;
constexpr SMResult kInvalidStructSize = 39026;
constexpr SMResult kThreadMismatch = 39046;
constexpr SMResult kRetrievalFinished = 39044;
constexpr SMResult kUserNotFound = 39048;
constexpr SMResult kUserNameInUse = 39073;
constexpr SMResult kContextNotFound = 39004;
constexpr SMResult kChannelLookup = 39053;
constexpr SMResult kInvalidCharacters = 39019;
constexpr SMResult kStringTooLong = 39045;
constexpr SMResult kJobsExist = 39031;
constexpr SMResult kProcessConflict = 39038;
constexpr SMResult kGenderChange = 39071;
constexpr SMResult kFileIo = 39012;
constexpr SMResult kStartupFailed = 39001;
constexpr SMResult kValueId = 39028;

// The library's own texts. Some named codes have none, and one code the console has no name for has one.
const std::map<SMResult, const char*>& errorTexts() {
    static const std::map<SMResult, const char*> texts = {
        {39001, "The speech server could not be started from this folder.   "},
        {39004, "The ConText was not found on the server.   "},
        {39012, "The user store could not be read or written.   "},
        {39018, "The interface was called in a form this version does not support.   "},
        {39019, "The name contains blanks, apostrophes or characters outside ASCII.   "},
        {39020, "The session handle is not valid.   "},
        {39023, "A parameter has a value that is not allowed.   "},
        {39026, "A record was passed with the wrong size.   "},
        {39028, "No text is available for this code.   "},
        {39031, "Dictations of this user are still waiting to be processed.   "},
        {39033, "The client is not attached to the speech server.   "},
        {39038, "Another process holds the resource.   "},
        {39044, "No more items.   "},
        {39045, "The name is longer than the field allows.   "},
        {39046, "The call came from a thread other than the one that attached.   "},
        {39048, "The user does not exist.   "},
        {39053, "The input channel is not offered by this system.   "},
        {39056, "The recognition server's state changed during the call.   "},
        {39071, "The gender of an existing user cannot be changed.   "},
        {39073, "The user name is already in use.   "},
    };
    return texts;
}

struct Library {
    std::mutex lock;
    std::string folder; // the library's own folder (BIN)
    std::string storePath;
    Store store;
    std::string storeError;
    bool loaded = false;
    struct timespec storeTime {};
    off_t storeSize = -1;
    std::set<SMHandle> handles;
    SMHandle nextHandle = 0x5100;
    std::thread::id attachThread;
    std::string conflict;
};

Library& library() {
    static Library lib;
    if (lib.folder.empty()) {
        Dl_info info{};
        if (dladdr(reinterpret_cast<void*>(&library), &info) && info.dli_fname) {
            std::string path = info.dli_fname;
            lib.folder = path.substr(0, path.find_last_of('/'));
        }
        lib.storePath = lib.folder.substr(0, lib.folder.find_last_of('/')) + "/SMSTORE.TXT";
    }
    return lib;
}

std::string quoted(const char* s) {
    if (!s)
        return "null";
    std::string text(s);
    if (text.size() > 40)
        text = text.substr(0, 40) + "...(" + std::to_string(std::strlen(s)) + ")";
    return "\"" + text + "\"";
}

void logCall(const std::string& function, const std::string& arguments, SMResult result) {
    std::ofstream out(library().storePath + ".calls", std::ios::app);
    out << function << "(" << arguments << ") = " << result << "\n";
}

// "fail FUNCTION CODE [N]" fails the next N calls (every call without N); "delay FUNCTION MS" slows
// each call. A consumed count is written back so that several processes share it.
SMResult arrangedFault(const std::string& function) {
    const std::string path = library().storePath + ".faults";
    std::ifstream in(path);
    if (!in)
        return kOk;
    std::vector<std::string> lines;
    std::string line;
    SMResult result = kOk;
    bool changed = false;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string verb, name;
        words >> verb >> name;
        if (verb == "delay" && name == function) {
            int ms = 0;
            words >> ms;
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        } else if (verb == "fail" && name == function && result == kOk) {
            SMResult code = 0;
            long count = -1;
            words >> code;
            if (!(words >> count))
                count = -1;
            if (count != 0) {
                result = code;
                if (count > 0) {
                    changed = true;
                    line = "fail " + name + " " + std::to_string(code) + " " + std::to_string(count - 1);
                }
            }
        }
        lines.push_back(line);
    }
    in.close();
    if (changed) {
        std::ofstream out(path, std::ios::trunc);
        for (const auto& l : lines)
            out << l << "\n";
    }
    return result;
}

// Holds the store's lock file for the length of a call that changes the store.
class StoreLock {
public:
    StoreLock() : m_fd(::open((library().storePath + ".lock").c_str(), O_CREAT | O_RDWR, 0644)) {
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~StoreLock() {
        if (m_fd >= 0) {
            ::flock(m_fd, LOCK_UN);
            ::close(m_fd);
        }
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

private:
    int m_fd;
};

// Re-reads the store when its file changed on disk; false when it cannot be understood.
bool refreshStore(bool force = false) {
    Library& lib = library();
    struct stat st {};
    const bool exists = ::stat(lib.storePath.c_str(), &st) == 0;
    if (!force && lib.loaded && exists && st.st_mtim.tv_sec == lib.storeTime.tv_sec &&
        st.st_mtim.tv_nsec == lib.storeTime.tv_nsec && st.st_size == lib.storeSize)
        return lib.storeError.empty();
    std::string error;
    auto store = speechsim::loadStoreFile(lib.storePath, &error);
    lib.loaded = true;
    lib.storeTime = exists ? st.st_mtim : timespec{};
    lib.storeSize = exists ? st.st_size : -1;
    lib.storeError = store ? std::string() : error;
    if (store)
        lib.store = std::move(*store);
    return store.has_value();
}

bool saveStore() {
    Library& lib = library();
    if (!speechsim::saveStoreFile(lib.storePath, lib.store))
        return false;
    struct stat st {};
    if (::stat(lib.storePath.c_str(), &st) == 0) {
        lib.storeTime = st.st_mtim;
        lib.storeSize = st.st_size;
    }
    return true;
}

// The checks every call on a session makes, in order.
SMResult sessionCheck(SMHandle handle) {
    Library& lib = library();
    if (lib.handles.empty())
        return kNotAttached;
    if (!lib.handles.count(handle))
        return kInvalidHandle;
    if (std::this_thread::get_id() != lib.attachThread)
        return kThreadMismatch;
    return refreshStore() ? kOk : kFileIo;
}

SMResult checkName(const char* name) {
    if (!name)
        return kInvalidParameter;
    const std::string text(name);
    if (text.empty())
        return kInvalidCharacters;
    for (unsigned char c : text)
        if (c <= ' ' || c == '\'' || c >= 0x80)
            return kInvalidCharacters;
    if (text.size() > SM_USERNAME_CHARS)
        return kStringTooLong;
    return kOk;
}

void copyText(char* target, std::size_t size, const std::string& text) {
    const std::size_t n = std::min(size - 1, text.size());
    std::memcpy(target, text.data(), n);
    target[n] = '\0';
}

bool currentDirectoryIsProgramFolder() {
    char cwd[4096];
    if (!::getcwd(cwd, sizeof cwd))
        return false;
    char real[4096];
    if (!::realpath(library().folder.c_str(), real))
        return false;
    return std::string(cwd) == real;
}

bool faultsMention(const std::string& word) {
    std::ifstream in(library().storePath + ".faults");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(word, 0) == 0)
            return true;
    return false;
}

SMResult install(const char* userName, const SMUserSettings* settings, const SMInputChannel* channel) {
    Library& lib = library();
    if (!settings || settings->cbSize != static_cast<std::int32_t>(sizeof(SMUserSettings)))
        return kInvalidStructSize;
    if (channel && channel->cbSize != static_cast<std::int32_t>(sizeof(SMInputChannel)))
        return kInvalidStructSize;
    if (const SMResult r = checkName(userName); r != kOk)
        return r;
    StoreLock guard;
    if (!refreshStore(true))
        return kFileIo;
    const std::string name(userName);
    const std::string context(settings->context, strnlen(settings->context, sizeof settings->context));
    auto found = lib.store.users.find(name);
    if (settings->action == SM_INSTALL_REMOVE_USER || settings->action == SM_INSTALL_REMOVE_CONTEXT) {
        if (found == lib.store.users.end())
            return kUserNotFound;
        speechsim::User& user = found->second;
        if (user.purgeLocked) {
            lib.conflict = "The Purge Daemon holds the lock on user " + name + ".";
            return kProcessConflict;
        }
        if (user.pendingDictations > 0)
            return kJobsExist;
        if (settings->action == SM_INSTALL_REMOVE_USER) {
            lib.store.users.erase(found);
        } else {
            auto it = std::find(user.contexts.begin(), user.contexts.end(), context);
            if (it == user.contexts.end())
                return kContextNotFound;
            user.contexts.erase(it);
        }
        return saveStore() ? kOk : kFileIo;
    }
    if (settings->action != SM_INSTALL_ADD)
        return kInvalidParameter;
    if (!lib.store.hasContext(context))
        return kContextNotFound;
    const std::int32_t channelType = channel ? channel->type : settings->channelType;
    const speechsim::Channel* offered = lib.store.offeredChannel(channelType);
    if (!offered)
        return kChannelLookup;
    speechsim::Channel added = *offered;
    if (channel)
        added.resolution = channel->resolution;
    if (found == lib.store.users.end()) {
        speechsim::User user;
        user.gender = settings->gender;
        user.language = settings->language;
        user.contexts.push_back(context);
        user.channels.push_back(added);
        lib.store.users[name] = user;
    } else {
        speechsim::User& user = found->second;
        if (settings->gender != SM_GENDER_UNKNOWN && settings->gender != user.gender)
            return kGenderChange;
        const bool hasContext = std::find(user.contexts.begin(), user.contexts.end(), context) != user.contexts.end();
        bool hasChannel = false;
        for (const auto& c : user.channels)
            hasChannel = hasChannel || (c.type == added.type && c.resolution == added.resolution);
        if (hasContext && (hasChannel || !channel))
            return kUserNameInUse;
        if (!hasContext)
            user.contexts.push_back(context);
        // Only the second install form names a channel for an existing user.
        if (channel && !hasChannel && user.channels.size() < SM_MAX_USER_CHANNELS)
            user.channels.push_back(added);
    }
    return saveStore() ? kOk : kFileIo;
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) SMResult SMAttach(const char* client, std::int32_t form, const char* logFile,
                                                         ...) {
    Library& lib = library();
    std::lock_guard<std::mutex> guard(lib.lock);
    va_list args;
    va_start(args, logFile);
    SMHandle* handle = nullptr;
    const char* application = nullptr;
    if (form == SM_ATTACH_FORM_APP)
        application = va_arg(args, const char*);
    handle = va_arg(args, SMHandle*);
    va_end(args);
#ifdef KD_SPEECH_FORM_V3
    const bool rightForm = form == SM_ATTACH_FORM_V3;
#else
    const bool rightForm = form == SM_ATTACH_FORM_APP && application && *application;
#endif
    SMResult result = arrangedFault("SMAttach");
    if (result == kOk && (!rightForm || !handle || !client))
        result = kInvalidApiUsage;
    if (result == kOk && faultsMention("attach-needs-program-folder") && !currentDirectoryIsProgramFolder())
        result = kStartupFailed;
    if (result == kOk && !refreshStore(true))
        result = kFileIo;
    if (result == kOk) {
        *handle = ++lib.nextHandle;
        lib.handles.insert(*handle);
        lib.attachThread = std::this_thread::get_id();
    }
    logCall("SMAttach",
            quoted(client) + ", " + std::to_string(form) + ", " + quoted(logFile) +
                (application ? ", " + quoted(application) : std::string()),
            result);
    return result;
}

__attribute__((visibility("default"))) SMResult SMDetach(SMHandle handle, std::int32_t flags) {
    Library& lib = library();
    std::lock_guard<std::mutex> guard(lib.lock);
    SMResult result = arrangedFault("SMDetach");
    if (result == kOk)
        result = lib.handles.empty() ? kNotAttached : lib.handles.count(handle) ? kOk : kInvalidHandle;
    if (result == kOk)
        lib.handles.erase(handle);
    logCall("SMDetach", std::to_string(handle) + ", " + std::to_string(flags), result);
    return result;
}

__attribute__((visibility("default"))) SMResult SMGetErrorText(SMHandle handle, SMResult code, std::int32_t bufferSize,
                                                               char* text) {
    Library& lib = library();
    std::lock_guard<std::mutex> guard(lib.lock);
    SMResult result = arrangedFault("SMGetErrorText");
    if (result == kOk && (!text || bufferSize <= 0))
        result = kInvalidParameter;
    if (result == kOk) {
        const auto& texts = errorTexts();
        const auto it = texts.find(code);
        std::string message = it != texts.end() ? it->second : "";
        if (code == kFileIo && !lib.storeError.empty())
            message = "The user store could not be read: " + lib.storeError + "   ";
        copyText(text, static_cast<std::size_t>(bufferSize), message);
        if (message.empty())
            result = kValueId;
    }
    logCall("SMGetErrorText", std::to_string(handle) + ", " + std::to_string(code) + ", " + std::to_string(bufferSize),
            result);
    return result;
}

__attribute__((visibility("default"))) SMResult SMGetLastConflictInfo(SMHandle handle, char* buffer,
                                                                      std::int32_t bufferSize, std::int32_t flags) {
    Library& lib = library();
    std::lock_guard<std::mutex> guard(lib.lock);
    SMResult result = arrangedFault("SMGetLastConflictInfo");
    if (result == kOk)
        result = sessionCheck(handle);
    if (result == kOk && (!buffer || bufferSize <= 0))
        result = kInvalidParameter;
    if (result == kOk)
        copyText(buffer, static_cast<std::size_t>(bufferSize), lib.conflict);
    logCall("SMGetLastConflictInfo",
            std::to_string(handle) + ", " + std::to_string(bufferSize) + ", " + std::to_string(flags), result);
    return result;
}

__attribute__((visibility("default"))) SMResult SMGetUserInfo(SMHandle handle, const char* userName, SMUserInfo* info) {
    Library& lib = library();
    std::lock_guard<std::mutex> guard(lib.lock);
    SMResult result = arrangedFault("SMGetUserInfo");
    if (result == kOk)
        result = sessionCheck(handle);
    if (result == kOk && (!info || info->cbSize != static_cast<std::int32_t>(sizeof(SMUserInfo))))
        result = kInvalidStructSize;
    if (result == kOk)
        result = checkName(userName);
    const auto found = result == kOk ? lib.store.users.find(userName) : lib.store.users.end();
    if (result == kOk && found == lib.store.users.end())
        result = kUserNotFound;
    if (result == kOk) {
        const speechsim::User& u = found->second;
        info->language = u.language;
        info->gender = u.gender;
        info->pendingDictations = u.pendingDictations;
        info->contextCount = 0;
        for (const auto& c : u.contexts) {
            if (info->contextCount == SM_MAX_USER_CONTEXTS)
                break;
            copyText(info->contexts[info->contextCount++], SM_CONTEXT_CHARS, c);
        }
        info->channelCount = 0;
        for (const auto& c : u.channels) {
            if (info->channelCount == SM_MAX_USER_CHANNELS)
                break;
            SMInputChannel& out = info->channels[info->channelCount++];
            out = SMInputChannel{
                static_cast<std::int32_t>(sizeof(SMInputChannel)), c.type, c.language, c.bandwidth, c.resolution, {}};
            copyText(out.description, sizeof out.description, c.description);
        }
    }
    logCall("SMGetUserInfo", std::to_string(handle) + ", " + quoted(userName), result);
    return result;
}

__attribute__((visibility("default"))) SMResult SMGetUserName(SMHandle handle, const char* previous, char* next) {
    Library& lib = library();
    std::lock_guard<std::mutex> guard(lib.lock);
    SMResult result = arrangedFault("SMGetUserName");
    if (result == kOk)
        result = sessionCheck(handle);
    if (result == kOk && (!previous || !next))
        result = kInvalidParameter;
    if (result == kOk) {
        const auto& users = lib.store.users;
        const auto it = *previous ? users.upper_bound(previous) : users.begin();
        if (it == users.end())
            result = kRetrievalFinished;
        else
            copyText(next, SM_USERNAME_CHARS + 1, it->first);
    }
    if (result != kOk || lib.store.users.size() < 50)
        logCall("SMGetUserName", std::to_string(handle) + ", " + quoted(previous), result);
    return result;
}

__attribute__((visibility("default"))) SMResult SMGetConTextName(SMHandle handle, const char* previous, char* next) {
    Library& lib = library();
    std::lock_guard<std::mutex> guard(lib.lock);
    SMResult result = arrangedFault("SMGetConTextName");
    if (result == kOk)
        result = sessionCheck(handle);
    if (result == kOk && (!previous || !next))
        result = kInvalidParameter;
    if (result == kOk) {
        const auto& contexts = lib.store.contexts;
        auto it = contexts.begin();
        if (*previous) {
            it = std::find(contexts.begin(), contexts.end(), std::string(previous));
            if (it != contexts.end())
                ++it;
        }
        if (it == contexts.end())
            result = kRetrievalFinished;
        else
            copyText(next, SM_CONTEXT_CHARS, *it);
    }
    logCall("SMGetConTextName", std::to_string(handle) + ", " + quoted(previous), result);
    return result;
}

__attribute__((visibility("default"))) SMResult SMInstallUser(SMHandle handle, const char* userName,
                                                              const SMUserSettings* settings) {
    Library& lib = library();
    std::lock_guard<std::mutex> guard(lib.lock);
    SMResult result = arrangedFault("SMInstallUser");
    if (result == kOk)
        result = sessionCheck(handle);
    if (result == kOk)
        result = install(userName, settings, nullptr);
    logCall("SMInstallUser",
            std::to_string(handle) + ", " + quoted(userName) +
                (settings ? ", action " + std::to_string(settings->action) + ", " + quoted(settings->context)
                          : std::string()),
            result);
    return result;
}

__attribute__((visibility("default"))) SMResult SMInstallUser2(SMHandle handle, const char* userName,
                                                               const SMUserSettings* settings,
                                                               const SMInputChannel* channel, std::int32_t a,
                                                               std::int32_t b, std::int32_t c, std::int32_t d) {
    Library& lib = library();
    std::lock_guard<std::mutex> guard(lib.lock);
    SMResult result = arrangedFault("SMInstallUser2");
    if (result == kOk)
        result = sessionCheck(handle);
    if (result == kOk && (a != 2 || b != 0 || c != 0 || d != 0))
        result = kInvalidParameter;
    if (result == kOk && !channel)
        result = kInvalidParameter;
    if (result == kOk)
        result = install(userName, settings, channel);
    logCall("SMInstallUser2",
            std::to_string(handle) + ", " + quoted(userName) +
                (settings ? ", action " + std::to_string(settings->action) + ", " + quoted(settings->context)
                          : std::string()) +
                (channel ? ", channel " + std::to_string(channel->type) + "/" + std::to_string(channel->resolution)
                         : std::string()) +
                ", " + std::to_string(a) + ", " + std::to_string(b) + ", " + std::to_string(c) + ", " +
                std::to_string(d),
            result);
    return result;
}

__attribute__((visibility("default"))) SMResult SMEnumInputChannels2(SMHandle handle,
                                                                     const SMCallbackProcessor* callback) {
    Library& lib = library();
    std::unique_lock<std::mutex> guard(lib.lock);
    SMResult result = arrangedFault("SMEnumInputChannels2");
    if (result == kOk)
        result = sessionCheck(handle);
    if (result == kOk && (!callback || !callback->SmCallback))
        result = kInvalidParameter;
    std::vector<speechsim::Channel> channels;
    if (result == kOk)
        channels = lib.store.channels;
    logCall("SMEnumInputChannels2", std::to_string(handle), result);
    guard.unlock();
    for (const auto& c : channels) {
        SMInputChannel record{
            static_cast<std::int32_t>(sizeof(SMInputChannel)), c.type, c.language, c.bandwidth, c.resolution, {}};
        copyText(record.description, sizeof record.description, c.description);
        callback->SmCallback(callback->self, SM_CALLBACK_INPUT_CHANNEL, &record, kOk);
    }
    return result;
}
}
