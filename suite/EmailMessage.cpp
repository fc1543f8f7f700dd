#include "EmailMessage.h"

#include <openssl/evp.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <vector>

namespace suite {

namespace {

bool isAscii(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool hasLineBreak(const std::string& s) {
    return s.find_first_of("\r\n") != std::string::npos;
}

std::string base64(const std::string& bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    const int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                                  reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
    out.resize(static_cast<size_t>(n));
    return out;
}

// Line breaks as the local mail program takes them: "\n" alone.
std::string unixLines(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Plain ASCII whose lines stay well inside the 998-octet limit goes as it is.
bool sevenBitSafe(const std::string& text) {
    if (!isAscii(text))
        return false;
    size_t run = 0;
    for (char c : text) {
        run = c == '\n' ? 0 : run + 1;
        if (run > 900 || c == '\0')
            return false;
    }
    return true;
}

std::string textPart(const std::string& body) {
    const std::string lines = unixLines(body);
    if (sevenBitSafe(lines))
        return "Content-Type: text/plain; charset=UTF-8\nContent-Transfer-Encoding: 7bit\n\n" + lines +
               (lines.empty() || lines.back() != '\n' ? "\n" : "");
    return "Content-Type: text/plain; charset=UTF-8\nContent-Transfer-Encoding: base64\n\n" +
           EmailMessage::Base64Lines(lines);
}

// The length of the UTF-8 sequence that starts with this byte (1 for a stray continuation byte).
size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

} // namespace

std::string EmailMessage::Base64Lines(const std::string& bytes) {
    const std::string all = base64(bytes);
    std::string out;
    for (size_t i = 0; i < all.size(); i += 76)
        out += all.substr(i, 76) + "\n";
    return out;
}

std::string EmailMessage::EncodeWords(const std::string& value) {
    if (isAscii(value))
        return value;
    // 75 characters a word: "=?UTF-8?B?" and "?=" leave 63 for base64, so 45 bytes of text.
    constexpr size_t kBytesPerWord = 45;
    std::string out;
    size_t at = 0;
    while (at < value.size()) {
        size_t end = at;
        while (end < value.size()) {
            const size_t next = std::min(value.size(), end + sequenceLength(static_cast<unsigned char>(value[end])));
            if (next - at > kBytesPerWord)
                break;
            end = next;
        }
        out += (out.empty() ? "" : "\n ") + std::string("=?UTF-8?B?") + base64(value.substr(at, end - at)) + "?=";
        at = end;
    }
    return out;
}

std::string EmailMessage::Mailbox(const std::string& name, const std::string& address) {
    if (name.empty())
        return address;
    if (!isAscii(name))
        return EncodeWords(name) + " <" + address + ">";
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\" <" + address + ">";
}

std::string EmailMessage::HeaderDate(long long unixTime, int utcOffsetMinutes) {
    static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const std::time_t local = static_cast<std::time_t>(unixTime + utcOffsetMinutes * 60LL);
    std::tm t{};
    gmtime_r(&local, &t);
    const int offset = std::abs(utcOffsetMinutes);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d", kDays[t.tm_wday], t.tm_mday,
                  kMonths[t.tm_mon], t.tm_year + 1900, t.tm_hour, t.tm_min, t.tm_sec, utcOffsetMinutes < 0 ? '-' : '+',
                  offset / 60, offset % 60);
    return buf;
}

std::string EmailMessage::Compose(const EmailParameters& p, const std::string& date, const std::string& messageId) {
    m_text.clear();
    const auto join = [](std::initializer_list<const std::string*> addresses) {
        std::string out;
        for (const std::string* a : addresses)
            if (!a->empty())
                out += (out.empty() ? "" : ",\n ") + *a;
        return out;
    };
    const std::string to =
        join({&p.p_strAddress1, &p.p_strAddress2, &p.p_strAddress3, &p.p_strAddress4, &p.p_strAddress5});
    const std::string cc = join({&p.p_strCC1, &p.p_strCC2});
    if (to.empty() && cc.empty() && p.p_strBCC.empty())
        return "No recipient address has been given.";
    for (const std::string* v :
         {&p.p_strAddress1, &p.p_strAddress2, &p.p_strAddress3, &p.p_strAddress4, &p.p_strAddress5, &p.p_strCC1,
          &p.p_strCC2, &p.p_strBCC, &p.p_strSubject, &p.p_strFromAddress, &p.p_strFromName, &p.p_strReplyAddress})
        if (hasLineBreak(*v))
            return "A mail header value may not hold a line break: " + *v;

    std::string h;
    if (!p.p_strFromAddress.empty())
        h += "From: " + Mailbox(p.p_strFromName, p.p_strFromAddress) + "\n";
    if (!p.p_strReplyAddress.empty())
        h += "Reply-To: " + p.p_strReplyAddress + "\n";
    if (!to.empty())
        h += "To: " + to + "\n";
    if (!cc.empty())
        h += "Cc: " + cc + "\n";
    if (!p.p_strBCC.empty())
        h += "Bcc: " + p.p_strBCC + "\n"; // the mail program takes it as a recipient and drops the line
    h += "Subject: " + EncodeWords(p.p_strSubject) + "\n";
    h += "Date: " + date + "\n";
    h += "Message-ID: <" + messageId + ">\n";
    h += "MIME-Version: 1.0\n";

    struct Attachment {
        std::string name, bytes;
    };
    std::vector<Attachment> attachments;
    const std::pair<const std::string*, const std::string*> files[] = {
        {&p.p_strAttachmentFile1, &p.p_strAttachmentFile1Name},
        {&p.p_strAttachmentFile2, &p.p_strAttachmentFile2Name},
        {&p.p_strAttachmentFile3, &p.p_strAttachmentFile3Name}};
    for (const auto& [path, name] : files) {
        if (path->empty())
            continue;
        std::ifstream in(*path, std::ios::binary);
        if (!in)
            return "The attachment " + *path + " could not be read.";
        std::ostringstream bytes;
        bytes << in.rdbuf();
        std::string shown = name->empty() ? *path : *name;
        if (const auto slash = shown.find_last_of("/\\"); name->empty() && slash != std::string::npos)
            shown = shown.substr(slash + 1);
        if (hasLineBreak(shown) || shown.find('"') != std::string::npos)
            return "The attachment name " + shown + " cannot be used.";
        attachments.push_back({shown, bytes.str()});
    }
    if (attachments.empty()) {
        m_text = h + textPart(p.p_strMessage);
        return {};
    }
    const std::string boundary = "=_part_" + messageId.substr(0, messageId.find('@'));
    std::string body = "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\n\n";
    body += "--" + boundary + "\n" + textPart(p.p_strMessage);
    for (const auto& a : attachments) {
        const std::string name = isAscii(a.name) ? "\"" + a.name + "\"" : "\"" + EncodeWords(a.name) + "\"";
        body += "--" + boundary + "\nContent-Type: application/octet-stream; name=" + name +
                "\nContent-Transfer-Encoding: base64\nContent-Disposition: attachment; filename=" + name + "\n\n" +
                Base64Lines(a.bytes);
    }
    body += "--" + boundary + "--\n";
    m_text = h + body;
    return {};
}

} // namespace suite
