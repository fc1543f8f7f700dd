#include "frmWorkTime.h"

#include "LoginComponent.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace suite {

frmWorkTime::frmWorkTime(LoginComponent& login, const QString& day, QWidget* parent)
    : QDialog(parent), m_login(login), m_day(day) {
    setObjectName("frmWorkTime");
    setWindowTitle("Edit Work Time - " + day);
    m_entries = new QTreeWidget(this);
    m_entries->setObjectName("lvwActivities");
    m_entries->setHeaderLabels({"Activity", "Start", "End"});
    m_entries->setRootIsDecorated(false);
    m_type = new QComboBox(this);
    m_type->setObjectName("cboActivity");
    for (const auto& [type, description] : login.WorkTimeTypes())
        m_type->addItem(QString::fromStdString(description), type);
    m_start = new QLineEdit(this);
    m_start->setObjectName("txtStart");
    m_start->setPlaceholderText("HH:MM");
    m_end = new QLineEdit(this);
    m_end->setObjectName("txtEnd");
    m_end->setPlaceholderText("HH:MM (blank while ongoing)");
    m_message = new QLabel(this);
    m_message->setObjectName("lblMessage");
    m_message->setWordWrap(true);
    auto* add = new QPushButton("&Add", this);
    add->setObjectName("cmdAdd");
    connect(add, &QPushButton::clicked, this, &frmWorkTime::cmdAdd_Click);
    auto* form = new QFormLayout;
    form->addRow("&Activity:", m_type);
    form->addRow("&Start:", m_start);
    form->addRow("&End:", m_end);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Close, this);
    box->button(QDialogButtonBox::Close)->setObjectName("cmdClose");
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_entries);
    layout->addLayout(form);
    layout->addWidget(add, 0, Qt::AlignRight);
    layout->addWidget(m_message);
    layout->addWidget(box);
    reload();
}

void frmWorkTime::reload() {
    m_entries->clear();
    for (const auto& e : m_login.WorkTimeEntries(m_day.toStdString()))
        new QTreeWidgetItem(m_entries, {QString::fromStdString(e.description), QString::fromStdString(e.start),
                                        QString::fromStdString(e.end)});
}

void frmWorkTime::cmdAdd_Click() {
    if (m_type->currentIndex() < 0) {
        m_message->setText("No activity types are offered on the work hours sheet.");
        return;
    }
    const std::string start = (m_day + " " + m_start->text().trimmed()).toStdString();
    const std::string end =
        m_end->text().trimmed().isEmpty() ? std::string() : (m_day + " " + m_end->text().trimmed()).toStdString();
    const std::string problem = m_login.AddWorkTime(m_type->currentData().toInt(), start, end);
    m_message->setText(QString::fromStdString(problem));
    if (problem.empty()) {
        m_start->clear();
        m_end->clear();
        reload();
    }
}

} // namespace suite
