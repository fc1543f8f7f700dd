#include "VV_Systems.h"

#include "Configuration.h"
#include "MessageService.h"
#include "VVSystemsModel.h"
#include "VV_System_Edit.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace voicesystems {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

VV_Systems::VV_Systems(QWidget* parent) : QDialog(parent) {
    setObjectName("VV_Systems");
    setWindowTitle("Veltra Voice Systems");
    m_model = new VVSystemsModel(m_defs, this);
    lvwVeltraVoiceSystems = new QTreeView(this);
    lvwVeltraVoiceSystems->setObjectName("lvwVeltraVoiceSystems");
    lvwVeltraVoiceSystems->setRootIsDecorated(false);
    lvwVeltraVoiceSystems->setUniformRowHeights(true);
    lvwVeltraVoiceSystems->setModel(m_model);
    lvwVeltraVoiceSystems->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    cmdAdd = new QPushButton("&Add...", this);
    cmdAdd->setObjectName("cmdAdd");
    cmdEdit = new QPushButton("&Edit...", this);
    cmdEdit->setObjectName("cmdEdit");
    cmdDelete = new QPushButton("&Delete", this);
    cmdDelete->setObjectName("cmdDelete");
    cmdOK = new QPushButton("&OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    tmrStatus = new QTimer(this);
    tmrStatus->setObjectName("tmrStatus");
    tmrStatus->setInterval(kStatusIntervalMs);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lvwVeltraVoiceSystems);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdEdit, cmdDelete})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lvwVeltraVoiceSystems, &QTreeView::doubleClicked, this, [this] { cmdEdit_Click(); });
    connect(tmrStatus, &QTimer::timeout, this, [this] { tmrStatus_Timer(); });
    resize(560, 320);
}

bool VV_Systems::MyShow() {
    const bool loaded = m_defs.LoadById(-1) && m_links.Load();
    m_model->Refresh();
    if (m_model->rowCount() > 0)
        lvwVeltraVoiceSystems->setCurrentIndex(m_model->index(0, 0));
    if (!foundation::Configuration::instance().disableVVPing)
        tmrStatus->start();
    return loaded;
}

clsVVSysConDef* VV_Systems::selected() const {
    return m_model->Definition(lvwVeltraVoiceSystems->currentIndex().row());
}

bool VV_Systems::edit(clsVVSysConDef& def, bool isNew) {
    def.BeginEdit();
    VV_System_Edit screen(def, isNew, this);
    if (runDialog(screen) == QDialog::Accepted)
        return true;
    def.CancelEdit();
    return false;
}

void VV_Systems::cmdAdd_Click() {
    clsVVSysConDef* def = m_defs.Add();
    if (!def)
        return;
    if (!edit(*def, true)) {
        m_defs.RemoveObj(def);
        return;
    }
    m_model->Refresh();
    lvwVeltraVoiceSystems->setCurrentIndex(m_model->index(m_model->rowCount() - 1, 0));
}

void VV_Systems::cmdEdit_Click() {
    clsVVSysConDef* def = selected();
    if (!def)
        return;
    const int row = lvwVeltraVoiceSystems->currentIndex().row();
    edit(*def, def->IsNew());
    m_model->Refresh();
    lvwVeltraVoiceSystems->setCurrentIndex(m_model->index(row, 0));
}

void VV_Systems::cmdDelete_Click() {
    clsVVSysConDef* def = selected();
    if (!def)
        return;
    if (m_links.SystemLinkedToAnyFacility(def->SystemId())) {
        MsgBox(
            "Item could not be deleted for the following reasons:\n\n-->\tThe Veltra Voice System is referenced in a "
            "Veltra Voice Link.",
            MsgButtons::OK, MsgIcon::Exclamation, "Invalid Operation");
        return;
    }
    m_defs.RemoveObj(def);
    m_model->Refresh();
}

void VV_Systems::cmdOK_Click() {
    tmrStatus->stop();
    if (m_defs.ApplyEdit())
        accept();
}

void VV_Systems::tmrStatus_Timer() {
    if (m_model->rowCount() == 0)
        return;
    if (m_nextStatusRow >= m_model->rowCount())
        m_nextStatusRow = 0;
    const clsVVSysConDef* def = m_model->Definition(m_nextStatusRow++);
    clsVVSysConTester tester;
    tester.SetDefinition(*def);
    if (prepareTester)
        prepareTester(tester);
    if (!tester.ComputerReachable()) {
        m_model->SetStatus(def->SystemId(), "Unreachable", "Invalid");
        return;
    }
    m_model->SetStatus(def->SystemId(), "Reachable", tester.AdministratorValid() ? "Valid" : "Invalid");
}

} // namespace voicesystems
