#include "UA_Printer_Privs.h"

#include "DatabaseSession.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace users {

namespace {

QPushButton* button(const char* name, const char* caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// The groups the user belongs to, for their read-only rights.
std::vector<long> groupsOf(long userId) {
    auto& s = foundation::DatabaseSession::instance();
    s.SQLStatement =
        "SELECT SSG.group_id FROM System_security_groups SSG, System_user_bindery SUB WHERE SSG.user_id = " +
        std::to_string(userId) + " AND SUB.user_id = SSG.group_id AND SUB.flag3 > 0 ORDER BY SSG.group_id";
    std::vector<long> ids;
    if (s.ExecSQL() == 1)
        while (s.FetchRow() == 1)
            ids.push_back(s.GetColumnLong(1));
    return ids;
}

} // namespace

UA_Printer_Privs::UA_Printer_Privs(QWidget* parent) : QDialog(parent) {
    setObjectName("UA_Printer_Privs");
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    m_rowsHolder = new QWidget;
    m_grid = new QGridLayout(m_rowsHolder);
    m_grid->addWidget(new QLabel("Printer", m_rowsHolder), 0, 0);
    m_grid->addWidget(new QLabel("Copies", m_rowsHolder), 0, 1);
    m_grid->addWidget(new QLabel("Originals", m_rowsHolder), 0, 2);
    m_grid->addWidget(new QLabel("Group Copies", m_rowsHolder), 0, 3);
    m_grid->addWidget(new QLabel("Group Originals", m_rowsHolder), 0, 4);
    m_grid->setColumnStretch(0, 1);
    scroll->setWidget(m_rowsHolder);

    auto* selectAll = button("cmdSelectAll", "&Select All", this);
    auto* clearAll = button("cmdClearAll", "C&lear All", this);
    auto* ok = button("cmdOK", "&OK", this);
    auto* cancel = button("cmdCancel", "&Cancel", this);
    ok->setDefault(true);
    connect(selectAll, &QPushButton::clicked, this, &UA_Printer_Privs::cmdSelectAll_Click);
    connect(clearAll, &QPushButton::clicked, this, &UA_Printer_Privs::cmdClearAll_Click);
    connect(ok, &QPushButton::clicked, this, &UA_Printer_Privs::cmdOK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(selectAll);
    buttons->addWidget(clearAll);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
    layout->addLayout(buttons);
    resize(560, 420);
}

bool UA_Printer_Privs::LoadForm(long id, const std::string& name, bool isGroup, long partitionId,
                                bool partitionsInUse) {
    m_blnIsGroup = isGroup;
    setWindowTitle(QString::fromStdString("System Printer Privileges: " + name));
    const std::vector<long> groups = isGroup ? std::vector<long>{} : groupsOf(id);
    if (!m_privileges.Load(id, name, isGroup, partitionId, groups, partitionsInUse))
        return false;
    for (const Row& r : m_rows)
        for (QCheckBox* b : {r.copies, r.originals, r.copiesGroup, r.originalsGroup})
            delete b;
    m_rows.clear();
    int gridRow = 1;
    for (const auto& p : m_privileges.Printers()) {
        auto* label = new QLabel(QString::fromStdString(p.m_strName), m_rowsHolder);
        label->setObjectName("lblPrinter");
        Row r;
        r.copies = new QCheckBox(m_rowsHolder);
        r.copies->setObjectName("chkCopies");
        r.copies->setAccessibleName(QString::fromStdString(p.m_strName + " copies"));
        r.originals = new QCheckBox(m_rowsHolder);
        r.originals->setObjectName("chkOriginals");
        r.originals->setAccessibleName(QString::fromStdString(p.m_strName + " originals"));
        r.copiesGroup = new QCheckBox(m_rowsHolder);
        r.copiesGroup->setObjectName("chkCopiesGroup");
        r.originalsGroup = new QCheckBox(m_rowsHolder);
        r.originalsGroup->setObjectName("chkOriginalsGroup");
        for (QCheckBox* g : {r.copiesGroup, r.originalsGroup}) {
            g->setEnabled(false);
            g->setFocusPolicy(Qt::NoFocus);
            g->setVisible(!isGroup);
        }
        m_grid->addWidget(label, gridRow, 0);
        m_grid->addWidget(r.copies, gridRow, 1);
        m_grid->addWidget(r.originals, gridRow, 2);
        m_grid->addWidget(r.copiesGroup, gridRow, 3);
        m_grid->addWidget(r.originalsGroup, gridRow, 4);
        const size_t index = m_rows.size();
        connect(r.copies, &QCheckBox::toggled, this,
                [this, index](bool on) { m_privileges.Printers()[index].m_blnCopyAccess = on; });
        connect(r.originals, &QCheckBox::toggled, this,
                [this, index](bool on) { m_privileges.Printers()[index].m_blnOriginalAccess = on; });
        m_rows.push_back(r);
        ++gridRow;
    }
    m_grid->setRowStretch(gridRow, 1);
    showRows();
    return true;
}

void UA_Printer_Privs::showRows() {
    const auto& printers = m_privileges.Printers();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const QSignalBlocker b1(m_rows[i].copies), b2(m_rows[i].originals);
        m_rows[i].copies->setChecked(printers[i].m_blnCopyAccess);
        m_rows[i].originals->setChecked(printers[i].m_blnOriginalAccess);
        m_rows[i].copiesGroup->setChecked(printers[i].m_blnGroupCopyAccess);
        m_rows[i].originalsGroup->setChecked(printers[i].m_blnGroupOriginalAccess);
    }
}

QCheckBox* UA_Printer_Privs::RowBox(const char* control, int row) const {
    if (row < 0 || static_cast<size_t>(row) >= m_rows.size())
        return nullptr;
    const Row& r = m_rows[static_cast<size_t>(row)];
    for (QCheckBox* b : {r.copies, r.originals, r.copiesGroup, r.originalsGroup})
        if (b->objectName() == control)
            return b;
    return nullptr;
}

void UA_Printer_Privs::cmdSelectAll_Click() {
    m_privileges.SetAll(true);
    showRows();
}

void UA_Printer_Privs::cmdClearAll_Click() {
    m_privileges.SetAll(false);
    showRows();
}

void UA_Printer_Privs::cmdOK_Click() {
    if (m_privileges.Save())
        accept();
}

} // namespace users
