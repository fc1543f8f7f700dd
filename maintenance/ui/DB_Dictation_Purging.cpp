#include "DB_Dictation_Purging.h"

#include "DB_Dictation_Purge_Edit.h"
#include "Interaction.h"
#include "LoginComponent.h"
#include "MessageService.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace maintenance {

using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

DB_Dictation_Purging::DB_Dictation_Purging(const suite::LoginComponent& accounts, std::string userName, QWidget* parent)
    : QDialog(parent), m_accounts(accounts), m_strUserName(std::move(userName)) {
    setObjectName("DB_Dictation_Purging");
    setWindowTitle("Dictation Purging Criteria");
    auto* root = new QVBoxLayout(this);
    auto* explanation = new QLabel(
        "The following criteria control which jobs are purged from the Veltra Dictation Server.   Only jobs that have "
        "been marked as completed will be considered for purging.  The purging process for Veltra dictation is "
        "performed by the Dictation Processor at the regular database purge time.",
        this);
    explanation->setWordWrap(true);
    root->addWidget(explanation);

    lvwPurgeCriteria = new QTreeWidget(this);
    lvwPurgeCriteria->setObjectName("lvwPurgeCriteria");
    lvwPurgeCriteria->setColumnCount(1);
    lvwPurgeCriteria->setHeaderLabels({"Description"});
    lvwPurgeCriteria->setRootIsDecorated(false);
    lvwPurgeCriteria->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwPurgeCriteria->setMinimumWidth(560);
    root->addWidget(lvwPurgeCriteria);

    auto* dateRow = new QHBoxLayout;
    cmbDateType = new QComboBox(this);
    cmbDateType->setObjectName("cmbDateType");
    cmbDateType->addItems({"Completed Date", "Dictated Date"});
    auto* dateLabel = new QLabel("Base purging on the following date type:", this);
    dateLabel->setBuddy(cmbDateType);
    dateRow->addWidget(dateLabel);
    dateRow->addWidget(cmbDateType);
    dateRow->addStretch();
    root->addLayout(dateRow);

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    cmdAdd = button("&Add", "cmdAdd");
    cmdEdit = button("&Edit", "cmdEdit");
    cmdDelete = button("De&lete", "cmdDelete");
    cmdDryRun = button("Dr&y Run", "cmdDryRun");
    cmdDryRun->setToolTip("How many completed jobs each rule, as shown, would queue now; nothing is queued");
    buttons->addStretch();
    cmdOK = button("OK", "cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = button("Cancel", "cmdCancel");
    root->addLayout(buttons);

    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAdd_Click(); });
    connect(cmdEdit, &QPushButton::clicked, this, [this] { cmdEdit_Click(); });
    connect(lvwPurgeCriteria, &QTreeWidget::itemDoubleClicked, this, [this] { cmdEdit_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { cmdDelete_Click(); });
    connect(cmdDryRun, &QPushButton::clicked, this, [this] { cmdDryRun_Click(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    connect(cmbDateType, &QComboBox::activated, this, [this] { m_blnChanged = true; });
}

bool DB_Dictation_Purging::ConfigureDictationPurging(const std::function<int(QDialog&)>& run) {
    m_blnSaved = false;
    if (!m_criteria.Load())
        return false;
    cmbDateType->setCurrentIndex(m_criteria.DateType() == 1 ? 1 : 0);
    FillList();
    run(*this);
    return m_blnSaved;
}

void DB_Dictation_Purging::FillList() {
    lvwPurgeCriteria->clear();
    for (const std::string& line : m_criteria.Descriptions(m_accounts))
        new QTreeWidgetItem(lvwPurgeCriteria, {QString::fromStdString(line)});
    if (lvwPurgeCriteria->topLevelItemCount() > 0)
        lvwPurgeCriteria->setCurrentItem(lvwPurgeCriteria->topLevelItem(0));
}

void DB_Dictation_Purging::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_blnWarned)
        return;
    m_blnWarned = true;
    const std::string warning = m_criteria.ObsoleteWarning(m_accounts);
    if (!warning.empty())
        MsgBox(warning, MsgButtons::OK, MsgIcon::Exclamation, "Obsolete Source Type");
}

void DB_Dictation_Purging::cmdAdd_Click() {
    clsDictationPurging added;
    if (!DB_Dictation_Purge_Edit::EditPurgingCriteria(added, true, m_accounts, this, runEditor))
        return;
    m_criteria.items.push_back(added);
    m_blnChanged = true;
    FillList();
}

void DB_Dictation_Purging::cmdEdit_Click() {
    const int row = lvwPurgeCriteria->indexOfTopLevelItem(lvwPurgeCriteria->currentItem());
    if (row < 0 || row >= static_cast<int>(m_criteria.items.size()))
        return;
    if (!DB_Dictation_Purge_Edit::EditPurgingCriteria(m_criteria.items[static_cast<size_t>(row)], false, m_accounts,
                                                      this, runEditor))
        return;
    m_blnChanged = true;
    FillList();
    lvwPurgeCriteria->setCurrentItem(lvwPurgeCriteria->topLevelItem(row));
}

void DB_Dictation_Purging::cmdDelete_Click() {
    const int row = lvwPurgeCriteria->indexOfTopLevelItem(lvwPurgeCriteria->currentItem());
    if (row < 0 || row >= static_cast<int>(m_criteria.items.size()))
        return;
    if (m_criteria.items[static_cast<size_t>(row)].IsDefault()) {
        MsgBox("Error.  The default criteria cannot be deleted.");
        return;
    }
    m_criteria.items.erase(m_criteria.items.begin() + row);
    m_blnChanged = true;
    FillList();
}

void DB_Dictation_Purging::cmdOK_Click() {
    platform::BusyPointer busy;
    if (!m_criteria.Save(cmbDateType->currentIndex() == 1 ? 1 : 0, m_strUserName))
        return;
    m_blnSaved = true;
    accept();
}

void DB_Dictation_Purging::cmdDryRun_Click() {
    // The rules as they stand in the list, with the date type chosen, as a save would write them.
    clsDictationPurgings trial = m_criteria;
    for (clsDictationPurging& c : trial.items)
        c.m_date_type = cmbDateType->currentIndex() == 1 ? 1 : 0;
    std::optional<std::vector<long>> counts;
    {
        platform::BusyPointer busy;
        counts = trial.DryRun();
    }
    if (!counts)
        return; // the session has shown the error
    const std::vector<std::string> lines = trial.Descriptions(m_accounts);
    std::string text = "Completed jobs each rule would queue for purging now (nothing has been queued):\n";
    for (size_t i = 0; i < lines.size() && i < counts->size(); ++i) {
        const long n = (*counts)[i];
        text += "\n" + lines[i] + ": " +
                (n < 0 ? std::string("none, the rule is removed on saving")
                       : std::to_string(n) + (n == 1 ? " job" : " jobs"));
    }
    MsgBox(text, MsgButtons::OK, MsgIcon::Information, "Dry Run");
}

void DB_Dictation_Purging::cmdCancel_Click() {
    reject();
}

void DB_Dictation_Purging::reject() {
    if (m_blnChanged &&
        MsgBox("You have made changes to the purging criteria. Are you sure you want to discard these changes?",
               MsgButtons::YesNo, MsgIcon::Question) != MsgAnswer::Yes)
        return;
    QDialog::reject();
}

} // namespace maintenance
