#include "UA_Privileges_New.h"

#include "LoginComponent.h"
#include "MessageService.h"
#include "UA_Effective_Access.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace users {

namespace {

constexpr int kIndexRole = Qt::UserRole + 1;

constexpr int kGeneralAccountPositions[] = {0, 1, 2, 5, 6, 7, 8, 9, 10, 11, 12, 13};
constexpr int kTranscriptionAccountPositions[] = {3};

QPushButton* button(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

bool tabUsable(PrivilegeTab tab, const AdminKinds& k) {
    switch (tab) {
    case PrivilegeTab::General:
        return k.system;
    case PrivilegeTab::Transcription:
    case PrivilegeTab::VeltraDictation:
        return k.system || k.transcription;
    case PrivilegeTab::Paxlet:
    case PrivilegeTab::VeltraExpert:
        return k.system || k.physician;
    }
    return false;
}

constexpr PrivilegeTab kSystemTabs[] = {PrivilegeTab::General, PrivilegeTab::Transcription, PrivilegeTab::Paxlet,
                                        PrivilegeTab::VeltraDictation, PrivilegeTab::VeltraExpert};

} // namespace

UA_Privileges_New::UA_Privileges_New(const suite::LoginComponent& login, const AdminKinds& kinds, QWidget* parent)
    : QDialog(parent), m_login(login), m_kinds(kinds) {
    setObjectName("UA_Privileges_New");
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName("tabPrivileges");
    m_tabs->addTab(buildSystemTab(), "&System Privileges");
    m_tabs->addTab(buildAccountTab(), "&Account Privileges");
    m_tabs->addTab(buildReportTypeTab(), "&Report Type Privileges");

    auto* clearAll = button("cmdClearAll", "C&lear All", this);
    auto* effective = button("cmdEffectiveAccess", "E&ffective Access...", this);
    auto* ok = button("BOK", "&OK", this);
    auto* cancel = button("BCancel", "&Cancel", this);
    ok->setDefault(true);
    connect(clearAll, &QPushButton::clicked, this, &UA_Privileges_New::cmdClearAll_Click);
    connect(effective, &QPushButton::clicked, this, &UA_Privileges_New::cmdEffectiveAccess_Click);
    connect(ok, &QPushButton::clicked, this, &UA_Privileges_New::BOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(clearAll);
    buttons->addWidget(effective);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttons);
    resize(820, 620);
}

QWidget* UA_Privileges_New::boxPage(Level level, std::span<const PrivilegeEntry> table, PrivilegeTab tab,
                                    const std::vector<QPushButton*>& buttons) {
    auto* page = new QWidget;
    auto* outer = new QVBoxLayout(page);
    auto* scroll = new QScrollArea(page);
    scroll->setWidgetResizable(true);
    auto* holder = new QWidget;
    holder->setObjectName("ssGroupPanel");
    auto* grid = new QVBoxLayout(holder);
    std::map<std::string, QGridLayout*> groups;
    for (const auto& e : table) {
        if (e.tab != tab)
            continue;
        QGridLayout* target = nullptr;
        if (e.group) {
            auto it = groups.find(e.group);
            if (it == groups.end()) {
                auto* frame = new QGroupBox(QString::fromUtf8(e.group), holder);
                auto* g = new QGridLayout(frame);
                grid->addWidget(frame);
                it = groups.emplace(e.group, g).first;
            }
            target = it->second;
        } else {
            if (groups.find("") == groups.end()) {
                auto* plain = new QWidget(holder);
                groups.emplace("", new QGridLayout(plain));
                grid->addWidget(plain);
            }
            target = groups[""];
        }
        // Sub-privileges stand indented under the privilege that enables them.
        int depth = 0;
        for (const char* p = e.parent; p; ++depth) {
            const PrivilegeEntry* up = FindPrivilegeEntry(table, p);
            p = up ? up->parent : nullptr;
        }
        Box box;
        box.entry = &e;
        box.level = level;
        box.own = new QCheckBox(QString::fromUtf8(e.caption), holder);
        box.own->setObjectName(e.control);
        box.group = new QCheckBox(holder);
        box.group->setObjectName("chkGroupPriv");
        box.group->setProperty("privilegeControl", QString::fromUtf8(e.control));
        box.group->setEnabled(false);
        box.group->setFocusPolicy(Qt::NoFocus);
        box.group->setToolTip("Granted through a group");
        const int row = target->rowCount();
        target->addWidget(box.group, row, 0);
        target->addWidget(box.own, row, 1 + depth);
        target->setColumnStretch(8, 1);
        auto& stored = m_boxes[e.control] = box;
        connect(box.own, &QCheckBox::toggled, this, [this, &stored](bool on) { box_Toggled(stored, on); });
    }
    grid->addStretch();
    scroll->setWidget(holder);
    outer->addWidget(scroll);
    if (!buttons.empty()) {
        auto* row = new QHBoxLayout;
        row->addStretch();
        for (auto* b : buttons)
            row->addWidget(b);
        outer->addLayout(row);
    }
    return page;
}

QWidget* UA_Privileges_New::buildSystemTab() {
    m_systemTabs = new QTabWidget;
    m_systemTabs->setObjectName("tabSystem");
    for (PrivilegeTab t : kSystemTabs)
        m_systemTabs->addTab(boxPage(Level::System, SystemPrivilegeTable(), t, {}), PrivilegeTabCaption(t));
    return m_systemTabs;
}

QWidget* UA_Privileges_New::buildAccountTab() {
    auto* page = new QWidget;
    m_lvwAccounts = new QListView(page);
    m_lvwAccounts->setObjectName("lvwAccounts");
    m_accountModel = new QStandardItemModel(this);
    m_lvwAccounts->setModel(m_accountModel);
    m_lvwAccounts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* tabs = new QTabWidget(page);
    tabs->setObjectName("tabAccount");
    auto* setDefault = button("BSetDefault", "Use Settings For All Accounts", page);
    auto* setTrans = button("BSetAllAccountTrans", "Use Settings For All Accounts", page);
    connect(setDefault, &QPushButton::clicked, this, &UA_Privileges_New::BSetDefault_Click);
    connect(setTrans, &QPushButton::clicked, this, &UA_Privileges_New::BSetAllAccountTrans_Click);
    tabs->addTab(boxPage(Level::Account, AccountPrivilegeTable(), PrivilegeTab::General, {setDefault}), "General");
    tabs->addTab(boxPage(Level::Account, AccountPrivilegeTable(), PrivilegeTab::Transcription, {setTrans}),
                 "Transcription");
    auto* label = new QLabel("Accou&nts:", page);
    label->setBuddy(m_lvwAccounts);
    auto* left = new QVBoxLayout;
    left->addWidget(label);
    left->addWidget(m_lvwAccounts);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addWidget(tabs, 2);
    connect(m_lvwAccounts->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { showAccount(); });
    return page;
}

QWidget* UA_Privileges_New::buildReportTypeTab() {
    auto* page = new QWidget;
    m_CBAccounts = new QComboBox(page);
    m_CBAccounts->setObjectName("CBAccounts");
    m_ReportTypeList = new QListView(page);
    m_ReportTypeList->setObjectName("ReportTypeList");
    m_reportModel = new QStandardItemModel(this);
    m_ReportTypeList->setModel(m_reportModel);
    m_ReportTypeList->setSelectionMode(QAbstractItemView::MultiSelection);
    m_ReportTypeList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* selectAll = button("BReportsSelectAll", "S&elect All", page);
    auto* unselectAll = button("BReportsUnSelectAll", "&Unselect All", page);
    connect(selectAll, &QPushButton::clicked, this, [this] { m_ReportTypeList->selectAll(); });
    connect(unselectAll, &QPushButton::clicked, this, [this] { m_ReportTypeList->clearSelection(); });

    auto* reportDefault = button("BSetReportDefault", "Use Settings For All Report Types", page);
    auto* transAccounts = button("BSetAllRptAcctTrans", "Use Settings For All Accounts", page);
    auto* generalTypes = button("BSetAllReportGeneral", "Use Settings For All Report Types", page);
    auto* generalAccounts = button("BSetAllRptAcctGen", "Use Settings For All Accounts", page);
    connect(reportDefault, &QPushButton::clicked, this, &UA_Privileges_New::BSetReportDefault_Click);
    connect(transAccounts, &QPushButton::clicked, this, &UA_Privileges_New::BSetAllRptAcctTrans_Click);
    connect(generalTypes, &QPushButton::clicked, this, &UA_Privileges_New::BSetAllReportGeneral_Click);
    connect(generalAccounts, &QPushButton::clicked, this, &UA_Privileges_New::BSetAllRptAcctGen_Click);
    auto* tabs = new QTabWidget(page);
    tabs->setObjectName("tabReportType");
    tabs->addTab(boxPage(Level::ReportType, ReportTypePrivilegeTable(), PrivilegeTab::Transcription,
                         {reportDefault, transAccounts}),
                 "Transcription");
    tabs->addTab(
        boxPage(Level::ReportType, ReportTypePrivilegeTable(), PrivilegeTab::General, {generalTypes, generalAccounts}),
        "General");

    auto* accountLabel = new QLabel("&Hospital Account:", page);
    accountLabel->setBuddy(m_CBAccounts);
    auto* typesLabel = new QLabel("Report &Types:", page);
    typesLabel->setBuddy(m_ReportTypeList);
    auto* left = new QVBoxLayout;
    left->addWidget(accountLabel);
    left->addWidget(m_CBAccounts);
    left->addWidget(typesLabel);
    left->addWidget(m_ReportTypeList);
    auto* selectRow = new QHBoxLayout;
    selectRow->addWidget(selectAll);
    selectRow->addWidget(unselectAll);
    left->addLayout(selectRow);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left, 1);
    layout->addWidget(tabs, 2);
    connect(m_CBAccounts, &QComboBox::currentIndexChanged, this, [this] { fillReportTypeList(); });
    connect(m_ReportTypeList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { showReportTypes(); });
    return page;
}

