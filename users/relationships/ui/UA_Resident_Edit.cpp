#include "UA_Resident_Edit.h"

#include "MemberListControls.h"
#include "PeriodControls.h"
#include "clsSignatureRelationships.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace users {

namespace {

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

    m_members = new MemberListControls("lvwCosigners",
                                       {"Name", "Type", "Cosigner Level", "Cosigner Required", "Dictator Level",
                                        "Dictator Required", "Start Date", "Expiration Date"},
                                       m_rowControls, this);
    connect(m_members, &MemberListControls::AddClicked, this, &UA_Resident_Edit::cmdAdd_Click);
    connect(m_members, &MemberListControls::RemoveClicked, this, &UA_Resident_Edit::cmdRemove_Click);
    connect(m_members, &MemberListControls::OKClicked, this, &UA_Resident_Edit::cmdOK_Click);
    connect(m_members, &MemberListControls::CancelClicked, this, &QDialog::reject);
    connect(m_members, &MemberListControls::RowSelected, this, &UA_Resident_Edit::lvwCosigners_Select);
    connect(m_period, &PeriodControls::PeriodChanged, this, &UA_Resident_Edit::rowChanged);
    connect(m_cboCosignerLevel, &QComboBox::currentIndexChanged, this, &UA_Resident_Edit::rowChanged);
    connect(m_cboDictatorLevel, &QComboBox::currentIndexChanged, this, &UA_Resident_Edit::rowChanged);
    connect(m_chkCosignerRequired, &QCheckBox::toggled, this, &UA_Resident_Edit::rowChanged);
    connect(m_chkDictatorRequired, &QCheckBox::toggled, this, &UA_Resident_Edit::rowChanged);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_members);
    resize(700, 440);
}

void UA_Resident_Edit::LoadForm(long dictatorPhysicianId, const std::string& dictatorName, bool resident) {
    m_lngDictatorPhysicianId = dictatorPhysicianId;
    m_strDictatorName = dictatorName;
    m_blnResident = resident;
    setWindowTitle(resident ? "Edit Resident Relationship" : "Edit Cosigner Relationship");
    m_members->SetCaption(QString::fromStdString(
        std::string(resident ? "The following physicians must also sign the reports of the resident "
                             : "The following physicians must cosign the reports of ") +
        dictatorName + "."));
    m_rows = m_relationships.DependenciesOf(dictatorPhysicianId, resident);
    showRows();
    fillCandidates();
}

void UA_Resident_Edit::showRow(int at) {
    QTreeWidgetItem* item = m_members->List()->topLevelItem(at);
    const auto& d = m_rows[static_cast<size_t>(at)];
    item->setText(0, QString::fromStdString(MemberListControls::MemberName(
                         m_users, m_groups, d.m_lngCosignerPhysicianId, d.m_lngCosignerGroupId)));
    item->setText(1, QString::fromStdString(d.TypeText()));
    item->setText(2, "Level " + QString::number(d.m_lngCosignerSignatureLevel));
    item->setText(3, yesNo(d.m_blnCosignerSignatureRequired));
    item->setText(4, "Level " + QString::number(d.m_lngDictatorSignatureLevel));
    item->setText(5, yesNo(d.m_blnDictatorSignatureRequired));
    item->setText(6, QString::fromStdString(PeriodControls::Shown(d.m_strEffectiveDate)));
    item->setText(7, QString::fromStdString(PeriodControls::Shown(d.m_strExpireDate)));
}

void UA_Resident_Edit::showRows() {
    m_members->List()->clear();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        new QTreeWidgetItem(m_members->List());
        showRow(static_cast<int>(i));
    }
    m_rowControls->setEnabled(false);
}

void UA_Resident_Edit::fillCandidates() {
    std::vector<long> physicians, groups;
    for (const auto& d : m_rows)
        (d.IsGroup() ? groups : physicians)
            .push_back(d.IsGroup() ? d.m_lngCosignerGroupId : d.m_lngCosignerPhysicianId);
    m_members->Offer(m_users, m_groups, m_lngDictatorPhysicianId, physicians, groups);
}

void UA_Resident_Edit::cmdAdd_Click() {
    const SignatureCandidate* c = m_members->Chosen();
    if (!c)
        return;
    clsSignatureDependency d;
    d.m_lngDictatorPhysicianId = m_lngDictatorPhysicianId;
    d.m_lngCosignerPhysicianId = c->physicianId;
    d.m_lngCosignerUserId = c->userId;
    d.m_lngCosignerGroupId = c->groupId;
    d.m_lngCosignerPhysicianType =
        m_blnResident ? clsSignatureDependency::kResident : clsSignatureDependency::kCosigner;
    d.m_blnCosignerSignatureRequired = true;
    m_rows.push_back(d);
    new QTreeWidgetItem(m_members->List());
    showRow(static_cast<int>(m_rows.size()) - 1);
    m_members->SelectRow(static_cast<int>(m_rows.size()) - 1);
    fillCandidates();
}

void UA_Resident_Edit::cmdRemove_Click() {
    const int at = m_members->CurrentRow();
    if (at < 0)
        return;
    m_rows.erase(m_rows.begin() + at);
    showRows();
    fillCandidates();
}

void UA_Resident_Edit::lvwCosigners_Select() {
    const int at = m_members->CurrentRow();
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
    const int at = m_members->CurrentRow();
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
    if (!m_members->PeriodsInOrder(m_rows, *m_period))
        return;
    const bool saved =
        m_rows.empty()
            ? m_relationships.DeleteDependencies(m_lngDictatorPhysicianId, m_strDictatorName, m_blnResident)
            : m_relationships.SaveDependencies(m_lngDictatorPhysicianId, m_strDictatorName, m_blnResident, m_rows);
    if (saved)
        accept();
}

} // namespace users
