#include "PrivilegeCodec.h"

namespace users {

namespace {
constexpr char kGranted = '\x02';
constexpr char kNotGranted = '\x01';
} // namespace

PrivilegeFlags DecodePrivileges(const std::string& set, int length) {
    PrivilegeFlags flags(static_cast<size_t>(length), 0);
    for (size_t i = 0; i < flags.size() && i < set.size(); ++i)
        flags[i] = set[i] == kGranted ? 1 : 0;
    return flags;
}

std::string EncodePrivileges(const PrivilegeFlags& flags, int length) {
    std::string set(static_cast<size_t>(length), kNotGranted);
    for (size_t i = 0; i < set.size() && i < flags.size(); ++i)
        if (flags[i] != 0)
            set[i] = kGranted;
    return set;
}

} // namespace users
