#include "UA_Surrogate_Edit.h"

#include "MessageService.h"
#include "PeriodControls.h"
#include "clsSecurityGroups.h"
#include "clsSignatureRelationships.h"
#include "clsUsers.h"

#include <QComboBox>
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

} // namespace

UA_Surrogate_Edit::UA_Surrogate_Edit(clsSignatureRelationships& relationships, const clsUsers& users,
                                     const clsSecurityGroups& groups, QWidget* parent)
    : QDialog(parent), m_relationships(relationships), m_users(users), m_groups(groups) {
    setObjectName("UA_Surrogate_Edit");
    setWindowTitle("Edit Surrogate Signature Relationship");
    m_lblCaption = new QLabel(this);
    m_lblCaption->setObjectName("lblCaption");
    m_lblCaption->setWordWrap(true);
    m_lvwSurrogates = new QTreeWidget(this);
    m_lvwSurrogates->setObjectName("lvwSurrogates");
    m_lvwSurrogates->setHeaderLabels({"Name", "Type", "Start Date", "Expiration Date"});
    m_lvwSurrogates->setRootIsDecorated(false);
    m_lvwSurrogates->header()->setStretchLastSection(true);
    m_cboMember = new QComboBox(this);
    m_cboMember->setObjectName("cboMember");
    m_cboMember->setAccessibleName("Physician or group to add");
    auto* add = button("cmdAdd", "&Add", this);
    auto* remove = button("cmdRemove", "&Remove", this);
    m_period = new PeriodControls(this);
    auto* ok = button("cmdOK", "&OK", this);
    ok->setDefault(true);
    auto* cancel = button("cmdCancel", "&Cancel", this);
    connect(add, &QPushButton::clicked, this, &UA_Surrogate_Edit::cmdAdd_Click);
    connect(remove, &QPushButton::clicked, this, &UA_Surrogate_Edit::cmdRemove_Click);
    connect(ok, &QPushButton::clicked, this, &UA_Surrogate_Edit::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_lvwSurrogates, &QTreeWidget::currentItemChanged, this, &UA_Surrogate_Edit::lvwSurrogates_Select);
    connect(m_period, &PeriodControls::PeriodChanged, this, &UA_Surrogate_Edit::periodChanged);

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
    layout->addWidget(m_lvwSurrogates, 1);
    layout->addLayout(picker);
    layout->addWidget(m_period);
    layout->addLayout(buttons);
    resize(520, 400);
}

void UA_Surrogate_Edit::LoadForm(long dictatorPhysicianId, const std::string& dictatorName, bool isNew) {
    m_lngDictatorPhysicianId = dictatorPhysicianId;
    m_strDictatorName = dictatorName;
    m_blnIsNew = isNew;
    m_lblCaption->setText(
        QString::fromStdString("The following physicians can view and sign reports for " + dictatorName + "."));
    m_rows = m_relationships.SurrogatesOf(dictatorPhysicianId);
    showRows();
    fillCandidates();
}

std::string UA_Surrogate_Edit::nameOf(const clsSurrogate& s) const {
    if (s.IsGroup()) {
        for (const clsSecurityGroup& g : m_groups)
            if (g.m_lngGroupId == s.m_lngSurrogateGroupId)
                return g.m_strGroupName;
        return "#" + std::to_string(s.m_lngSurrogateGroupId);
    }
    for (const clsUser& u : m_users)
        if (u.m_lngPhysicianId == s.m_lngSurrogatePhysicianId)
            return u.m_strUserName;
    return "#" + std::to_string(s.m_lngSurrogatePhysicianId);
}

void UA_Surrogate_Edit::showRows() {
    const int current = m_lvwSurrogates->indexOfTopLevelItem(m_lvwSurrogates->currentItem());
    m_lvwSurrogates->clear();
    for (const auto& s : m_rows) {
        auto* item = new QTreeWidgetItem(m_lvwSurrogates);
        item->setText(0, QString::fromStdString(nameOf(s)));
        item->setText(1, s.IsGroup() ? "Group" : "Physician");
        item->setText(2, QString::fromStdString(PeriodControls::Shown(s.m_strEffectiveDate)));
        item->setText(3, QString::fromStdString(PeriodControls::Shown(s.m_strExpireDate)));
    }
    if (current >= 0 && current < m_lvwSurrogates->topLevelItemCount())
        m_lvwSurrogates->setCurrentItem(m_lvwSurrogates->topLevelItem(current));
    m_period->setEnabled(m_lvwSurrogates->currentItem() != nullptr);
}

void UA_Surrogate_Edit::fillCandidates() {
    std::vector<long> physicians, groups;
    for (const auto& s : m_rows)
        (s.IsGroup() ? groups : physicians)
            .push_back(s.IsGroup() ? s.m_lngSurrogateGroupId : s.m_lngSurrogatePhysicianId);
    m_candidates = SignatureCandidates(m_users, m_groups, m_lngDictatorPhysicianId, physicians, groups);
    m_cboMember->clear();
    for (const auto& c : m_candidates)
        m_cboMember->addItem(QString::fromStdString(c.groupId == -1 ? c.name : c.name + " (Group)"));
}

void UA_Surrogate_Edit::cmdAdd_Click() {
    const int at = m_cboMember->currentIndex();
    if (at < 0 || at >= static_cast<int>(m_candidates.size()))
        return;
    const SignatureCandidate& c = m_candidates[static_cast<size_t>(at)];
    clsSurrogate s;
    s.m_lngDictatorPhysicianId = m_lngDictatorPhysicianId;
    s.m_lngSurrogatePhysicianId = c.physicianId;
    s.m_lngSurrogateUserId = c.userId;
    s.m_lngSurrogateGroupId = c.groupId;
    m_rows.push_back(s);
    showRows();
    m_lvwSurrogates->setCurrentItem(m_lvwSurrogates->topLevelItem(static_cast<int>(m_rows.size()) - 1));
    fillCandidates();
}

void UA_Surrogate_Edit::cmdRemove_Click() {
    const int at = m_lvwSurrogates->indexOfTopLevelItem(m_lvwSurrogates->currentItem());
    if (at < 0)
        return;
    m_rows.erase(m_rows.begin() + at);
    showRows();
    fillCandidates();
}

void UA_Surrogate_Edit::lvwSurrogates_Select() {
    const int at = m_lvwSurrogates->indexOfTopLevelItem(m_lvwSurrogates->currentItem());
    m_period->setEnabled(at >= 0);
    if (at >= 0)
        m_period->SetPeriod(m_rows[static_cast<size_t>(at)].m_strEffectiveDate,
                            m_rows[static_cast<size_t>(at)].m_strExpireDate);
}

void UA_Surrogate_Edit::periodChanged() {
    QTreeWidgetItem* item = m_lvwSurrogates->currentItem();
    const int at = m_lvwSurrogates->indexOfTopLevelItem(item);
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
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (PeriodControls::ExpiresTooEarly(m_rows[i].m_strEffectiveDate, m_rows[i].m_strExpireDate)) {
            MsgBox("The Expiration Date must be greater than the Start Date.  Please adjust the dates.",
                   platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Error");
            m_lvwSurrogates->setCurrentItem(m_lvwSurrogates->topLevelItem(static_cast<int>(i)));
            m_period->FocusExpire();
            return;
        }
    if (m_relationships.SaveSurrogates(m_lngDictatorPhysicianId, m_strDictatorName, m_rows, m_blnIsNew))
        accept();
}

} // namespace users
