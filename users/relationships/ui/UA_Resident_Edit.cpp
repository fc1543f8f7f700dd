#include "UA_Resident_Edit.h"

#include "MessageService.h"
#include "PeriodControls.h"
#include "clsSecurityGroups.h"
#include "clsSignatureRelationships.h"
#include "clsUsers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace users {

namespace {

QPushButton* button(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QComboBox* levels(const char* name, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    for (int level = 1; level <= UA_Resident_Edit::kHighestLevel; ++level)
        c->addItem(QString::number(level));
    return c;
}

QString yesNo(bool value) {
    return value ? "Yes" : "No";
}

} // namespace

UA_Resident_Edit::UA_Resident_Edit(clsSignatureRelationships& relationships, const clsUsers& users,
                                   const clsSecurityGroups& groups, QWidget* parent)
    : QDialog(parent), m_relationships(relationships), m_users(users), m_groups(groups) {
    setObjectName("UA_Resident_Edit");
    m_lblCaption = new QLabel(this);
    m_lblCaption->setObjectName("lblCaption");
    m_lblCaption->setWordWrap(true);
    m_lvwCosigners = new QTreeWidget(this);
    m_lvwCosigners->setObjectName("lvwCosigners");
    m_lvwCosigners->setHeaderLabels({"Name", "Type", "Cosigner Level", "Cosigner Required", "Dictator Level",
                                     "Dictator Required", "Start Date", "Expiration Date"});
    m_lvwCosigners->setRootIsDecorated(false);
    m_cboMember = new QComboBox(this);
    m_cboMember->setObjectName("cboMember");
    m_cboMember->setAccessibleName("Physician or group to add");
    auto* add = button("cmdAdd", "&Add", this);
    auto* remove = button("cmdRemove", "&Remove", this);

    m_rowControls = new QWidget(this);
    m_cboCosignerLevel = levels("cboCosignerLevel", m_rowControls);
    m_chkCosignerRequired = new QCheckBox("Cosigner Signature &Required", m_rowControls);
    m_chkCosignerRequired->setObjectName("chkCosignerRequired");
    m_cboDictatorLevel = levels("cboDictatorLevel", m_rowControls);
    m_chkDictatorRequired = new QCheckBox("&Dictator Signature Required", m_rowControls);
    m_chkDictatorRequired->setObjectName("chkDictatorRequired");
    m_period = new PeriodControls(m_rowControls);
    auto* cosignerLabel = new QLabel("Cosigner &Level:", m_rowControls);
    cosignerLabel->setBuddy(m_cboCosignerLevel);
    auto* dictatorLabel = new QLabel("D&ictator Level:", m_rowControls);
    dictatorLabel->setBuddy(m_cboDictatorLevel);
    auto* grid = new QGridLayout(m_rowControls);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(cosignerLabel, 0, 0);
    grid->addWidget(m_cboCosignerLevel, 0, 1);
    grid->addWidget(m_chkCosignerRequired, 0, 2);
    grid->addWidget(dictatorLabel, 1, 0);
    grid->addWidget(m_cboDictatorLevel, 1, 1);
    grid->addWidget(m_chkDictatorRequired, 1, 2);
    grid->addWidget(m_period, 2, 0, 1, 3);

    auto* ok = button("cmdOK", "&OK", this);
    ok->setDefault(true);
    auto* cancel = button("cmdCancel", "&Cancel", this);
    connect(add, &QPushButton::clicked, this, &UA_Resident_Edit::cmdAdd_Click);
    connect(remove, &QPushButton::clicked, this, &UA_Resident_Edit::cmdRemove_Click);
    connect(ok, &QPushButton::clicked, this, &UA_Resident_Edit::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_lvwCosigners, &QTreeWidget::currentItemChanged, this, &UA_Resident_Edit::lvwCosigners_Select);
    connect(m_period, &PeriodControls::PeriodChanged, this, &UA_Resident_Edit::rowChanged);
    connect(m_cboCosignerLevel, &QComboBox::currentIndexChanged, this, &UA_Resident_Edit::rowChanged);
    connect(m_cboDictatorLevel, &QComboBox::currentIndexChanged, this, &UA_Resident_Edit::rowChanged);
    connect(m_chkCosignerRequired, &QCheckBox::toggled, this, &UA_Resident_Edit::rowChanged);
    connect(m_chkDictatorRequired, &QCheckBox::toggled, this, &UA_Resident_Edit::rowChanged);

    auto* picker = new QHBoxLayout;
    picker->addWidget(m_cboMember, 1);
    picker->addWidget(add);
    picker->addWidget(remove);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblCaption);
    layout->addWidget(m_lvwCosigners, 1);
    layout->addLayout(picker);
    layout->addWidget(m_rowControls);
    layout->addLayout(buttons);
    resize(700, 440);
}

