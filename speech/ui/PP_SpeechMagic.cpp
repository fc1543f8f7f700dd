#include "PP_SpeechMagic.h"

#include "DatabaseSession.h"
#include "Desktop.h"
#include "Interaction.h"
#include "MessageService.h"
#include "PP_AddSpeechMagic.h"
#include "SpeechCodes.h"
#include "SpeechContexts.h"
#include "SpeechUserModel.h"
#include "modSpeechMagic.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace speech {

namespace {
constexpr const char* kNotInstalled = "SpeechMagic is not installed on this workstation.";
}

PP_SpeechMagic::PP_SpeechMagic(const std::string& firstName, const std::string& lastName, const std::string& userName,
                               QWidget* parent)
    : QDialog(parent), m_strFirstName(firstName), m_strLastName(lastName), m_strUserName(userName),
      m_model(new SpeechUserModel(this)) {
    setObjectName("PP_SpeechMagic");
    setWindowTitle("SpeechMagic Users");
    lvwUsers = new QTreeView(this);
    lvwUsers->setObjectName("lvwUsers");
    lvwUsers->setModel(m_model);
    lvwUsers->setRootIsDecorated(false);
    lvwUsers->setUniformRowHeights(true);
    lvwUsers->setSelectionMode(QAbstractItemView::SingleSelection);
    txtFilter = new QLineEdit(this);
    txtFilter->setObjectName("txtFilter");
    txtFilter->setPlaceholderText("Type to filter");
    chkUnassigned = new QCheckBox("&Unassigned only", this);
    chkUnassigned->setObjectName("chkUnassigned");
    lstContexts = new QListWidget(this);
    lstContexts->setObjectName("lstContexts");
    const auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    cmdAdd = button("cmdAdd", "&Add...");
    cmdDelete = button("cmdDelete", "&Delete");
    cmdProperties = button("cmdProperties", "&Properties...");
    cmdSMAdmin = button("cmdSMAdmin", "SpeechMagic Ad&min...");
    BOK = button("BOK", "OK");
    BOK->setDefault(true);
    BCancel = button("BCancel", "Cancel");
    lblStatus = new QLabel(this);
    lblStatus->setObjectName("lblStatus");
    tmrLoadUsers = new QTimer(this);
    tmrLoadUsers->setObjectName("tmrLoadUsers");
    tmrLoadUsers->setSingleShot(true);
    tmrLoadUsers->setInterval(0);

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(txtFilter);
    filterRow->addWidget(chkUnassigned);
    auto* left = new QVBoxLayout;
    left->addLayout(filterRow);
    left->addWidget(lvwUsers, 1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(new QLabel("ConTexts:", this));
    middle->addWidget(lstContexts, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdDelete, cmdProperties, cmdSMAdmin})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(BOK);
    buttons->addWidget(BCancel);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 3);
    top->addLayout(middle, 2);
    top->addLayout(buttons);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top, 1);
    all->addWidget(lblStatus);
    resize(640, 420);

    connect(tmrLoadUsers, &QTimer::timeout, this, &PP_SpeechMagic::tmrLoadUsers_Timer);
    connect(cmdAdd, &QPushButton::clicked, this, &PP_SpeechMagic::cmdAdd_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &PP_SpeechMagic::cmdDelete_Click);
    connect(cmdProperties, &QPushButton::clicked, this, &PP_SpeechMagic::cmdProperties_Click);
    connect(cmdSMAdmin, &QPushButton::clicked, this, &PP_SpeechMagic::cmdSMAdmin_Click);
    connect(BOK, &QPushButton::clicked, this, &PP_SpeechMagic::BOK_Click);
    connect(BCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstContexts, &QListWidget::itemChanged, this, &PP_SpeechMagic::lstContexts_ItemChanged);
    connect(lvwUsers->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { showSelectedUser(); });
    const auto refilter = [this] {
        const std::string keep = selectedUser();
        m_model->setFilter(txtFilter->text(), chkUnassigned->isChecked());
        const int row = m_model->rowOf(keep);
        if (row >= 0)
            lvwUsers->setCurrentIndex(m_model->index(row, 0));
    };
    connect(txtFilter, &QLineEdit::textChanged, this, refilter);
    connect(chkUnassigned, &QCheckBox::toggled, this, refilter);
    enableButtons(false);
}

