#include "VV_FacilityLink_Edit.h"

#include "MessageService.h"
#include "Numbers.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace voicesystems {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

VV_FacilityLink_Edit::VV_FacilityLink_Edit(clsVVFacLinkItems& links, clsVVFacLinkItem& item, bool isNew,
                                           const Choices& systems, const Choices& accounts, QWidget* parent)
    : QDialog(parent), m_links(links), m_item(item) {
    setObjectName("VV_FacilityLink_Edit");
    setWindowTitle(isNew ? "Add Veltra Voice Facility Link" : "Edit Veltra Voice Facility Link");
    cboSystems = new QComboBox(this);
    cboSystems->setObjectName("cboSystems");
    for (const auto& [id, name] : systems)
        cboSystems->addItem(QString::fromStdString(name), static_cast<qlonglong>(id));
    txtFacility = new QLineEdit(isNew ? QString() : QString::number(item.FacilityId()), this);
    txtFacility->setObjectName("txtFacility");
    txtFacility->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this));
    txtFacility->setMaxLength(9);
    cboAccounts = new QComboBox(this);
    cboAccounts->setObjectName("cboAccounts");
    for (const auto& [id, name] : accounts)
        cboAccounts->addItem(QString::fromStdString(name), static_cast<qlonglong>(id));
    if (!isNew) {
        cboSystems->setCurrentIndex(cboSystems->findData(static_cast<qlonglong>(item.SystemId())));
        cboAccounts->setCurrentIndex(cboAccounts->findData(static_cast<qlonglong>(item.HospAcctId())));
    }
    cmdOK = new QPushButton("&OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");

    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow("Veltra Voice &System:", cboSystems);
    form->addRow("&Facility:", txtFacility);
    form->addRow("&Account:", cboAccounts);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void VV_FacilityLink_Edit::cmdOK_Click() {
    const auto facility = platform::parseDigits(txtFacility->text().toStdString());
    m_item.SetSystemId(cboSystems->currentIndex() < 0 ? 0 : cboSystems->currentData().toInt());
    m_item.SetFacilityId(facility && *facility <= 2147483647 ? static_cast<long>(*facility) : -1);
    m_item.SetHospAcctId(cboAccounts->currentIndex() < 0 ? 0
                                                         : static_cast<long>(cboAccounts->currentData().toLongLong()));
    if (!m_item.IsValid()) {
        MsgBox(m_item.GetErrString(), MsgButtons::OK, MsgIcon::Exclamation, "Invalid Entries");
        txtFacility->setFocus();
        return;
    }
    if (m_links.ContainsMe(m_item)) {
        MsgBox("A Veltra Voice link with these settings has already been defined.\nNo new link will be defined.",
               MsgButtons::OK, MsgIcon::Exclamation, "Invalid Entry");
        reject();
        return;
    }
    accept();
}

} // namespace voicesystems
