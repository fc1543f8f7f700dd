#pragma once

#include "clsVVFacLinkItems.h"
#include "clsVVSysConDefs.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QTreeWidget;

namespace suite {
class LoginComponent;
}

namespace voicesystems {

// The facility links: which suite account corresponds to which facility of which voice system.
// Changes are kept in memory and written on OK.
class VV_FacilityLinks : public QDialog {
    Q_OBJECT
public:
    explicit VV_FacilityLinks(const suite::LoginComponent& login, QWidget* parent = nullptr);

    bool MyShow(); // false after the session showed the error

    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();
    void cmdSystems_Click();
    void cmdOK_Click();

    // Opens a dialog of this screen; tests replace it to drive the dialog.
    std::function<int(QDialog&)> runDialog = [](QDialog& d) { return d.exec(); };
    [[nodiscard]] clsVVFacLinkItems& Links() { return m_links; }

private:
    void fillList();
    bool edit(clsVVFacLinkItem& item, bool isNew);
    [[nodiscard]] clsVVFacLinkItem* selected() const;

    const suite::LoginComponent& m_login;
    clsVVFacLinkItems m_links;
    clsVVSysConDefs m_defs;
    std::vector<clsVVFacLinkItem*> m_rows;
    QTreeWidget* lvwFacilityLinks;
    QPushButton* cmdAdd;
    QPushButton* cmdEdit;
    QPushButton* cmdDelete;
    QPushButton* cmdSystems;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace voicesystems
