#pragma once

#include <map>
#include <string>
#include <vector>

namespace speech {

// A dictation context of the suite as the provisioning dialog shows it.
struct clsSMContext {
    long m_lngContextId = 0;
    std::string m_strConTextName;
    std::string m_strContextDescription;
    bool m_blnInstalledForUser = false;
};

// The suite's dictation contexts ("SELECT context_id, context_description, context_name" "FROM
// Dictation_contexts WHERE is_deleted = 0"); false when the read failed (the error was shown).
bool LoadDictationContexts(std::vector<clsSMContext>& out);

// Which physician holds each speech user name (external ids of source type 1), as
// "last, first"; one statement for the whole list. False when the read failed.
bool LoadSpeechUserHolders(std::map<std::string, std::string>& out);

} // namespace speech
