#include "UA_Surrogate_Edit.h"

#include "MemberListControls.h"
#include "MessageService.h"
#include "PeriodControls.h"
#include "clsSignatureRelationships.h"

#include <QTreeWidget>
#include <QVBoxLayout>

namespace users {

UA_Surrogate_Edit::UA_Surrogate_Edit(clsSignatureRelationships& relationships, const clsUsers& users,
                                     const clsSecurityGroups& groups, QWidget* parent)
    : QDialog(parent), m_relationships(relationships), m_users(users), m_groups(groups) {
    setObjectName("UA_Surrogate_Edit");
    setWindowTitle("Edit Surrogate Signature Relationship");
    m_period = new PeriodControls(this);
    m_members =
        new MemberListControls("lvwSurrogates", {"Name", "Type", "Start Date", "Expiration Date"}, m_period, this);
    connect(m_members, &MemberListControls::AddClicked, this, &UA_Surrogate_Edit::cmdAdd_Click);
    connect(m_members, &MemberListControls::RemoveClicked, this, &UA_Surrogate_Edit::cmdRemove_Click);
    connect(m_members, &MemberListControls::OKClicked, this, &UA_Surrogate_Edit::cmdOK_Click);
    connect(m_members, &MemberListControls::CancelClicked, this, &QDialog::reject);
    connect(m_members, &MemberListControls::RowSelected, this, &UA_Surrogate_Edit::lvwSurrogates_Select);
    connect(m_period, &PeriodControls::PeriodChanged, this, &UA_Surrogate_Edit::periodChanged);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_members);
    resize(520, 400);
}

void UA_Surrogate_Edit::LoadForm(long dictatorPhysicianId, const std::string& dictatorName, bool isNew) {
    m_lngDictatorPhysicianId = dictatorPhysicianId;
    m_strDictatorName = dictatorName;
    m_blnIsNew = isNew;
    m_members->SetCaption(
        QString::fromStdString("The following physicians can view and sign reports for " + dictatorName + "."));
    m_rows = m_relationships.SurrogatesOf(dictatorPhysicianId);
    showRows();
    fillCandidates();
}

void UA_Surrogate_Edit::showRows() {
    const int current = m_members->CurrentRow();
    QTreeWidget* list = m_members->List();
    list->clear();
    for (const auto& s : m_rows) {
        auto* item = new QTreeWidgetItem(list);
        item->setText(0, QString::fromStdString(MemberListControls::MemberName(
                             m_users, m_groups, s.m_lngSurrogatePhysicianId, s.m_lngSurrogateGroupId)));
        item->setText(1, s.IsGroup() ? "Group" : "Physician");
        item->setText(2, QString::fromStdString(PeriodControls::Shown(s.m_strEffectiveDate)));
        item->setText(3, QString::fromStdString(PeriodControls::Shown(s.m_strExpireDate)));
    }
    m_members->SelectRow(current);
    m_period->setEnabled(m_members->CurrentRow() >= 0);
}

void UA_Surrogate_Edit::fillCandidates() {
    std::vector<long> physicians, groups;
    for (const auto& s : m_rows)
        (s.IsGroup() ? groups : physicians)
            .push_back(s.IsGroup() ? s.m_lngSurrogateGroupId : s.m_lngSurrogatePhysicianId);
    m_members->Offer(m_users, m_groups, m_lngDictatorPhysicianId, physicians, groups);
}

void UA_Surrogate_Edit::cmdAdd_Click() {
    const SignatureCandidate* c = m_members->Chosen();
    if (!c)
        return;
    clsSurrogate s;
    s.m_lngDictatorPhysicianId = m_lngDictatorPhysicianId;
    s.m_lngSurrogatePhysicianId = c->physicianId;
    s.m_lngSurrogateUserId = c->userId;
    s.m_lngSurrogateGroupId = c->groupId;
    m_rows.push_back(s);
    showRows();
    m_members->SelectRow(static_cast<int>(m_rows.size()) - 1);
    fillCandidates();
}

void UA_Surrogate_Edit::cmdRemove_Click() {
    const int at = m_members->CurrentRow();
    if (at < 0)
        return;
    m_rows.erase(m_rows.begin() + at);
    showRows();
    fillCandidates();
}

void UA_Surrogate_Edit::lvwSurrogates_Select() {
    const int at = m_members->CurrentRow();
    m_period->setEnabled(at >= 0);
    if (at >= 0)
        m_period->SetPeriod(m_rows[static_cast<size_t>(at)].m_strEffectiveDate,
                            m_rows[static_cast<size_t>(at)].m_strExpireDate);
}

void UA_Surrogate_Edit::periodChanged() {
    QTreeWidgetItem* item = m_members->List()->currentItem();
    const int at = m_members->CurrentRow();
    if (at < 0)
        return;
    auto& s = m_rows[static_cast<size_t>(at)];
    s.m_strEffectiveDate = m_period->Start();
    s.m_strExpireDate = m_period->Expire();
    item->setText(2, QString::fromStdString(PeriodControls::Shown(s.m_strEffectiveDate)));
    item->setText(3, QString::fromStdString(PeriodControls::Shown(s.m_strExpireDate)));
}

void UA_Surrogate_Edit::cmdOK_Click() {
    using platform::MsgBox;
    if (m_rows.empty()) {
        if (MsgBox("No surrogates have been specified. This surrogate relationship will be deleted.",
                   platform::MsgButtons::OKCancel, platform::MsgIcon::Exclamation,
                   "Save Surrogate Relationship") != platform::MsgAnswer::OK)
            return;
        if (m_blnIsNew || m_relationships.DeleteSurrogates(m_lngDictatorPhysicianId, m_strDictatorName))
            accept();
        return;
    }
    if (!m_members->PeriodsInOrder(m_rows, *m_period))
        return;
    if (m_relationships.SaveSurrogates(m_lngDictatorPhysicianId, m_strDictatorName, m_rows, m_blnIsNew))
        accept();
}

} // namespace users
