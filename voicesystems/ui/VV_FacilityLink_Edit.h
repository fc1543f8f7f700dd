#pragma once

#include "clsVVFacLinkItems.h"

#include <QDialog>

#include <string>
#include <utility>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace voicesystems {

// Adds or edits one facility link: the system, the facility number and the account.
class VV_FacilityLink_Edit : public QDialog {
    Q_OBJECT
public:
    using Choices = std::vector<std::pair<long, std::string>>; // id and name

    VV_FacilityLink_Edit(clsVVFacLinkItems& links, clsVVFacLinkItem& item, bool isNew, const Choices& systems,
                         const Choices& accounts, QWidget* parent = nullptr);

    void cmdOK_Click();

private:
    clsVVFacLinkItems& m_links;
    clsVVFacLinkItem& m_item;
    QComboBox* cboSystems;
    QLineEdit* txtFacility;
    QComboBox* cboAccounts;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace voicesystems