void UA_Resident_Edit::LoadForm(long dictatorPhysicianId, const std::string& dictatorName, bool resident) {
    m_lngDictatorPhysicianId = dictatorPhysicianId;
    m_strDictatorName = dictatorName;
    m_blnResident = resident;
    setWindowTitle(resident ? "Edit Resident Relationship" : "Edit Cosigner Relationship");
    m_lblCaption->setText(QString::fromStdString(
        std::string(resident ? "The following physicians must also sign the reports of the resident "
                             : "The following physicians must cosign the reports of ") +
        dictatorName + "."));
    m_rows = m_relationships.DependenciesOf(dictatorPhysicianId, resident);
    showRows();
    fillCandidates();
}

std::string UA_Resident_Edit::nameOf(const clsSignatureDependency& d) const {
    if (d.IsGroup()) {
        for (const clsSecurityGroup& g : m_groups)
            if (g.m_lngGroupId == d.m_lngCosignerGroupId)
                return g.m_strGroupName;
        return "#" + std::to_string(d.m_lngCosignerGroupId);
    }
    for (const clsUser& u : m_users)
        if (u.m_lngPhysicianId == d.m_lngCosignerPhysicianId)
            return u.m_strUserName;
    return "#" + std::to_string(d.m_lngCosignerPhysicianId);
}

void UA_Resident_Edit::showRow(int at) {
    QTreeWidgetItem* item = m_lvwCosigners->topLevelItem(at);
    const auto& d = m_rows[static_cast<size_t>(at)];
    item->setText(0, QString::fromStdString(nameOf(d)));
    item->setText(1, QString::fromStdString(d.TypeText()));
    item->setText(2, "Level " + QString::number(d.m_lngCosignerSignatureLevel));
    item->setText(3, yesNo(d.m_blnCosignerSignatureRequired));
    item->setText(4, "Level " + QString::number(d.m_lngDictatorSignatureLevel));
    item->setText(5, yesNo(d.m_blnDictatorSignatureRequired));
    item->setText(6, QString::fromStdString(PeriodControls::Shown(d.m_strEffectiveDate)));
    item->setText(7, QString::fromStdString(PeriodControls::Shown(d.m_strExpireDate)));
}

void UA_Resident_Edit::showRows() {
    m_lvwCosigners->clear();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        new QTreeWidgetItem(m_lvwCosigners);
        showRow(static_cast<int>(i));
    }
    m_rowControls->setEnabled(false);
}

void UA_Resident_Edit::fillCandidates() {
    std::vector<long> physicians, groups;
    for (const auto& d : m_rows)
        (d.IsGroup() ? groups : physicians)
            .push_back(d.IsGroup() ? d.m_lngCosignerGroupId : d.m_lngCosignerPhysicianId);
    m_candidates = SignatureCandidates(m_users, m_groups, m_lngDictatorPhysicianId, physicians, groups);
    m_cboMember->clear();
    for (const auto& c : m_candidates)
        m_cboMember->addItem(QString::fromStdString(c.groupId == -1 ? c.name : c.name + " (Group)"));
}

