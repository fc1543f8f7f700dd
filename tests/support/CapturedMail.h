#pragma once

#include <openssl/evp.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace kdtest {

// What the capture-sendmail program was handed: a private folder for it, and readers of the
// stored arguments and message that undo the base64 and RFC 2047 encodings.
class CapturedMail {
public:
    explicit CapturedMail(int exitStatus = 0) {
        char pattern[] = "/tmp/kdmail-XXXXXX";
        m_dir = mkdtemp(pattern);
        setenv("KD_CAPTURE_DIR", m_dir.c_str(), 1);
        setenv("KD_CAPTURE_EXIT", std::to_string(exitStatus).c_str(), 1);
    }
    ~CapturedMail() {
        unsetenv("KD_CAPTURE_DIR");
        unsetenv("KD_CAPTURE_EXIT");
        std::filesystem::remove_all(m_dir);
    }
    CapturedMail(const CapturedMail&) = delete;
    CapturedMail& operator=(const CapturedMail&) = delete;

    [[nodiscard]] bool handedOver() const { return std::filesystem::exists(m_dir + "/message"); }
    [[nodiscard]] std::string message() const { return read(m_dir + "/message"); }
    [[nodiscard]] std::vector<std::string> args() const {
        std::istringstream in(read(m_dir + "/args"));
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line);)
            out.push_back(line);
        return out;
    }
    // The header block and the body, split at the first empty line.
    [[nodiscard]] std::string headers() const {
        const std::string m = message();
        return m.substr(0, m.find("\n\n") + 1);
    }
    [[nodiscard]] std::string rawBody() const {
        const std::string m = message();
        const auto at = m.find("\n\n");
        return at == std::string::npos ? std::string() : m.substr(at + 2);
    }
    // One header field's value with its continuation lines joined (without the line breaks).
    [[nodiscard]] std::string header(const std::string& name) const {
        const std::string h = "\n" + headers();
        const auto at = h.find("\n" + name + ": ");
        if (at == std::string::npos)
            return "<none>";
        std::string value;
        size_t i = at + name.size() + 3;
        for (; i < h.size(); ++i) {
            if (h[i] == '\n') {
                if (i + 1 < h.size() && (h[i + 1] == ' ' || h[i + 1] == '\t'))
                    continue;
                break;
            }
            value += h[i];
        }
        return value;
    }
    static std::string base64Decode(const std::string& text) {
        std::string clean;
        for (char c : text)
            if (c != '\n' && c != '\r' && c != ' ')
                clean += c;
        std::string out(clean.size(), '\0');
        const int n =
            EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                            reinterpret_cast<const unsigned char*>(clean.data()), static_cast<int>(clean.size()));
        if (n < 0)
            return "<bad base64>";
        size_t size = static_cast<size_t>(n);
        for (size_t i = clean.size(); i > 0 && clean[i - 1] == '='; --i)
            --size; // the decoder counts the padding as bytes
        out.resize(size);
        return out;
    }
    // "=?UTF-8?B?...?=" words of a joined header value, decoded and put together.
    static std::string decodeWords(const std::string& value) {
        std::string out;
        size_t at = 0;
        while ((at = value.find("=?UTF-8?B?", at)) != std::string::npos) {
            const auto end = value.find("?=", at + 10);
            out += base64Decode(value.substr(at + 10, end - at - 10));
            at = end + 2;
        }
        return out;
    }
    [[nodiscard]] const std::string& dir() const { return m_dir; }

private:
    static std::string read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    std::string m_dir;
};

} // namespace kdtest
