#include "DialogLoginPrompt.h"

#include "frmLogin.h"

#include <QLocale>

namespace suite {

bool DialogLoginPrompt::askCredentials(std::string& userName, std::string& password, const std::string& message) {
    frmLogin dialog(m_applicationName, m_parent);
    dialog.setUserName(QString::fromStdString(userName));
    dialog.setMessage(QString::fromStdString(message));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    userName = dialog.userName().toStdString();
    password = dialog.password().toStdString();
    return true;
}

bool DialogLoginPrompt::askNewPassword(std::string& password, std::string& confirm, const std::string& message) {
    frmChangePassword dialog(m_parent);
    dialog.setMessage(QString::fromStdString(message));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    password = dialog.newPassword().toStdString();
    confirm = dialog.confirmPassword().toStdString();
    return true;
}

QString RegionComponent::DateFormat() {
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}
QString RegionComponent::TimeFormat() {
    return QLocale::system().timeFormat(QLocale::LongFormat);
}

std::string RegionComponent::toStrftime(const QString& qtPattern) {
    // The longest Qt tokens first, so "yyyy" is not read as two "yy".
    static const std::pair<const char*, const char*> tokens[] = {
        {"yyyy", "%Y"}, {"yy", "%y"},  {"MMMM", "%B"}, {"MMM", "%b"}, {"MM", "%m"}, {"M", "%m"},
        {"dddd", "%A"}, {"ddd", "%a"}, {"dd", "%d"},   {"d", "%d"},   {"HH", "%H"}, {"H", "%H"},
        {"hh", "%I"},   {"h", "%I"},   {"mm", "%M"},   {"m", "%M"},   {"ss", "%S"}, {"s", "%S"},
        {"AP", "%p"},   {"ap", "%p"},  {"A", "%p"},    {"a", "%p"},   {"B", "%p"},  {"t", "%Z"}};
    const std::string in = qtPattern.toStdString();
    std::string out;
    for (size_t i = 0; i < in.size();) {
        // Text between single quotes is written as it stands ("HH 'h' mm"); two quotes are one.
        if (in[i] == '\'') {
            if (in.compare(i, 2, "''") == 0) {
                out += '\'';
                i += 2;
                continue;
            }
            for (++i; i < in.size(); ++i) {
                if (in[i] == '\'' && in.compare(i, 2, "''") != 0)
                    break;
                if (in[i] == '\'')
                    ++i;
                out += in[i] == '%' ? "%%" : std::string(1, in[i]);
            }
            ++i;
            continue;
        }
        bool matched = false;
        for (const auto& [qt, c] : tokens) {
            const std::string t = qt;
            if (in.compare(i, t.size(), t) == 0) {
                out += c;
                i += t.size();
                matched = true;
                break;
            }
        }
        if (!matched) {
            if (in[i] == '%')
                out += '%';
            out += in[i++];
        }
    }
    return out;
}

} // namespace suite
