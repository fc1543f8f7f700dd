#pragma once

#include <string>

namespace platform {

// The mouse pointer as the program's operations see it; the desktop maps it onto Qt's override
// cursor, tests and tools keep just the state.
enum class Pointer { Normal, Busy };

class PointerService {
public:
    virtual ~PointerService() = default;
    virtual Pointer current() const = 0;
    virtual void set(Pointer p) = 0;

    static PointerService& instance();
    static void install(PointerService* service); // not owned; nullptr restores the plain one
};

// What a long operation needs of the wait window: whether the user pressed Cancel, a new label,
// and a turn of the event loop so the window stays alive.
class WaitIndicator {
public:
    virtual ~WaitIndicator() = default;
    virtual bool isCancelled() const = 0;
    virtual void setMessage(const std::string& text) = 0;
    virtual void processEvents() = 0;
};

// The workstation's user and host names.
std::string workstationName();
std::string operatingSystemUser();

} // namespace platform
