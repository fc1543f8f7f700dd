#pragma once

#include <string>
#include <vector>

namespace suite {
class LoginComponent;
}

namespace physicians {

// A system printer the logged-in user may send online printing to: its id, the name shown in the
// list and the print queue stored as the physician's online printing destination.
struct OnlinePrinter {
    long printerId = 0;
    std::string name;
    std::string queue;
};

// The choices of the profile editor's online printing destination: the system printers with a
// print queue on which the logged-in user, or one of the user's groups, may print copies or
// originals (fax printers never carry such rights).
class ProfilePrinterChoice {
public:
    // Reads the user's printer privileges over the program's system printer list; false when the
    // read failed (the session showed why) and nothing is offered.
    bool Load(const suite::LoginComponent& login);
    // For a program that knows the printers already (tests).
    void SetUsable(std::vector<OnlinePrinter> usable) { m_colUsable = std::move(usable); }

    [[nodiscard]] const std::vector<OnlinePrinter>& Usable() const { return m_colUsable; }
    // The list position of a stored destination among Usable(); -1 when it is not there.
    [[nodiscard]] int IndexOf(const std::string& queue) const;
    // Why a stored destination is reset when the editor shows it: a printer that no longer exists,
    // or one the user may not use. Empty for no destination and for a usable one.
    [[nodiscard]] std::string ResetMessage(const std::string& queue) const;

    static constexpr const char* kNotFound =
        "Online Printing Printer Destination was not found.  This setting will be reset.";

private:
    std::vector<OnlinePrinter> m_colUsable;
};

} // namespace physicians
