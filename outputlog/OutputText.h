#pragma once

#include <string>

namespace outputlog {

std::string OutputTypeText(int outputType, int flag1);
// Fax error text: "- Number Busy" ..., "- Error n" for other non-zero codes, "" for 0.
std::string FaxErrorText(int errorCode);
std::string KnownStatusText(int status, int errorCode);
std::string BatchTypeText(int batchType);

// How a stored "id^name" sender is shown.
enum class SentByForm { Id, Name, NameAndId };
// The id part counts as "0" without "^" (the whole value is then the name); the combined form adds
// " (id)" only when the id is not "0".
std::string SentByNameText(const std::string& stored, SentByForm form);

} // namespace outputlog
