#include "SpeechCodes.h"

#include <array>
#include <map>
#include <utility>

namespace speech {

namespace {

using Table = std::map<int, std::string>;

std::string lookup(const Table& table, int code, const char* typeName) {
    const auto it = table.find(code);
    if (it != table.end())
        return it->second;
    return std::string("Unknown ") + typeName + " (" + std::to_string(code) + ")";
}

const Table& channels() {
    static const Table t = {{-2, "SM_ICT_INVALID"},
                            {-1, "SM_ICT_UNKNOWN"},
                            {0, "SM_ICT_MICROPHONE"},
                            {100, "SM_ICT_TELEPHONE"},
                            {200, "SM_ICT_MOBILE_INPUT"},
                            {300, "SM_ICT_WIRELESS_DECT"},
                            {400, "SM_ICT_WIRELESS_BLUETOOTH"}};
    return t;
}

const Table& languages() {
    static const Table t = [] {
        // Codes in order from 4; 0, 1, 3, -1 and 1000 are placed by hand (there is no code 2).
        static const std::array<const char*, 55> fromFour = {
            "FRENCH", "DUTCH", "SWE", "JPN", "CHN", "AUT", "FLEMISH", "ES", "SP", "SA", "IT",  "PT", "BR", "SK",
            "CA",     "NO",    "FI",  "ND",  "ON",  "CH",  "DK",      "TR", "AU", "AR", "INT", "AF", "IS", "CS",
            "BE",     "BN",    "ET",  "GK",  "EU",  "HI",  "FB",      "RO", "FY", "BG", "HR",  "KO", "IW", "LT",
            "HU",     "LV",    "PL",  "PA",  "RU",  "CE",  "SE",      "SL", "SQ", "SR", "UA",  "FC", "FS"};
        Table table = {{-1, "SM_LANGUAGE_ID_UNKNOWN"},
                       {0, "SM_LANGUAGE_ID_ENGLISH_UK"},
                       {1, "SM_LANGUAGE_ID_GERMAN"},
                       {3, "SM_LANGUAGE_ID_ENGLISH_US"},
                       {1000, "SM_LANGUAGE_ID_OTHER"}};
        for (std::size_t i = 0; i < fromFour.size(); ++i)
            table[static_cast<int>(i) + 4] = std::string("SM_LANGUAGE_ID_") + fromFour[i];
        return table;
    }();
    return t;
}

const Table& errors() {
    static const Table t = [] {
        static const std::array<const char*, 56> first = {"ALREADY_ATTACHED",
                                                          "CED_STARTUP_FAILED",
                                                          "CONTEXT_EXPORT",
                                                          "CONTEXT_IMPORT",
                                                          "CONTEXT_NOT_FOUND",
                                                          "DIRECTORY_NOT_EMPTY",
                                                          "DIRECTORY_NOT_FOUND",
                                                          "DISK_SPACE",
                                                          "DLL_LOAD",
                                                          "DRIVER_ALREADY_INSTALLED",
                                                          "DRIVER_INVALID",
                                                          "DRIVER_NOT_INSTALLED",
                                                          "FILEIO",
                                                          "FILE_NOT_EXISTS",
                                                          "IMPORTED_JOB",
                                                          "INCORRECT_STATUS",
                                                          "INSUFFICIENT_RIGHTS",
                                                          "INTERNAL",
                                                          "INVALID_API_USAGE",
                                                          "INVALID_CHARACTERS",
                                                          "INVALID_HANDLE",
                                                          "INVALID_HANDLE_USAGE",
                                                          "INVALID_JOBNAME",
                                                          "INVALID_PARAMETER",
                                                          "INVALID_PARAM_TYPE",
                                                          "INVALID_PASSWORD",
                                                          "INVALID_STRUCTSIZE",
                                                          "INVALID_USERCONTEXT",
                                                          "INVALID_VALUE_ID",
                                                          "JOB_IN_USE",
                                                          "JOB_NOT_FOUND",
                                                          "JOBS_EXIST",
                                                          "NONRECOVERABLE_ERROR",
                                                          "NOT_ATTACHED",
                                                          "NOT_IMPORTED_JOB",
                                                          "NO_BUFFER",
                                                          "NO_CED",
                                                          "NO_NAME",
                                                          "PROCESS_CONFLICT",
                                                          "RECOGNIZER_ALREADY_LOADED",
                                                          "RECOGNIZER_NOT_LOADED",
                                                          "RECOGNIZER_RCG_NOT_RUNNING",
                                                          "RECOGNIZER_RCG_RUNNING",
                                                          "RECOGNIZER_STILL_LOADED",
                                                          "RETRIEVAL_FINISHED",
                                                          "STRING_TOO_LONG",
                                                          "THREAD_MISMATCH",
                                                          "UNSUPPORTED_FORMAT",
                                                          "USER_NOT_FOUND",
                                                          "WKST_NOT_CONFIGURED",
                                                          "INSUFFICIENT_SOUNDQUALITY",
                                                          "FILE_OPEN",
                                                          "LANGUAGE_LOOKUP",
                                                          "CHANNEL_LOOKUP",
                                                          "UNSUPPORTED_SOUNDFILE_FORMAT",
                                                          "SOUNDFILE_CONVERSION"}; // 39000 to 39055
        static const std::array<std::pair<int, const char*>, 25> later = {{
            {39060, "NOT_IMPACTING_USER_SETTINGS"},
            {39061, "RECOGNIZER_STOP"},
            {39064, "TOO_MANY_LMU_PENDING_JOBS"},
            {39065, "TOO_MANY_UWLMERGE_PENDING_JOBS"},
            {39066, "BLOCKED"},
            {39067, "UNSUPPORTED_CONTEXT_VERSION"},
            {39068, "UNSUPPORTED_SRD_VERSION"},
            {39069, "SRD_VERSIONS_IDENTICAL"},
            {39070, "TIMEOUT"},
            {39071, "USER_GENDER_CHANGE_NOT_ALLOWED"},
            {39072, "CONADA_STARTUP_FAILED"},
            {39073, "USERNAME_IN_USE"},
            {39074, "UNSUPPORTED_LP_VERSION"},
            {39075, "NAME_NOT_UNIQUE"},
            {39076, "INVALID_USERCHANNEL"},
            {39077, "WORKSTATION_UPDATE_PENDING"},
            {39078, "INCOMPATIBLE_LP"},
            {39079, "WARNING_MISSING_DATA"},
            {39080, "MS_WORD_NOT_ADEQUATE"},
            {39081, "TEXT_TOO_LONG"},
            {39082, "SERVICE_NOT_RUNNING"},
            {39083, "WORKSTATION_REBOOT_PENDING"},
            {39084, "SETUP_ACTIVE"},
            {39085, "SERVER_SETUP_ACTIVE"},
            {0, nullptr},
        }};
        Table table;
        for (std::size_t i = 0; i < first.size(); ++i)
            table[39000 + static_cast<int>(i)] = std::string("SMAPI_ERR_") + first[i];
        for (const auto& [code, name] : later)
            if (name)
                table[code] = std::string("SMAPI_ERR_") + name;
        return table;
    }();
    return t;
}

} // namespace

std::string InputChannelName(int code) {
    return lookup(channels(), code, "SMINPUTCHANNEL");
}

std::string LanguageName(int code) {
    return lookup(languages(), code, "SMLANGUAGEID");
}

std::string BandwidthName(int code) {
    static const Table t = {{-1, "SM_BANDWIDTH_UNKNOWN"}, {0, "SM_BANDWIDTH_NARROW"}, {1, "SM_BANDWIDTH_BROAD"}};
    return lookup(t, code, "SMBANDWIDTH");
}

std::string ResolutionName(int code) {
    static const Table t = {{-1, "SM_RESOLUTION_UNKNOWN"},
                            {0, "SM_RESOLUTION_LOW"},
                            {1, "SM_RESOLUTION_HIGH"},
                            {2, "SM_RESOLUTION_ADVANCED"}};
    return lookup(t, code, "SMRESOLUTION");
}

std::string ErrorName(int code) {
    const auto it = errors().find(code);
    return it == errors().end() ? std::string() : it->second;
}

int LanguageForContext(const std::string& contextName) {
    static const std::array<std::pair<const char*, int>, 4> rules = {
        {{"English US", 3}, {"English UK", 0}, {"French", 4}, {"Canad", 51}}};
    for (const auto& [part, language] : rules)
        if (contextName.find(part) != std::string::npos)
            return language;
    return 3;
}

} // namespace speech
