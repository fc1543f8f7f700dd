#include "AC_Select.h"

#include "modPartition.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace accounts {

AC_Select::AC_Select(QWidget* parent) : QDialog(parent) {
    setObjectName("AC_Select");
    lstValues = new QListWidget(this);
    lstValues->setObjectName("lstValues");
    auto* box = new QDialogButtonBox(this);
    QPushButton* ok = box->addButton("&OK", QDialogButtonBox::AcceptRole);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    QPushButton* cancel = box->addButton("&Cancel", QDialogButtonBox::RejectRole);
    cancel->setObjectName("cmdCancel");
    connect(ok, &QPushButton::clicked, this, [this] {
        m_blnSaved = true;
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, [this] {
        m_blnSaved = false;
        reject();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstValues);
    layout->addWidget(box);
}

void AC_Select::SetValues(const QString& caption, const std::vector<std::string>& values) {
    setWindowTitle(caption);
    lstValues->clear();
    for (const auto& v : values) {
        auto* item = new QListWidgetItem(QString::fromStdString(v), lstValues);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void AC_Select::SetSelectedFilters(const std::string& filters) {
    for (int i = 0; i < lstValues->count(); ++i) {
        QListWidgetItem* item = lstValues->item(i);
        item->setCheckState(physicians::IsInList(filters, item->text().toStdString()) ? Qt::Checked : Qt::Unchecked);
    }
}

std::string AC_Select::FetchFilterString() const {
    std::string out;
    for (int i = 0; i < lstValues->count(); ++i)
        if (lstValues->item(i)->checkState() == Qt::Checked)
            out += (out.empty() ? "" : ",") + lstValues->item(i)->text().toStdString();
    return out;
}

} // namespace accounts
