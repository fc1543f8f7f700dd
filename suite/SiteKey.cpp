#include "SiteKey.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <openssl/crypto.h>
#include <openssl/rand.h>
#include <sys/stat.h>
#include <unistd.h>

namespace suite {

namespace {

SiteKey::Result refused(const std::string& path, const std::string& why) {
    SiteKey::Result r;
    r.status = SiteKey::Status::Refused;
    r.path = path;
    r.message = "The password key file " + path + " " + why;
    return r;
}

// Closes the descriptor however the function is left.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

std::string SiteKey::PathUnder(const std::string& networkRoot) {
    return (std::filesystem::path(networkRoot) / "KALDRA" / "SYSTEM" / kFileName).string();
}

SiteKey::Result SiteKey::Load(const std::string& path) {
    Descriptor file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) {
        if (errno == ENOENT) {
            Result r;
            r.status = Status::Missing;
            r.path = path;
            r.message = "The password key file " + path + " does not exist.";
            return r;
        }
        return refused(path, std::string("cannot be read: ") + std::strerror(errno) + ".");
    }
    struct stat st {};
    if (::fstat(file.fd, &st) != 0)
        return refused(path, std::string("cannot be read: ") + std::strerror(errno) + ".");
    if (!S_ISREG(st.st_mode))
        return refused(path, "is not a file.");
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return refused(path, "can be changed by users other than its owner. Make it writable by its owner only "
                             "(chmod 600) and start the program again.");
    unsigned char buffer[PasswordCipher::kKeyBytes + 1];
    size_t got = 0;
    while (got < sizeof buffer) {
        const ssize_t n = ::read(file.fd, buffer + got, sizeof buffer - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return refused(path, std::string("cannot be read: ") + std::strerror(errno) + ".");
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    const std::string expected = " A key file holds exactly " + std::to_string(PasswordCipher::kKeyBytes) + " bytes.";
    if (got == 0)
        return refused(path, "is empty." + expected);
    if (got < PasswordCipher::kKeyBytes)
        return refused(path, "is too short (" + std::to_string(got) + " bytes)." + expected);
    if (got > PasswordCipher::kKeyBytes)
        return refused(path, "is too long." + expected);
    Result r;
    r.status = Status::Loaded;
    r.path = path;
    std::memcpy(r.key.data(), buffer, r.key.size());
    OPENSSL_cleanse(buffer, sizeof buffer);
    return r;
}

SiteKey::Result SiteKey::Create(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    Result r;
    if (RAND_bytes(r.key.data(), static_cast<int>(r.key.size())) != 1)
        return refused(path, "cannot be created: the random number generator failed.");
    Descriptor file{::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, S_IRUSR | S_IWUSR)};
    if (file.fd < 0)
        return refused(path, std::string("cannot be created: ") + std::strerror(errno) + ".");
    // The mode asked for is narrowed by the umask only; make it exactly owner read and write.
    const bool written = ::fchmod(file.fd, S_IRUSR | S_IWUSR) == 0 &&
                         ::write(file.fd, r.key.data(), r.key.size()) == static_cast<ssize_t>(r.key.size()) &&
                         ::fsync(file.fd) == 0;
    if (!written) {
        const std::string why = std::strerror(errno);
        ::unlink(path.c_str());
        return refused(path, "cannot be written: " + why + ".");
    }
    r.status = Status::Loaded;
    r.path = path;
    return r;
}

SiteKey::Result SiteKey::LoadOrCreate(const std::string& path) {
    Result r = Load(path);
    return r.status == Status::Missing ? Create(path) : r;
}

} // namespace suite