PP_SpeechMagic::~PP_SpeechMagic() = default;

bool PP_SpeechMagic::GetSMUser(const std::string& firstName, const std::string& lastName, std::string& userName,
                               bool& contextsChanged, QWidget* parent) {
    contextsChanged = false;
    if (!CheckSMInstall()) {
        const auto& error = SpeechMagic().lastError;
        platform::MsgBox(error ? error->message() : kNotInstalled, platform::MsgButtons::OK,
                         error ? platform::MsgIcon::Critical : platform::MsgIcon::Information);
        return false;
    }
    PP_SpeechMagic dialog(firstName, lastName, userName, parent);
    const bool ok = dialog.exec() == QDialog::Accepted;
    contextsChanged = dialog.contextsChanged();
    if (ok)
        userName = dialog.chosenUserName();
    return ok;
}

void PP_SpeechMagic::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_blnLoaded)
        tmrLoadUsers->start();
}

void PP_SpeechMagic::done(int result) {
    tmrLoadUsers->stop();
    DetachSM();
    QDialog::done(result);
}

void PP_SpeechMagic::setStatus(const QString& text) {
    lblStatus->setText(text);
    lblStatus->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void PP_SpeechMagic::enableButtons(bool enabled) {
    for (QPushButton* b : {cmdAdd, cmdDelete, cmdProperties, cmdSMAdmin, BOK})
        b->setEnabled(enabled);
}

void PP_SpeechMagic::tmrLoadUsers_Timer() {
    if (m_blnLoaded)
        return;
    m_blnLoaded = true;
    enableButtons(false);
    setStatus("Connecting to SpeechMagic");
    platform::BusyPointer busy;
    if (const int code = AttachSM(); code != 0) {
        setStatus(QString::fromStdString(SMErrorText(code)));
        return;
    }
    setStatus("Retrieving Users");
    auto& s = SpeechMagic();
    std::vector<std::string> names;
    std::string name;
    int code = 0;
    for (std::string previous; (code = s.library.nextUserName(s.handle, previous, name)) == 0; previous = name) {
        names.push_back(name);
        if (names.size() % 512 == 0)
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    std::string problem = code == kErrRetrievalFinished ? std::string() : SMErrorText(code);
    std::map<std::string, std::string> holders;
    if (foundation::DatabaseSession::instance().SQLConnected)
        LoadSpeechUserHolders(holders);
    m_model->setUsers(std::move(names), holders);
    lvwUsers->resizeColumnToContents(0);

    m_blnFilling = true;
    lstContexts->clear();
    std::string context;
    for (std::string previous; (code = s.library.nextContextName(s.handle, previous, context)) == 0;
         previous = context) {
        auto* item = new QListWidgetItem(QString::fromStdString(context), lstContexts);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_blnFilling = false;
    if (problem.empty() && code != kErrRetrievalFinished)
        problem = SMErrorText(code);
    setStatus(QString::fromStdString(problem));
    enableButtons(true);

    if (m_strUserName.empty())
        return;
    const int row = m_model->rowOf(m_strUserName);
    if (row >= 0) {
        lvwUsers->setCurrentIndex(m_model->index(row, 0));
        return;
    }
    if (platform::MsgBox("The specified user was not found.  \r\nDo you wish to add " + m_strUserName +
                             " to SpeechMagic?",
                         platform::MsgButtons::YesNo, platform::MsgIcon::Question) == platform::MsgAnswer::Yes)
        addUser(m_strUserName);
}

std::string PP_SpeechMagic::selectedUser() const {
    const SpeechUserModel::Entry* e = m_model->entryAt(lvwUsers->currentIndex().row());
    return e && !e->deleted ? e->name : std::string();
}

void PP_SpeechMagic::showSelectedUser() {
    m_blnFilling = true;
    for (int i = 0; i < lstContexts->count(); ++i)
        lstContexts->item(i)->setCheckState(Qt::Unchecked);
    m_blnFilling = false;
    const std::string user = selectedUser();
    if (user.empty())
        return;
    auto& s = SpeechMagic();
    SMUserProperties props;
    if (const int code = s.library.userInfo(s.handle, user, props); code != 0) {
        setStatus(QString::fromStdString(SMErrorText(code)));
        return;
    }
    m_blnFilling = true;
    for (int i = 0; i < lstContexts->count(); ++i) {
        const std::string name = lstContexts->item(i)->text().toStdString();
        const bool installed = std::find(props.contexts.begin(), props.contexts.end(), name) != props.contexts.end();
        lstContexts->item(i)->setCheckState(installed ? Qt::Checked : Qt::Unchecked);
    }
    m_blnFilling = false;
    lblStatus->clear();
}

void PP_SpeechMagic::lstContexts_ItemChanged(QListWidgetItem* item) {
    if (m_blnFilling)
        return;
    m_blnFilling = true;
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    m_blnFilling = false;
    platform::MsgBox("Add or delete ConTexts through the Properties dialog.", platform::MsgButtons::OK,
                     platform::MsgIcon::Information);
}

std::string PP_SpeechMagic::ProposedUserName(const std::string& firstName, const std::string& lastName) {
    std::string name;
    const auto keep = [&name](char c) {
        if (name.size() < 16 && ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            name += c;
    };
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    for (char c : firstName) {
        if ((upper(c) >= 'A' && upper(c) <= 'Z')) {
            keep(upper(c));
            break;
        }
    }
    for (char c : lastName)
        keep(upper(c));
    return name;
}

void PP_SpeechMagic::cmdAdd_Click() {
    addUser(ProposedUserName(m_strFirstName, m_strLastName));
}

void PP_SpeechMagic::addUser(const std::string& proposed) {
    std::string created;
    bool changed = false;
    if (!PP_AddSpeechMagic::AddSMUser(proposed, created, changed, this))
        return;
    m_blnContextsChanged = m_blnContextsChanged || changed;
    const int row = m_model->addUser(created);
    if (row >= 0)
        lvwUsers->setCurrentIndex(m_model->index(row, 0));
}

void PP_SpeechMagic::cmdProperties_Click() {
    const std::string user = selectedUser();
    if (user.empty())
        return;
    bool changed = false;
    PP_AddSpeechMagic::UserProperties(user, changed, this);
    m_blnContextsChanged = m_blnContextsChanged || changed;
    showSelectedUser();
}

void PP_SpeechMagic::cmdDelete_Click() {
    const std::string user = selectedUser();
    if (user.empty())
        return;
    if (platform::MsgBox("Are you sure you want to delete " + user + "?", platform::MsgButtons::YesNo,
                         platform::MsgIcon::Question, "Delete SpeechMagic User") != platform::MsgAnswer::Yes)
        return;
    auto& s = SpeechMagic();
    SMInstallRequest request;
    request.action = SMInstallAction::RemoveUser;
    platform::BusyPointer busy;
    if (const int code = s.library.installUser(s.handle, user, request); code != 0) {
        platform::MsgBox("Unable to delete " + user + ". " + SMErrorText(code), platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation);
        return;
    }
    m_blnContextsChanged = true;
    m_model->markDeleted(lvwUsers->currentIndex().row());
    showSelectedUser();
}

void PP_SpeechMagic::cmdSMAdmin_Click() {
    const std::string& program = SpeechMagic().adminProgramPath;
    if (!platform::startDetached({program}))
        platform::MsgBox("Unable to start " + program + ".", platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                         "SpeechMagic Administration");
}

void PP_SpeechMagic::BOK_Click() {
    m_strChosen = selectedUser();
    if (m_blnContextsChanged)
        platform::MsgBox("User ConTexts have been added or deleted.  It may be necessary to restart the \r\n"
                         "ConText Adaptation Server in order for these changes to take effect.",
                         platform::MsgButtons::OK, platform::MsgIcon::Information);
    accept();
}

} // namespace speech
