#pragma once

#include <QDialog>

#include <string>

class QPushButton;
class QTableView;

namespace physicians {

class UnknownPhysicianModel;

// The reports behind one value of the unknown-physician log, those of accounts under the user's
// partition only.
class PP_Unknown_Details : public QDialog {
    Q_OBJECT
public:
    explicit PP_Unknown_Details(QWidget* parent = nullptr);

    // Loads the reports of the value and titles the dialog; false after a failed statement.
    bool ShowPhysicianDetails(const std::string& value);
    [[nodiscard]] UnknownPhysicianModel* model() const { return m_model; }

private:
    UnknownPhysicianModel* m_model;
    QTableView* lvwDetails;
    QPushButton* BExport;
    QPushButton* cmdClose;
};

} // namespace physicians
