#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace speechsim {

struct Channel {
    std::int32_t type = 0;
    std::int32_t language = 3;
    std::int32_t bandwidth = 1;
    std::int32_t resolution = 1;
    std::string description;
};

struct User {
    std::int32_t gender = 0;
    std::int32_t language = 3;
    int pendingDictations = 0;
    bool purgeLocked = false;
    std::vector<std::string> contexts;
    std::vector<Channel> channels;
};

// The simulated speech system's state: its contexts, the input channels it offers, and its users.
// The text form has one record a line:
//   context <name>
//   channel <type> <language> <bandwidth> <resolution> <description>
//   user <name> <gender> <language> <pending dictations> <purge lock 0|1>
//   user-context <user> <context>
//   user-channel <user> <type> <language> <bandwidth> <resolution> <description>
struct Store {
    std::vector<std::string> contexts;
    std::vector<Channel> channels;
    std::map<std::string, User> users;

    // nullopt with the reason in *error when a line cannot be understood.
    static std::optional<Store> parse(const std::string& text, std::string* error);
    [[nodiscard]] std::string format() const;
    [[nodiscard]] bool hasContext(const std::string& name) const;
    [[nodiscard]] const Channel* offeredChannel(std::int32_t type) const;
};

// Reads the store from its file; an absent file is an empty store.
std::optional<Store> loadStoreFile(const std::string& path, std::string* error);
// Writes through a temporary file and a rename, so readers never see half a store.
bool saveStoreFile(const std::string& path, const Store& store);

} // namespace speechsim
