#pragma once

#include <string>
#include <vector>

namespace users {

// One record of a CSV file: its fields and the line of the file it starts on (1 is the first line).
struct CsvRecord {
    long line = 0;
    std::vector<std::string> fields;
};

// A spreadsheet's CSV file as the user import reads it: UTF-8 with or without a byte-order mark,
// comma or semicolon separated (spreadsheets of decimal-comma locales write semicolons), quoted
// fields holding separators, doubled quotes and line breaks. Blank lines are skipped. The first
// record is the header row.
class UserCsvReader {
public:
    struct Result {
        std::string error; // one clear refusal; empty when the file was read
        char separator = ',';
        std::vector<CsvRecord> records;
    };

    // Reads the text of a file.
    static Result Parse(const std::string& bytes);
    // Reads the file at path; a file that cannot be opened is refused with its name.
    static Result ReadFile(const std::string& path);

    // Which separator the header line uses: the one of ',' and ';' it holds more of outside quotes.
    static char DetectSeparator(const std::string& headerLine);
    // Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
    static bool IsUtf8(const char* data, size_t size);
};

} // namespace users
