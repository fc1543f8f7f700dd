#include "UA_User_Mgmt_Undelete.h"

#include "DatabaseSession.h"
#include "MessageService.h"
#include "clsUsers.h"
#include "modUserStore.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace users {

UA_User_Mgmt_Undelete::UA_User_Mgmt_Undelete(long partitionId, clsUsers& users, QWidget* parent)
    : QDialog(parent), m_lngPartitionId(partitionId), m_users(users) {
    setObjectName("UA_User_Mgmt_Undelete");
    setWindowTitle("Undelete a Transcriptionist");
    auto* prompt = new QLabel("&Select the transcriptionist to undelete:", this);
    m_lvwTranscriptionists = new QTreeWidget(this);
    m_lvwTranscriptionists->setObjectName("lvwTranscriptionists");
    m_lvwTranscriptionists->setHeaderLabels({"Trans ID", "First Name", "Last Name", "Initials", "Location Code",
                                             "Dictation ID", "MIS Number", "Partition"});
    m_lvwTranscriptionists->setRootIsDecorated(false);
    m_lvwTranscriptionists->setSortingEnabled(true);
    m_lvwTranscriptionists->sortByColumn(0, Qt::AscendingOrder);
    m_lvwTranscriptionists->header()->setStretchLastSection(true);
    prompt->setBuddy(m_lvwTranscriptionists);
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    ok->setEnabled(false);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");
    connect(ok, &QPushButton::clicked, this, &UA_User_Mgmt_Undelete::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_lvwTranscriptionists, &QTreeWidget::currentItemChanged, this,
            [ok](QTreeWidgetItem* current) { ok->setEnabled(current != nullptr); });
    connect(m_lvwTranscriptionists, &QTreeWidget::itemDoubleClicked, this, &UA_User_Mgmt_Undelete::cmdOK_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(m_lvwTranscriptionists, 1);
    layout->addLayout(buttons);
    resize(640, 360);
}

std::string UA_User_Mgmt_Undelete::ListQuery(long partitionId) {
    const std::string p = std::to_string(partitionId);
    return "SELECT trans_id, first_name, last_name, initials, location_code, dictation_id, mis_nbr, SP.partition_id "
           "FROM Trans_info TI LEFT JOIN System_partitions SP ON TI.extra3 = SP.partition_id WHERE is_deleted = 1 "
           "AND trans_type = 1 AND (SP.partition_id = " +
           p + " OR SP.lineage LIKE '%/" + p + "/%')";
}

bool UA_User_Mgmt_Undelete::LoadList() {
    auto& s = foundation::DatabaseSession::instance();
    s.SQLStatement = ListQuery(m_lngPartitionId);
    if (s.ExecSQL() != 1)
        return false;
    std::vector<clsUser> rows;
    while (s.FetchRow() == 1) {
        clsUser u;
        u.m_strTransId = s.GetColumnText(1, 1);
        u.m_strUserName = u.m_strTransId;
        u.m_strFirstName = s.GetColumnText(2, 1);
        u.m_strLastName = s.GetColumnText(3, 1);
        u.m_strInitials = s.GetColumnText(4, 1);
        u.m_strLocationCode = s.GetColumnText(5, 1);
        u.m_strDictationId = s.GetColumnText(6, 1);
        u.m_strMisNbr = s.GetColumnText(7, 1);
        u.Partition_ID(s.GetColumnLong(8));
        u.m_blnEnabled = true;
        u.m_blnNotPaxLet = true;
        rows.push_back(std::move(u));
    }
    if (rows.empty()) {
        platform::MsgBox(kNoneToUndelete, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, "Error");
        return false;
    }
    m_rows.swap(rows);
    m_lvwTranscriptionists->setSortingEnabled(false);
    m_lvwTranscriptionists->clear();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const clsUser& u = m_rows[i];
        auto* item = new QTreeWidgetItem(m_lvwTranscriptionists);
        const std::string texts[] = {u.m_strTransId,      u.m_strFirstName,   u.m_strLastName, u.m_strInitials,
                                     u.m_strLocationCode, u.m_strDictationId, u.m_strMisNbr,   u.Partition_Name()};
        for (int c = 0; c < 8; ++c)
            item->setText(c, QString::fromStdString(texts[c]));
        item->setData(0, Qt::UserRole, static_cast<qulonglong>(i));
    }
    m_lvwTranscriptionists->setSortingEnabled(true);
    return true;
}

void UA_User_Mgmt_Undelete::cmdOK_Click() {
    QTreeWidgetItem* item = m_lvwTranscriptionists->currentItem();
    if (!item)
        return;
    clsUser user = m_rows[static_cast<size_t>(item->data(0, Qt::UserRole).toULongLong())];
    if (!UndeleteTranscriptionist(user, m_users))
        return;
    m_lngRestoredUserId = user.m_lngUserId;
    accept();
}

} // namespace users
