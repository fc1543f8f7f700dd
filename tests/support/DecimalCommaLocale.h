#pragma once

#include <clocale>
#include <string>

namespace kdtest {

// Switches LC_NUMERIC to a decimal-comma locale for the length of a scope, as Qt does for a German
// user; tools/bootstrap generates de_DE.UTF-8.
class DecimalCommaLocale {
public:
    DecimalCommaLocale() {
        m_previous = std::setlocale(LC_NUMERIC, nullptr);
        m_active = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    ~DecimalCommaLocale() { std::setlocale(LC_NUMERIC, m_previous.c_str()); }
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;
    [[nodiscard]] bool active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

} // namespace kdtest

// Skips the test, saying why, when the decimal-comma locale cannot be switched on.
#define KD_REQUIRE_DECIMAL_COMMA(locale)                                                                               \
    if (!(locale).active())                                                                                            \
    GTEST_SKIP() << "the de_DE.UTF-8 locale is missing: run tools/bootstrap to generate it"
