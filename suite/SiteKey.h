#pragma once

#include "PasswordCipher.h"

#include <string>

namespace suite {

// The site's password key: 32 random bytes in a file under the network root's KALDRA/SYSTEM folder,
// where every program of the suite finds it. Only its owner may change it; the console refuses a
// key file that others can write, an empty or short one, and one it cannot read.
class SiteKey {
public:
    static constexpr const char* kFileName = "KDPASSWD.KEY";

    enum class Status { Loaded, Missing, Refused };
    struct Result {
        Status status = Status::Refused;
        PasswordCipher::Key key{};
        std::string path;
        std::string message; // why it is missing or refused, naming the file
        [[nodiscard]] bool ok() const { return status == Status::Loaded; }
    };

    // <networkRoot>/KALDRA/SYSTEM/KDPASSWD.KEY
    [[nodiscard]] static std::string PathUnder(const std::string& networkRoot);
    [[nodiscard]] static Result Load(const std::string& path);
    // A new key file with 32 bytes from libcrypto's generator, mode 0600; an existing file is never
    // replaced (its values would become unreadable).
    [[nodiscard]] static Result Create(const std::string& path);
    // Load, or Create when there is none (setting up a site).
    [[nodiscard]] static Result LoadOrCreate(const std::string& path);
};

} // namespace suite
