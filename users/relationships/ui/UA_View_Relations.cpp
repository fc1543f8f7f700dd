#include "UA_View_Relations.h"

#include "RelationView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace users {

namespace {

QTreeWidget* relationList(const char* name, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setHeaderLabels({"Name", "Type", "Access", "Level", "Required", "Start Date", "Expiration Date"});
    return list;
}

void fill(QTreeWidget* list, const std::vector<RelationViewRow>& rows) {
    list->clear();
    for (const auto& r : rows) {
        auto* item = new QTreeWidgetItem(list);
        int c = 0;
        for (const std::string* text : {&r.name, &r.type, &r.access, &r.level, &r.required, &r.start, &r.expire})
            item->setText(c++, QString::fromStdString(*text));
    }
}

} // namespace

UA_View_Relations::UA_View_Relations(QWidget* parent) : QDialog(parent) {
    setObjectName("UA_View_Relations");
    setWindowTitle("View Relationships");
    m_lblOutward = new QLabel(this);
    m_lblOutward->setObjectName("lblOutward");
    m_lvwOutward = relationList("lvwOutward", this);
    m_lblOutward->setBuddy(m_lvwOutward);
    m_lblInward = new QLabel(this);
    m_lblInward->setObjectName("lblInward");
    m_lvwInward = relationList("lvwInward", this);
    m_lblInward->setBuddy(m_lvwInward);
    auto* close = new QPushButton("&Close", this);
    close->setObjectName("cmdClose");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lblOutward);
    layout->addWidget(m_lvwOutward, 1);
    layout->addWidget(m_lblInward);
    layout->addWidget(m_lvwInward, 1);
    layout->addLayout(buttons);
    resize(720, 480);
}

bool UA_View_Relations::LoadForm(long physicianId, const std::string& name) {
    m_lblOutward->setText(QString::fromStdString(name + " --> Others"));
    m_lblInward->setText(QString::fromStdString("Others --> " + name));
    std::vector<RelationViewRow> outward, inward;
    if (!LoadRelationView(physicianId, outward, inward))
        return false;
    fill(m_lvwOutward, outward);
    fill(m_lvwInward, inward);
    return true;
}

} // namespace users
