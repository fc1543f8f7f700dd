#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace suite {
class LoginComponent;
}

namespace physicians {

// Picks accounts from those visible to the user: the default accounts for new physicians, or the
// accounts to add to a physician in the profile editor.
class PP_Account_List : public QDialog {
    Q_OBJECT
public:
    enum class Mode { DefaultAccounts, AddAccounts };

    PP_Account_List(const suite::LoginComponent& login, Mode mode, QWidget* parent = nullptr);

    // Offers the visible accounts, `checked` ones ticked; shows the dialog and returns the ticked
    // account numbers, or nothing when the user cancelled (ok false).
    std::vector<long> Add(const std::vector<long>& checked, bool& ok);

    // Fills the list without showing it (Add does this first); for callers that show it themselves.
    void fill(const std::vector<long>& checked);
    [[nodiscard]] std::vector<long> chosen() const;

private:
    const suite::LoginComponent& m_login;
    QLabel* lblPrompt;
    QListWidget* lstAccounts;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace physicians
