#pragma once

#include <ctime>
#include <optional>
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

// The busy pointer for the length of a scope.
class BusyPointer {
public:
    BusyPointer() { PointerService::instance().set(Pointer::Busy); }
    ~BusyPointer() { PointerService::instance().set(Pointer::Normal); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
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

// The shared wait window as operations that are not screens open and close it: a caption, a text,
// and a repaint before the work starts. The desktop shows GenXWait; the plain one shows nothing.
class WaitWindow {
public:
    virtual ~WaitWindow() = default;
    virtual void open(const std::string& caption, const std::string& text) = 0;
    virtual void close() = 0;

    static WaitWindow& instance();
    static void install(WaitWindow* window); // not owned; nullptr restores the plain one
};

// The local time the program stamps with; tests pin it so nothing depends on the real clock.
class Clock {
public:
    static std::time_t now();
    static void pin(std::optional<std::time_t> t);
    // Local time as "yyyy-mm-dd hh:mm:ss".
    static std::string stamp(std::time_t t);
};

// The workstation's user and host names.
std::string workstationName();
std::string operatingSystemUser();

} // namespace platform
