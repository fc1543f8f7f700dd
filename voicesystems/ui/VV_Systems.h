#pragma once

#include "clsVVFacLinkItems.h"
#include "clsVVSysConDefs.h"
#include "clsVVSysConTester.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QTimer;
class QTreeView;

namespace voicesystems {

class VVSystemsModel;

// The connection definitions of the linked voice systems. Changes are kept in memory and written
// on OK; a timer tests one system after another and fills the two status columns.
class VV_Systems : public QDialog {
    Q_OBJECT
public:
    explicit VV_Systems(QWidget* parent = nullptr);

    // Loads the definitions and the links; false after the session showed the error.
    bool MyShow();

    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();
    void cmdOK_Click();
    // Tests the next system of the list and shows its status.
    void tmrStatus_Timer();

    [[nodiscard]] VVSystemsModel& Model() const { return *m_model; }
    [[nodiscard]] clsVVSysConDefs& Definitions() { return m_defs; }

    // Opens the edit screen; tests replace it to drive the dialog.
    std::function<int(QDialog&)> runDialog = [](QDialog& d) { return d.exec(); };
    // Prepares each status test (a test points its ping elsewhere).
    std::function<void(clsVVSysConTester&)> prepareTester;

    static constexpr int kStatusIntervalMs = 3000;

private:
    [[nodiscard]] clsVVSysConDef* selected() const;
    bool edit(clsVVSysConDef& def, bool isNew);

    clsVVSysConDefs m_defs;
    clsVVFacLinkItems m_links;
    VVSystemsModel* m_model;
    int m_nextStatusRow = 0;
    QTreeView* lvwVeltraVoiceSystems;
    QPushButton* cmdAdd;
    QPushButton* cmdEdit;
    QPushButton* cmdDelete;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QTimer* tmrStatus;
};

} // namespace voicesystems
