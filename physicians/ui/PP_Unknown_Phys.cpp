#include "PP_Unknown_Phys.h"

#include "ExportList.h"
#include "LoginComponent.h"
#include "PP_Unknown_Details.h"
#include "UnknownPhysicianModel.h"
#include "modPhysicianList.h"
#include "modUnknownPhysicians.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <set>

namespace physicians {

namespace {

enum Column { Value, LastUser, LastDate, LastTime, Reports };

// "mm/dd/yyyy" sorts as "yyyymmdd".
QString dateKey(const std::string& mdy) {
    if (mdy.size() != 10)
        return QString::fromStdString(mdy);
    return QString::fromStdString(mdy.substr(6, 4) + mdy.substr(0, 2) + mdy.substr(3, 2));
}

} // namespace

PP_Unknown_Phys::PP_Unknown_Phys(suite::LoginComponent& login, QWidget* parent)
    : QWidget(parent), m_login(login),
      m_model(
          new UnknownPhysicianModel({"Unknown Physician", "Last User", "Last Date", "Last Time", "Reports"}, this)) {
    setObjectName("PP_Unknown_Phys");
    setWindowTitle("Manage Unknown Physicians");
    auto* layout = new QVBoxLayout(this);
    chkLogging = new QCheckBox("&Log unknown physicians", this);
    chkLogging->setObjectName("chkLogging");
    layout->addWidget(chkLogging);
    lvwPhysicians = new QTableView(this);
    lvwPhysicians->setObjectName("lvwPhysicians");
    lvwPhysicians->setModel(m_model);
    lvwPhysicians->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwPhysicians->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvwPhysicians->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwPhysicians->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    lvwPhysicians->setSortingEnabled(true);
    lvwPhysicians->verticalHeader()->setVisible(false);
    layout->addWidget(lvwPhysicians, 1);
    lblCount = new QLabel(this);
    lblCount->setObjectName("lblCount");
    layout->addWidget(lblCount);

    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](QPushButton*& b, const char* caption, const char* name,
                                        void (PP_Unknown_Phys::*slot)()) {
        b = new QPushButton(caption, this);
        b->setObjectName(name);
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
    };
    button(cmdAdd, "&Add Physician...", "cmdAdd", &PP_Unknown_Phys::cmdAdd_Click);
    button(cmdDelete, "&Delete", "cmdDelete", &PP_Unknown_Phys::cmdDelete_Click);
    button(cmdClear, "C&lear List", "cmdClear", &PP_Unknown_Phys::cmdClear_Click);
    button(cmdDetails, "De&tails...", "cmdDetails", &PP_Unknown_Phys::cmdDetails_Click);
    button(BExport, "E&xport", "BExport", &PP_Unknown_Phys::BExport_Click);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    connect(chkLogging, &QCheckBox::clicked, this, &PP_Unknown_Phys::chkLogging_Click);
    connect(lvwPhysicians, &QTableView::doubleClicked, this, &PP_Unknown_Phys::cmdDetails_Click);

    // The list is read once the window is up, so that it appears before the wait.
    tmrShow = new QTimer(this);
    tmrShow->setObjectName("tmrShow");
    tmrShow->setSingleShot(true);
    tmrShow->setInterval(0);
    connect(tmrShow, &QTimer::timeout, this, [this] { ShowUnknownPhysicians(); });

    runDetails = [](QWidget& details) { static_cast<QDialog&>(details).exec(); };
}

void PP_Unknown_Phys::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous())
        tmrShow->start();
}

bool PP_Unknown_Phys::ShowUnknownPhysicians() {
    chkLogging->setChecked(UnknownPhysicianLogging());
    chkLogging->setEnabled(m_login.user.is_administrator);
    std::vector<UnknownPhysician> list;
    const bool ok = LoadUnknownPhysicians(HospAccountsVisibleToUser(), list);
    std::vector<UnknownPhysicianModel::Row> rows;
    rows.reserve(list.size());
    for (const auto& u : list) {
        UnknownPhysicianModel::Row row;
        row.texts = {QString::fromStdString(u.value), QString::fromStdString(u.lastUser),
                     QString::fromStdString(u.lastDate), QString::fromStdString(u.lastTime),
                     QString::number(u.reports)};
        row.keys = {row.texts[Value].toLower(), row.texts[LastUser].toLower(),
                    dateKey(u.lastDate) + row.texts[LastTime], row.texts[LastTime], static_cast<qlonglong>(u.reports)};
        rows.push_back(std::move(row));
    }
    m_model->setRows(std::move(rows));
    lvwPhysicians->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    lblCount->setText("Number of unknown physicians: " + QString::number(m_model->rowCount()));
    return ok;
}

std::vector<std::string> PP_Unknown_Phys::selectedValues() const {
    std::set<int> rows;
    for (const QModelIndex& i : lvwPhysicians->selectionModel()->selectedRows())
        rows.insert(i.row());
    std::vector<std::string> out;
    for (int row : rows)
        out.push_back(m_model->rowAt(row).texts[Value].toStdString());
    return out;
}

void PP_Unknown_Phys::cmdAdd_Click() {
    const QModelIndex current = lvwPhysicians->selectionModel()->currentIndex();
    const auto selected = selectedValues();
    if (selected.empty())
        return;
    const std::string value = current.isValid() && lvwPhysicians->selectionModel()->isRowSelected(current.row())
                                  ? m_model->rowAt(current.row()).texts[Value].toStdString()
                                  : selected.front();
    if (addPhysician && addPhysician(value) && DeleteUnknownPhysician(value))
        ShowUnknownPhysicians();
}

void PP_Unknown_Phys::cmdDelete_Click() {
    const auto values = selectedValues();
    if (values.empty())
        return;
    for (const auto& v : values)
        if (!DeleteUnknownPhysician(v))
            break;
    ShowUnknownPhysicians();
}

void PP_Unknown_Phys::cmdClear_Click() {
    if (ClearUnknownPhysicians())
        ShowUnknownPhysicians();
}

void PP_Unknown_Phys::cmdDetails_Click() {
    const QModelIndex current = lvwPhysicians->selectionModel()->currentIndex();
    if (!current.isValid())
        return;
    ShowPhysicianDetails(m_model->rowAt(current.row()).texts[Value].toStdString());
}

void PP_Unknown_Phys::ShowPhysicianDetails(const std::string& value) {
    PP_Unknown_Details details(this);
    details.ShowPhysicianDetails(value);
    if (runDetails)
        runDetails(details);
}

void PP_Unknown_Phys::BExport_Click() {
    foundation::ExportList(lvwPhysicians);
}

void PP_Unknown_Phys::chkLogging_Click() {
    const bool on = chkLogging->isChecked();
    if (!SetUnknownPhysicianLogging(on))
        chkLogging->setChecked(!on);
}

} // namespace physicians