void UA_Resident_Edit::cmdAdd_Click() {
    const int at = m_cboMember->currentIndex();
    if (at < 0 || at >= static_cast<int>(m_candidates.size()))
        return;
    const SignatureCandidate& c = m_candidates[static_cast<size_t>(at)];
    clsSignatureDependency d;
    d.m_lngDictatorPhysicianId = m_lngDictatorPhysicianId;
    d.m_lngCosignerPhysicianId = c.physicianId;
    d.m_lngCosignerUserId = c.userId;
    d.m_lngCosignerGroupId = c.groupId;
    d.m_lngCosignerPhysicianType =
        m_blnResident ? clsSignatureDependency::kResident : clsSignatureDependency::kCosigner;
    d.m_blnCosignerSignatureRequired = true;
    m_rows.push_back(d);
    new QTreeWidgetItem(m_lvwCosigners);
    showRow(static_cast<int>(m_rows.size()) - 1);
    m_lvwCosigners->setCurrentItem(m_lvwCosigners->topLevelItem(static_cast<int>(m_rows.size()) - 1));
    fillCandidates();
}

void UA_Resident_Edit::cmdRemove_Click() {
    const int at = m_lvwCosigners->indexOfTopLevelItem(m_lvwCosigners->currentItem());
    if (at < 0)
        return;
    m_rows.erase(m_rows.begin() + at);
    showRows();
    fillCandidates();
}

void UA_Resident_Edit::lvwCosigners_Select() {
    const int at = m_lvwCosigners->indexOfTopLevelItem(m_lvwCosigners->currentItem());
    m_rowControls->setEnabled(at >= 0);
    if (at < 0)
        return;
    const auto& d = m_rows[static_cast<size_t>(at)];
    m_blnLoading = true;
    m_cboCosignerLevel->setCurrentIndex(static_cast<int>(d.m_lngCosignerSignatureLevel) - 1);
    m_chkCosignerRequired->setChecked(d.m_blnCosignerSignatureRequired);
    m_cboDictatorLevel->setCurrentIndex(static_cast<int>(d.m_lngDictatorSignatureLevel) - 1);
    m_chkDictatorRequired->setChecked(d.m_blnDictatorSignatureRequired);
    m_period->SetPeriod(d.m_strEffectiveDate, d.m_strExpireDate);
    m_blnLoading = false;
}

void UA_Resident_Edit::rowChanged() {
    const int at = m_lvwCosigners->indexOfTopLevelItem(m_lvwCosigners->currentItem());
    if (m_blnLoading || at < 0)
        return;
    auto& d = m_rows[static_cast<size_t>(at)];
    d.m_lngCosignerSignatureLevel = m_cboCosignerLevel->currentIndex() + 1;
    d.m_blnCosignerSignatureRequired = m_chkCosignerRequired->isChecked();
    d.m_lngDictatorSignatureLevel = m_cboDictatorLevel->currentIndex() + 1;
    d.m_blnDictatorSignatureRequired = m_chkDictatorRequired->isChecked();
    d.m_strEffectiveDate = m_period->Start();
    d.m_strExpireDate = m_period->Expire();
    showRow(at);
}

void UA_Resident_Edit::cmdOK_Click() {
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (PeriodControls::ExpiresTooEarly(m_rows[i].m_strEffectiveDate, m_rows[i].m_strExpireDate)) {
            platform::MsgBox("The Expiration Date must be greater than the Start Date.  Please adjust the dates.",
                             platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Error");
            m_lvwCosigners->setCurrentItem(m_lvwCosigners->topLevelItem(static_cast<int>(i)));
            m_period->FocusExpire();
            return;
        }
    const bool saved =
        m_rows.empty()
            ? m_relationships.DeleteDependencies(m_lngDictatorPhysicianId, m_strDictatorName, m_blnResident)
            : m_relationships.SaveDependencies(m_lngDictatorPhysicianId, m_strDictatorName, m_blnResident, m_rows);
    if (saved)
        accept();
}

} // namespace users
