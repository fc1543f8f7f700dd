#include "PartitionPicker.h"

#include "clsPartition.h"
#include "modPartition.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace physicians {

PartitionPicker::PartitionPicker(const char* name, const QString& title, const QString& prompt, QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(title);
    cboPartition = new QComboBox(this);
    cboPartition->setObjectName("cboPartition");
    cboPartition->setMinimumContentsLength(30);
    auto* label = new QLabel(prompt, this);
    label->setBuddy(cboPartition);
    auto* box = new QDialogButtonBox(this);
    cmdOK = box->addButton("&OK", QDialogButtonBox::AcceptRole);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    QPushButton* cancel = box->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cmdCancel");
    connect(cmdOK, &QPushButton::clicked, this, &PartitionPicker::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &PartitionPicker::cmdCancel_Click);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(cboPartition);
    layout->addWidget(box);
}

void PartitionPicker::fill(const std::string& list, long preselectId) {
    cboPartition->clear();
    int preselect = 0;
    for (const clsPartition& p : PartitionCache()) {
        if (!IsInList(list, std::to_string(p.Partition_ID())))
            continue;
        if (p.Partition_ID() == preselectId)
            preselect = cboPartition->count();
        cboPartition->addItem(QString::fromStdString(p.Partition_Name()), QVariant::fromValue(p.Partition_ID()));
    }
    cboPartition->setCurrentIndex(cboPartition->count() ? preselect : -1);
    cmdOK->setEnabled(cboPartition->count() > 0);
}

long PartitionPicker::selectedId() const {
    return cboPartition->currentData().value<long>();
}

bool PartitionPicker::pick() {
    m_blnOK = false;
    cboPartition->setFocus();
    exec();
    return m_blnOK;
}

void PartitionPicker::cmdOK_Click() {
    m_blnOK = true;
    hide();
    done(Accepted);
}

void PartitionPicker::cmdCancel_Click() {
    m_blnOK = false;
    hide();
    done(Rejected);
}

} // namespace physicians
