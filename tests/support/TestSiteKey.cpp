#include "TestSiteKey.h"

#include "SiteKey.h"

#include <filesystem>
#include <fstream>
#include <openssl/rand.h>
#include <stdexcept>

namespace testsupport {

const suite::PasswordCipher::Key& TestSiteKey() {
    static const suite::PasswordCipher::Key key = [] {
        suite::PasswordCipher::Key k{};
        if (RAND_bytes(k.data(), static_cast<int>(k.size())) != 1)
            throw std::runtime_error("no random bytes for the test site key");
        return k;
    }();
    return key;
}

void PlaceTestSiteKey(const std::string& networkRoot) {
    namespace fs = std::filesystem;
    const fs::path path = suite::SiteKey::PathUnder(networkRoot);
    fs::create_directories(path.parent_path());
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(TestSiteKey().data()),
                  static_cast<std::streamsize>(TestSiteKey().size()));
    }
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    suite::PasswordCipher::UseSiteKey(TestSiteKey());
}

namespace {
// Installed during static initialisation, before any test runs.
const bool g_installed = [] {
    suite::PasswordCipher::UseSiteKey(TestSiteKey());
    return true;
}();
} // namespace

} // namespace testsupport
