#pragma once

#include <string>

namespace voicesystems {

// Connection strings of remote voice systems: ";"-separated "key=value" parts.

// " ;" and "; " become ";", " =" and "= " become "=", as the string is stored.
std::string NormaliseConnectionString(const std::string& text);
// The value of the first part whose key is one of the names (case-insensitive); "" without one.
std::string ConnectionStringValue(const std::string& text, const std::string& key);
// The string with the value of its "password=" part replaced (the part added when there is none
// only if addWhenMissing).
std::string ReplacePasswordValue(const std::string& text, const std::string& value);
// The string without the part that begins with "password=" (case-insensitive), for logging.
std::string RemovePasswordPart(const std::string& text);
// The computer to ping for a server part: "localhost" for the local server's spellings, else the
// part before a "\", or without one the part before a ",".
std::string ServerNameToTest(const std::string& server);

} // namespace voicesystems
