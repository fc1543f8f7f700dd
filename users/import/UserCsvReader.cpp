#include "UserCsvReader.h"

#include <csv.h>

#include <fstream>
#include <iterator>
#include <memory>

namespace users {

namespace {

struct Collector {
    std::vector<CsvRecord> records;
    std::vector<std::string> fields;
    long recordLine = 1;   // where the record being read started
    long rowStartLine = 1; // the last line fed while no record was open
    long currentLine = 1;  // the line being fed
    bool inRecord = false;
};

void fieldEnd(void* data, size_t size, void* target) {
    auto* c = static_cast<Collector*>(target);
    if (!c->inRecord) {
        c->inRecord = true;
        c->recordLine = c->rowStartLine;
    }
    c->fields.emplace_back(data ? static_cast<const char*>(data) : "", data ? size : 0);
}

void recordEnd(int, void* target) {
    auto* c = static_cast<Collector*>(target);
    c->records.push_back(CsvRecord{c->recordLine, std::move(c->fields)});
    c->fields.clear();
    c->inRecord = false;
}

struct ParserFree {
    void operator()(csv_parser* p) const {
        csv_free(p);
        delete p;
    }
};

} // namespace

bool UserCsvReader::IsUtf8(const char* data, size_t size) {
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    size_t i = 0;
    while (i < size) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        size_t extra;
        unsigned long cp;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= size)
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

char UserCsvReader::DetectSeparator(const std::string& headerLine) {
    size_t commas = 0, semicolons = 0;
    bool quoted = false;
    for (char c : headerLine) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == ',')
            ++commas;
        else if (!quoted && c == ';')
            ++semicolons;
    }
    return semicolons > commas ? ';' : ',';
}

UserCsvReader::Result UserCsvReader::Parse(const std::string& bytes) {
    Result result;
    size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (bytes.find_first_not_of(" \t\r\n", start) == std::string::npos) {
        result.error = "The file is empty.";
        return result;
    }
    result.separator = DetectSeparator(bytes.substr(start, bytes.find('\n', start) - start));

    std::unique_ptr<csv_parser, ParserFree> parser(new csv_parser);
    if (csv_init(parser.get(), CSV_STRICT | CSV_STRICT_FINI) != 0) {
        result.error = "The file could not be read: out of memory.";
        return result;
    }
    csv_set_delim(parser.get(), static_cast<unsigned char>(result.separator));
    Collector c;
    // Fed line by line, so that each record knows the line it starts on and a byte that is not
    // UTF-8 is reported with its line.
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        end = end == std::string::npos ? bytes.size() : end + 1;
        if (parser->pstate == 0) // no row begun: a record starting here starts on this line
            c.rowStartLine = c.currentLine;
        if (!IsUtf8(bytes.data() + start, end - start)) {
            result.error = "Line " + std::to_string(c.currentLine) + " of the file is not UTF-8 text.";
            return result;
        }
        if (csv_parse(parser.get(), bytes.data() + start, end - start, fieldEnd, recordEnd, &c) != end - start) {
            result.error = "Line " + std::to_string(c.inRecord ? c.recordLine : c.currentLine) +
                           " of the file is not valid CSV: " + csv_strerror(csv_error(parser.get())) + ".";
            return result;
        }
        ++c.currentLine;
        start = end;
    }
    if (csv_fini(parser.get(), fieldEnd, recordEnd, &c) != 0) {
        result.error = "Line " + std::to_string(c.inRecord ? c.recordLine : c.rowStartLine) +
                       " of the file is not valid CSV: a quoted field is not closed.";
        return result;
    }
    result.records = std::move(c.records);
    if (result.records.size() < 2)
        result.error = "The file has a header row but no users.";
    return result;
}

UserCsvReader::Result UserCsvReader::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Result r;
        r.error = "The file " + path + " could not be opened.";
        return r;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Parse(bytes);
}

} // namespace users
