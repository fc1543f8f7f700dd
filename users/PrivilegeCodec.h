#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace users {

// Lengths of the privilege strings shared with every application of the suite.
constexpr int kSystemPrivilegeCount = 160;
constexpr int kAccountPrivilegeCount = 255;
constexpr int kReportTypePrivilegeCount = 20;

// One flag per position: 1 granted, 0 not.
using PrivilegeFlags = std::vector<std::uint8_t>;

// Decodes a privilege string into length flags: the character with code 2 at position n (counted
// from 0) grants privilege n; any other character, a short string or an empty one grants nothing.
PrivilegeFlags DecodePrivileges(const std::string& set, int length);
// Encodes flags as the stored string: code 2 for a granted position, code 1 otherwise, always
// exactly length characters.
std::string EncodePrivileges(const PrivilegeFlags& flags, int length);

} // namespace users
