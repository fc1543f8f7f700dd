#pragma once

#include "clsPhysicianSummaryRecords.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace suite {
class LoginComponent;
}

namespace physicians {

class PhysicianListModel;

// Picks the physician profile a new physician user is linked to: the visible physicians of one
// account (CBAccount) that have no user yet and belong to the logged-in user's partition or one
// under it, so that the user can be placed in the physician's partition.
class PP_Choose_Phys : public QDialog {
    Q_OBJECT
public:
    explicit PP_Choose_Phys(const suite::LoginComponent& login, QWidget* parent = nullptr);

    static constexpr const char* kNoAccountText =
        "There are no accounts available to you.  A physician user must be linked to the physician profile of "
        "an account.  Please use the Account Editor to add an account or ask for access to one.";

    // Offers the accounts visible to the user and lists the first one's candidates; false when no
    // account is visible (after saying so) or the list could not be read (the session showed why).
    bool LoadForm();
    // Lists the candidates of the account chosen in CBAccount.
    bool ShowAccount();
    // The selected physician, or nothing.
    [[nodiscard]] const clsPhysicianSummaryRecord* Chosen() const;
    [[nodiscard]] PhysicianListModel* model() const { return m_model; }

    // Whether a physician of the list may be linked to a new user of someone in ownPartition.
    [[nodiscard]] static bool IsCandidate(const clsPhysicianSummaryRecord& physician, long ownPartition);

private:
    void selectionChanged();

    const suite::LoginComponent& m_login;
    clsPhysicianSummaryRecords m_records;
    PhysicianListModel* m_model;

    QComboBox* CBAccount;
    QTableView* lvwPhysList;
    QLabel* lblCount;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace physicians
