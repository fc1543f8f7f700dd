#pragma once

#include <QWidget>

#include <functional>
#include <string>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class QTimer;

namespace suite {
class LoginComponent;
}

namespace physicians {

class UnknownPhysicianModel;

// The unknown-physician log: names or ids the transcription system met on reports and could not
// match to a physician, with the reports behind each, the logging switch, and adding a physician
// for a value.
class PP_Unknown_Phys : public QWidget {
    Q_OBJECT
public:
    explicit PP_Unknown_Phys(suite::LoginComponent& login, QWidget* parent = nullptr);

    // Reads the log of the accounts visible to the user (at most the first 10 000 values).
    bool ShowUnknownPhysicians();
    void ShowPhysicianDetails(const std::string& value);

    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdClear_Click();
    void cmdDetails_Click();
    void BExport_Click();
    void chkLogging_Click();

    [[nodiscard]] UnknownPhysicianModel* model() const { return m_model; }
    // Adds a physician for the value through the physician list (AddPhysicianUnknown); true when one
    // was created, and the value then leaves the log.
    std::function<bool(const std::string& value)> addPhysician;
    // Shows the details dialog (modal); replaced in tests to look at it instead of waiting on it.
    std::function<void(QWidget& details)> runDetails;

protected:
    void showEvent(QShowEvent* event) override;

private:
    [[nodiscard]] std::vector<std::string> selectedValues() const;

    suite::LoginComponent& m_login;
    UnknownPhysicianModel* m_model;
    QTableView* lvwPhysicians;
    QCheckBox* chkLogging;
    QPushButton* cmdAdd;
    QPushButton* cmdDelete;
    QPushButton* cmdClear;
    QPushButton* cmdDetails;
    QPushButton* BExport;
    QLabel* lblCount;
    QTimer* tmrShow;
};

} // namespace physicians
