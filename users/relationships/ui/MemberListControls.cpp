#include "MemberListControls.h"

#include "MessageService.h"
#include "clsSecurityGroups.h"
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

MemberListControls::MemberListControls(const char* listName, const QStringList& columns, QWidget* details,
                                       QWidget* parent)
    : QWidget(parent) {
    m_lblCaption = new QLabel(this);
    m_lblCaption->setObjectName("lblCaption");
    m_lblCaption->setWordWrap(true);
    m_lvwMembers = new QTreeWidget(this);
    m_lvwMembers->setObjectName(listName);
    m_lvwMembers->setHeaderLabels(columns);
    m_lvwMembers->setRootIsDecorated(false);
    m_lvwMembers->header()->setStretchLastSection(true);
    m_cboMember = new QComboBox(this);
    m_cboMember->setObjectName("cboMember");
    m_cboMember->setAccessibleName("Physician or group to add");
    auto* add = button("cmdAdd", "&Add", this);
    auto* remove = button("cmdRemove", "&Remove", this);
    auto* ok = button("cmdOK", "&OK", this);
    ok->setDefault(true);
    auto* cancel = button("cmdCancel", "&Cancel", this);
    // The editor made its details first; Tab still runs list, choice, details, buttons.
    std::vector<QWidget*> order{m_lvwMembers, m_cboMember, add, remove};
    if (details) {
        QWidget* start = window();
        QWidget* w = start;
        do {
            if (details->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus))
                order.push_back(w);
            w = w->nextInFocusChain();
        } while (w && w != start);
    }
    order.push_back(ok);
    order.push_back(cancel);
    for (size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    connect(add, &QPushButton::clicked, this, &MemberListControls::AddClicked);
    connect(remove, &QPushButton::clicked, this, &MemberListControls::RemoveClicked);
    connect(ok, &QPushButton::clicked, this, &MemberListControls::OKClicked);
    connect(cancel, &QPushButton::clicked, this, &MemberListControls::CancelClicked);
    connect(m_lvwMembers, &QTreeWidget::currentItemChanged, this, [this] { Q_EMIT RowSelected(CurrentRow()); });

    auto* picker = new QHBoxLayout;
    picker->addWidget(m_cboMember, 1);
    picker->addWidget(add);
    picker->addWidget(remove);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_lblCaption);
    layout->addWidget(m_lvwMembers, 1);
    layout->addLayout(picker);
    if (details)
        layout->addWidget(details);
    layout->addLayout(buttons);
}

void MemberListControls::SetCaption(const QString& text) {
    m_lblCaption->setText(text);
}

int MemberListControls::CurrentRow() const {
    return m_lvwMembers->indexOfTopLevelItem(m_lvwMembers->currentItem());
}

void MemberListControls::SelectRow(int row) {
    if (row >= 0 && row < m_lvwMembers->topLevelItemCount())
        m_lvwMembers->setCurrentItem(m_lvwMembers->topLevelItem(row));
}

void MemberListControls::Offer(const clsUsers& users, const clsSecurityGroups& groups, long dictatorPhysicianId,
                               const std::vector<long>& memberPhysicians, const std::vector<long>& memberGroups) {
    m_candidates = SignatureCandidates(users, groups, dictatorPhysicianId, memberPhysicians, memberGroups);
    m_cboMember->clear();
    for (const auto& c : m_candidates)
        m_cboMember->addItem(QString::fromStdString(c.groupId == -1 ? c.name : c.name + " (Group)"));
}

const SignatureCandidate* MemberListControls::Chosen() const {
    const int at = m_cboMember->currentIndex();
    if (at < 0 || at >= static_cast<int>(m_candidates.size()))
        return nullptr;
    return &m_candidates[static_cast<size_t>(at)];
}

void MemberListControls::RefusePeriod(int row, PeriodControls& period) {
    platform::MsgBox("The Expiration Date must be greater than the Start Date.  Please adjust the dates.",
                     platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Error");
    SelectRow(row);
    period.FocusExpire();
}

std::string MemberListControls::MemberName(const clsUsers& users, const clsSecurityGroups& groups, long physicianId,
                                           long groupId) {
    if (groupId != -1) {
        for (const clsSecurityGroup& g : groups)
            if (g.m_lngGroupId == groupId)
                return g.m_strGroupName;
        return "#" + std::to_string(groupId);
    }
    for (const clsUser& u : users)
        if (u.m_lngPhysicianId == physicianId)
            return u.m_strUserName;
    return "#" + std::to_string(physicianId);
}

} // namespace users
