#pragma once

#include "clsPhysicianSummaryRecords.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLineEdit;
class QPushButton;
class QTableView;

namespace physicians {

class PhysicianListModel;

// Finds physicians by name across accounts and partitions; a found physician can be opened or
// added to the physician list's account.
class PP_Phys_Search : public QDialog {
    Q_OBJECT
public:
    // account: the physician list's account the add command adds to (-2: none chosen).
    explicit PP_Phys_Search(long account, QWidget* parent = nullptr);

    void cmdSearch_Click();
    void cmdAdd_Click();
    void EditPhysician();
    [[nodiscard]] PhysicianListModel* model() const { return m_model; }

    // Opens the profile editor; until it exists the main window says it is not available yet.
    std::function<void(const std::vector<long>& physicianIds)> openEditor;
    // Called after a physician was added to the account, so the list can refresh.
    std::function<void()> onAdded;

private:
    [[nodiscard]] std::vector<const clsPhysicianSummaryRecord*> selectedRecords() const;

    long m_lngAccount;
    clsPhysicianSummaryRecords m_found;
    PhysicianListModel* m_model;
    QLineEdit* txtSearch;
    QPushButton* cmdSearch;
    QTableView* lvwResults;
    QPushButton* cmdEdit;
    QPushButton* cmdAdd;
    QPushButton* cmdClose;
};

} // namespace physicians