bool UA_Privileges_New::LoadForm(long id, const std::string& name, bool isGroup, long partitionId) {
    int first = -1;
    for (int i = 0; i < m_systemTabs->count(); ++i) {
        const bool usable = tabUsable(kSystemTabs[i], m_kinds);
        m_systemTabs->setTabVisible(i, usable);
        m_systemTabs->setTabEnabled(i, usable);
        if (usable && first < 0)
            first = i;
    }
    if (first < 0) {
        platform::MsgBox(kNoSubTab, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Error");
        return false;
    }
    m_systemTabs->setCurrentIndex(first);
    setWindowTitle(QString::fromStdString("User Privileges: " + name));
    m_privileges.Init(m_login, id, name, isGroup, partitionId);
    if (!m_privileges.Load() || !m_privileges.LoadGroupPrivileges())
        return false;

    for (auto& [control, box] : m_boxes) {
        box.group->setVisible(!isGroup);
        if (box.entry->groupOnly)
            box.own->setVisible(isGroup);
        if (box.entry->caption[0] == '\0')
            box.own->setVisible(false);
    }
    m_blnLoading = true;
    m_accountModel->clear();
    m_CBAccounts->clear();
    for (int index : m_privileges.VisibleAccounts()) {
        const QString caption = QString::fromStdString(m_privileges.AccountCaption(index));
        auto* item = new QStandardItem(caption);
        item->setData(index, kIndexRole);
        m_accountModel->appendRow(item);
        m_CBAccounts->addItem(caption, index);
    }
    m_blnLoading = false;
    if (m_accountModel->rowCount() > 0)
        m_lvwAccounts->setCurrentIndex(m_accountModel->index(0, 0));
    fillReportTypeList();
    showSystem();
    showAccount();
    if (isGroup)
        enforceGroupRestriction();
    return true;
}

QCheckBox* UA_Privileges_New::GroupIndicator(const std::string& control) const {
    auto it = m_boxes.find(control);
    return it == m_boxes.end() ? nullptr : it->second.group;
}

int UA_Privileges_New::currentAccount() const {
    const QModelIndex i = m_lvwAccounts->currentIndex();
    return i.isValid() ? i.data(kIndexRole).toInt() : 0;
}

int UA_Privileges_New::currentReportAccount() const {
    return m_CBAccounts->currentIndex() >= 0 ? m_CBAccounts->currentData().toInt() : 0;
}

std::vector<int> UA_Privileges_New::selectedSlots() const {
    std::vector<int> out;
    for (const QModelIndex& i : m_ReportTypeList->selectionModel()->selectedIndexes())
        out.push_back(i.data(kIndexRole).toInt());
    std::sort(out.begin(), out.end());
    return out;
}

bool UA_Privileges_New::enabledByParents(Level level, const PrivilegeEntry& e) const {
    for (const char* p = e.parent; p;) {
        auto it = m_boxes.find(p);
        if (it == m_boxes.end() || it->second.level != level)
            return true;
        if (!it->second.own->isChecked())
            return false;
        p = it->second.entry->parent;
    }
    return true;
}

void UA_Privileges_New::applyDependencies(Level level) {
    for (auto& [control, box] : m_boxes) {
        if (box.level != level || !box.entry->parent)
            continue;
        bool editable = enabledByParents(level, *box.entry);
        if (level == Level::Account)
            editable = editable && currentAccount() > 0;
        if (level == Level::ReportType)
            editable = editable && !selectedSlots().empty();
        box.own->setEnabled(editable);
        // A cleared parent clears its sub-privileges (not while a record is being shown).
        if (!editable && box.own->isChecked() && !m_blnLoading)
            box.own->setChecked(false);
    }
}

void UA_Privileges_New::box_Toggled(Box& box, bool checked) {
    if (m_blnLoading)
        return;
    const auto pos = static_cast<size_t>(box.entry->position);
    const std::uint8_t flag = checked ? 1 : 0;
    switch (box.level) {
    case Level::System:
        m_privileges.System()[pos] = flag;
        break;
    case Level::Account:
        if (currentAccount() > 0)
            m_privileges.Account(currentAccount())[pos] = flag;
        break;
    case Level::ReportType:
        if (currentReportAccount() > 0)
            for (int slot : selectedSlots())
                m_privileges.ReportType(currentReportAccount(), slot)[pos] = flag;
        break;
    }
    applyDependencies(box.level);
    if (checked && m_privileges.IsGroup() && box.level == Level::System &&
        (box.entry->position == priv::TranscriptionDesktop || box.entry->position == priv::JobPlayer))
        enforceGroupRestriction();
}

void UA_Privileges_New::showSystem() {
    m_blnLoading = true;
    for (auto& [control, box] : m_boxes) {
        if (box.level != Level::System)
            continue;
        const auto pos = static_cast<size_t>(box.entry->position);
        box.own->setChecked(m_privileges.System()[pos] != 0);
        box.group->setChecked(m_privileges.GroupSystem()[pos] != 0);
    }
    applyDependencies(Level::System);
    m_blnLoading = false;
}

void UA_Privileges_New::showAccount() {
    const int index = currentAccount();
    m_blnLoading = true;
    for (auto& [control, box] : m_boxes) {
        if (box.level != Level::Account)
            continue;
        const auto pos = static_cast<size_t>(box.entry->position);
        box.own->setChecked(index > 0 && m_privileges.Account(index)[pos] != 0);
        box.group->setChecked(index > 0 && m_privileges.GroupAccount(index)[pos] != 0);
        box.own->setEnabled(index > 0);
    }
    applyDependencies(Level::Account);
    m_blnLoading = false;
}

void UA_Privileges_New::fillReportTypeList() {
    if (m_blnLoading)
        return;
    m_blnLoading = true;
    m_reportModel->clear();
    const int index = currentReportAccount();
    if (index > 0) {
        const auto& chosen = m_privileges.ReportTypes(index);
        for (int slot : m_privileges.OfferedReportTypes(index)) {
            auto* item = new QStandardItem(QString::fromStdString(chosen[static_cast<size_t>(slot)].name));
            item->setData(slot, kIndexRole);
            m_reportModel->appendRow(item);
        }
    }
    if (m_reportModel->rowCount() > 0)
        m_ReportTypeList->selectionModel()->select(m_reportModel->index(0, 0), QItemSelectionModel::Select);
    m_blnLoading = false;
    showReportTypes();
}

void UA_Privileges_New::showReportTypes() {
    if (m_blnLoading)
        return;
    const int index = currentReportAccount();
    const auto chosen = selectedSlots();
    m_blnLoading = true;
    for (auto& [control, box] : m_boxes) {
        if (box.level != Level::ReportType)
            continue;
        const auto pos = static_cast<size_t>(box.entry->position);
        const bool any = index > 0 && !chosen.empty();
        box.own->setChecked(any && m_privileges.ReportType(index, chosen.front())[pos] != 0);
        box.group->setChecked(any && m_privileges.GroupReportType(index, chosen.front())[pos] != 0);
        box.own->setEnabled(any);
    }
    applyDependencies(Level::ReportType);
    m_blnLoading = false;
}

void UA_Privileges_New::enforceGroupRestriction() {
    if (!m_privileges.ApplyGroupRestriction())
        return;
    showSystem();
    showAccount();
    showReportTypes();
    platform::MsgBox(clsPrivileges::GroupRestrictionMessage(), platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                     "Error");
}

void UA_Privileges_New::cmdClearAll_Click() {
    for (auto& [control, box] : m_boxes)
        if (box.level == Level::System && !box.entry->parent)
            box.own->setChecked(false);
}

void UA_Privileges_New::BSetDefault_Click() {
    if (currentAccount() > 0)
        m_privileges.CopyAccountPositions(currentAccount(), kGeneralAccountPositions);
}

void UA_Privileges_New::BSetAllAccountTrans_Click() {
    if (currentAccount() > 0)
        m_privileges.CopyAccountPositions(currentAccount(), kTranscriptionAccountPositions);
}

void UA_Privileges_New::copyReportPositions(std::initializer_list<int> positions, bool allAccounts) {
    const auto chosen = selectedSlots();
    if (currentReportAccount() <= 0 || chosen.empty())
        return;
    m_privileges.CopyReportTypePositions(currentReportAccount(), chosen.front(),
                                         std::span<const int>(positions.begin(), positions.size()), allAccounts);
}

void UA_Privileges_New::BSetReportDefault_Click() {
    copyReportPositions({1, 2, 3, 4, 5, 6, 8}, false);
}
void UA_Privileges_New::BSetAllReportGeneral_Click() {
    copyReportPositions({7}, false);
}
void UA_Privileges_New::BSetAllRptAcctTrans_Click() {
    copyReportPositions({1, 2, 3, 4, 5, 6, 8}, true);
}
void UA_Privileges_New::BSetAllRptAcctGen_Click() {
    copyReportPositions({7}, true);
}

void UA_Privileges_New::BOK_Click() {
    for (auto& [control, box] : m_boxes)
        if (box.level == Level::System)
            m_privileges.System()[static_cast<size_t>(box.entry->position)] = box.own->isChecked() ? 1 : 0;
    if (m_privileges.Save())
        accept();
}

void UA_Privileges_New::cmdEffectiveAccess_Click() {
    UA_Effective_Access view(m_privileges, this);
    view.exec();
}

} // namespace users
