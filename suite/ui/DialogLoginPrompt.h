#pragma once

#include "LoginComponent.h"

#include <QString>

class QWidget;

namespace suite {

// The login component's dialogs on the desktop.
class DialogLoginPrompt : public LoginPrompt {
public:
    explicit DialogLoginPrompt(QString applicationName, QWidget* parent = nullptr)
        : m_applicationName(std::move(applicationName)), m_parent(parent) {}
    bool askCredentials(std::string& userName, std::string& password, const std::string& message) override;
    bool askNewPassword(std::string& password, std::string& confirm, const std::string& message) override;

private:
    QString m_applicationName;
    QWidget* m_parent;
};

// The region component: the workstation's date and time formats.
class RegionComponent {
public:
    [[nodiscard]] static QString DateFormat(); // Qt pattern, e.g. "M/d/yy"
    [[nodiscard]] static QString TimeFormat();
    // The same patterns for strftime, as the SQL trace writes its stamps.
    [[nodiscard]] static std::string toStrftime(const QString& qtPattern);
};

} // namespace suite
