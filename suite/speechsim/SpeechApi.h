#pragma once

// The exports of the speech-recognition administration library as the console calls them, and the
// records they exchange. The simulator library implements exactly these; the console's layer
// resolves all ten by name after loading the library by path.

#include <cstdint>

extern "C" {

using SMHandle = std::uint32_t;
using SMResult = std::int32_t;

inline constexpr int SM_USERNAME_CHARS = 16; // the user-name field, without its terminator
inline constexpr int SM_CONTEXT_CHARS = 128; // a context name buffer, terminator included
inline constexpr int SM_MAX_USER_CONTEXTS = 64;
inline constexpr int SM_MAX_USER_CHANNELS = 8;

// SMAttach's second argument: which attach form the caller uses.
inline constexpr std::int32_t SM_ATTACH_FORM_V3 = 0;    // client, 0, log, &handle, flags
inline constexpr std::int32_t SM_ATTACH_FORM_APP = 100; // client, 100, log, application, &handle, flags

inline constexpr std::int32_t SM_CALLBACK_INPUT_CHANNEL = 12;

enum SMGender : std::int32_t { SM_GENDER_UNKNOWN = 0, SM_GENDER_MALE = 1, SM_GENDER_FEMALE = 2 };

// What SMInstallUser does with the named user and context.
enum SMInstallAction : std::int32_t {
    SM_INSTALL_ADD = 0,            // create the user, or add the context (and channel) to it
    SM_INSTALL_REMOVE_CONTEXT = 1, // remove the context from the user
    SM_INSTALL_REMOVE_USER = 2     // remove the user with all its contexts
};

struct SMInputChannel {
    std::int32_t cbSize;
    std::int32_t type;       // SM_ICT_* code
    std::int32_t language;   // SM_LANGUAGE_ID_* code
    std::int32_t bandwidth;  // SM_BANDWIDTH_* code
    std::int32_t resolution; // SM_RESOLUTION_* code
    char description[64];
};

struct SMUserSettings {
    std::int32_t cbSize;
    std::int32_t action; // SMInstallAction
    std::int32_t language;
    std::int32_t gender; // SMGender
    char context[SM_CONTEXT_CHARS];
    std::int32_t channelType; // for SMInstallUser: the channel the user dictates with
};

struct SMUserInfo {
    std::int32_t cbSize;
    std::int32_t language;
    std::int32_t gender;
    std::int32_t contextCount;
    char contexts[SM_MAX_USER_CONTEXTS][SM_CONTEXT_CHARS];
    std::int32_t channelCount;
    SMInputChannel channels[SM_MAX_USER_CHANNELS];
    std::int32_t pendingDictations;
};

// The callback object the library reports enumerated items through.
struct SMCallbackProcessor {
    void* self;
    std::int32_t (*SmCallback)(void* self, std::int32_t callbackType, const void* record, std::int32_t result);
};

// The 5.1 form passes (SMHandle* handle, int32 flags) after the log name; the application form
// passes (const char* application, SMHandle* handle, int32 flags).
using PFN_SMAttach = SMResult (*)(const char* client, std::int32_t form, const char* logFile, ...);
using PFN_SMDetach = SMResult (*)(SMHandle, std::int32_t flags);
using PFN_SMGetErrorText = SMResult (*)(SMHandle, SMResult code, std::int32_t bufferSize, char* text);
using PFN_SMGetLastConflictInfo = SMResult (*)(SMHandle, char* buffer, std::int32_t bufferSize, std::int32_t flags);
using PFN_SMGetUserInfo = SMResult (*)(SMHandle, const char* userName, SMUserInfo* info);
using PFN_SMGetUserName = SMResult (*)(SMHandle, const char* previous, char* next /* 17 bytes */);
using PFN_SMGetConTextName = SMResult (*)(SMHandle, const char* previous, char* next /* 128 bytes */);
using PFN_SMInstallUser = SMResult (*)(SMHandle, const char* userName, const SMUserSettings* settings);
using PFN_SMInstallUser2 = SMResult (*)(SMHandle, const char* userName, const SMUserSettings* settings,
                                        const SMInputChannel* channel, std::int32_t a, std::int32_t b, std::int32_t c,
                                        std::int32_t d);
using PFN_SMEnumInputChannels2 = SMResult (*)(SMHandle, const SMCallbackProcessor* callback);

SMResult SMAttach(const char* client, std::int32_t form, const char* logFile, ...);
SMResult SMDetach(SMHandle handle, std::int32_t flags);
SMResult SMGetErrorText(SMHandle handle, SMResult code, std::int32_t bufferSize, char* text);
SMResult SMGetLastConflictInfo(SMHandle handle, char* buffer, std::int32_t bufferSize, std::int32_t flags);
SMResult SMGetUserInfo(SMHandle handle, const char* userName, SMUserInfo* info);
SMResult SMGetUserName(SMHandle handle, const char* previous, char* next);
SMResult SMGetConTextName(SMHandle handle, const char* previous, char* next);
SMResult SMInstallUser(SMHandle handle, const char* userName, const SMUserSettings* settings);
SMResult SMInstallUser2(SMHandle handle, const char* userName, const SMUserSettings* settings,
                        const SMInputChannel* channel, std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d);
SMResult SMEnumInputChannels2(SMHandle handle, const SMCallbackProcessor* callback);
}
