#include "Interaction.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace platform {

namespace {

class PlainPointer : public PointerService {
public:
    Pointer current() const override { return m_pointer; }
    void set(Pointer p) override { m_pointer = p; }

private:
    Pointer m_pointer = Pointer::Normal;
};

PointerService* g_pointer = nullptr;

class PlainWaitWindow : public WaitWindow {
public:
    void open(const std::string&, const std::string&) override {}
    void close() override {}
};

WaitWindow* g_waitWindow = nullptr;
std::optional<std::time_t> g_pinnedTime;

} // namespace

PointerService& PointerService::instance() {
    static PlainPointer plain;
    return g_pointer ? *g_pointer : plain;
}

void PointerService::install(PointerService* service) {
    g_pointer = service;
}

WaitWindow& WaitWindow::instance() {
    static PlainWaitWindow plain;
    return g_waitWindow ? *g_waitWindow : plain;
}

void WaitWindow::install(WaitWindow* window) {
    g_waitWindow = window;
}

std::time_t Clock::now() {
    return g_pinnedTime ? *g_pinnedTime : std::time(nullptr);
}

void Clock::pin(std::optional<std::time_t> t) {
    g_pinnedTime = t;
}

std::string Clock::stamp(std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &local);
    return buf;
}

std::string workstationName() {
    if (const char* pinned = std::getenv("KDADMIN_WORKSTATION"); pinned && *pinned)
        return pinned;
    char buf[256] = {};
    if (gethostname(buf, sizeof buf - 1) != 0)
        return "WORKSTATION";
    std::string name = buf;
    for (auto& c : name)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

std::string operatingSystemUser() {
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_name)
        return pw->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : "";
}

} // namespace platform
