#include "UA_Import_Users.h"

#include "GenXWait.h"
#include "ImportPreviewModel.h"
#include "MessageService.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace users {

namespace {

constexpr const char* kTitle = "Import Users";

QPushButton* button(QWidget* parent, const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

std::string count(size_t n, const char* what) {
    return std::to_string(n) + " " + what;
}

} // namespace

UA_Import_Users::UA_Import_Users(const UserEditContext& context, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setObjectName("UA_Import_Users");
    setWindowTitle(kTitle);
    m_model = new ImportPreviewModel(this);

    auto* fileLabel = new QLabel("&File:", this);
    txtFile = new QLineEdit(this);
    txtFile->setObjectName("txtFile");
    fileLabel->setBuddy(txtFile);
    cmdBrowse = button(this, "cmdBrowse", "&Browse...");
    chkUpdateExisting = new QCheckBox("&Update users that already exist (otherwise they are skipped)", this);
    chkUpdateExisting->setObjectName("chkUpdateExisting");
    chkGeneratePasswords = new QCheckBox("&Generate passwords for new users without one", this);
    chkGeneratePasswords->setObjectName("chkGeneratePasswords");
    cmdPreview = button(this, "cmdPreview", "&Preview");
    lvwPreview = new QTableView(this);
    lvwPreview->setObjectName("lvwPreview");
    lvwPreview->setModel(m_model);
    lvwPreview->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwPreview->verticalHeader()->hide();
    lvwPreview->horizontalHeader()->setStretchLastSection(true);
    lblSummary = new QLabel(this);
    lblSummary->setObjectName("lblSummary");
    cmdImport = button(this, "cmdImport", "&Import");
    cmdImport->setEnabled(false);
    cmdClose = button(this, "cmdClose", "&Close");

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileLabel);
    fileRow->addWidget(txtFile, 1);
    fileRow->addWidget(cmdBrowse);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblSummary, 1);
    buttons->addWidget(cmdPreview);
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(chkUpdateExisting);
    layout->addWidget(chkGeneratePasswords);
    layout->addWidget(lvwPreview, 1);
    layout->addLayout(buttons);
    resize(760, 480);

    chooseFile = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, kTitle, QString(), "CSV files (*.csv *.txt);;All files (*)");
    };
    connect(cmdBrowse, &QPushButton::clicked, this, [this] {
        const QString path = chooseFile ? chooseFile(this) : QString();
        if (!path.isEmpty())
            SetFile(path);
    });
    connect(txtFile, &QLineEdit::textEdited, this, [this] { optionsChanged(); });
    connect(chkUpdateExisting, &QCheckBox::toggled, this, [this] { optionsChanged(); });
    connect(chkGeneratePasswords, &QCheckBox::toggled, this, [this] { optionsChanged(); });
    connect(cmdPreview, &QPushButton::clicked, this, [this] { cmdPreview_Click(); });
    connect(cmdImport, &QPushButton::clicked, this, [this] { cmdImport_Click(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
}

UA_Import_Users::~UA_Import_Users() = default;

void UA_Import_Users::SetFile(const QString& path) {
    txtFile->setText(path);
    optionsChanged();
}

// A preview holds for the file and the choices it was made with.
void UA_Import_Users::optionsChanged() {
    m_model->SetPreview(nullptr);
    m_preview = UserImportPreview{};
    m_summary = UserImportSummary{};
    cmdImport->setEnabled(false);
    lblSummary->clear();
}

bool UA_Import_Users::cmdPreview_Click() {
    optionsChanged();
    const std::string path = txtFile->text().toStdString();
    if (path.empty()) {
        platform::MsgBox("Please choose the file of users to import.", platform::MsgButtons::OK,
                         platform::MsgIcon::Exclamation, kTitle);
        return false;
    }
    UserImportSite site;
    {
        platform::BusyPointer busy;
        if (!LoadImportSite(site, Users(), m_groups, m_policies))
            return false;
    }
    site.context = m_context;
    UserImportOptions options;
    options.updateExisting = chkUpdateExisting->isChecked();
    options.generatePasswords = chkGeneratePasswords->isChecked();
    m_preview = PreviewUserImport(UserCsvReader::ReadFile(path), site, options);
    if (!m_preview.error.empty()) {
        platform::MsgBox(m_preview.error, platform::MsgButtons::OK, platform::MsgIcon::Exclamation, kTitle);
        return false;
    }
    m_model->SetPreview(&m_preview.rows);
    const size_t toWrite = m_preview.Count(ImportOutcome::New) + m_preview.Count(ImportOutcome::Update);
    lblSummary->setText(QString::fromStdString(
        count(m_preview.Count(ImportOutcome::New), "new") + ", " +
        count(m_preview.Count(ImportOutcome::Update), "to update") + ", " +
        count(m_preview.Count(ImportOutcome::Skip), "skipped") + ", " +
        count(m_preview.Count(ImportOutcome::Error), m_preview.Count(ImportOutcome::Error) == 1 ? "error" : "errors")));
    cmdImport->setEnabled(toWrite > 0);
    return true;
}

bool UA_Import_Users::cmdImport_Click() {
    const size_t total = m_preview.Count(ImportOutcome::New) + m_preview.Count(ImportOutcome::Update);
    if (total == 0)
        return false;
    cmdImport->setEnabled(false);
    auto& wait = platform::GenXWait::instance();
    wait.WaitOn("Importing users...", 1, 0, 0);
    m_summary = RunUserImport(
        m_preview.rows,
        [&](size_t done, size_t all) {
            if (done > 0 && afterEachUser)
                afterEachUser(done);
            wait.SetProgress(static_cast<int>(done), static_cast<int>(all));
            wait.setMessage("Importing users... " + std::to_string(done) + " of " + std::to_string(all));
            wait.processEvents();
            return !wait.isCancelled();
        },
        Users(), m_groups);
    wait.WaitOff();
    m_model->SetResults(&m_summary);
    showSummary();
    return true;
}

void UA_Import_Users::showSummary() {
    m_resultPath = ImportResultPath(txtFile->text().toStdString());
    std::string text = count(m_summary.added, "added") + ", " + count(m_summary.updated, "updated") + ", " +
                       count(m_summary.skipped, "skipped") + ", " + count(m_summary.refused, "refused") + ", " +
                       count(m_summary.failed, "failed");
    if (m_summary.cancelled)
        text += ", " + count(m_summary.notImported, "not imported (cancelled)");
    lblSummary->setText(QString::fromStdString(text));
    text = "The import is finished: " + text + ".\n\n";
    if (WriteImportResult(m_resultPath, m_preview.rows, m_summary)) {
        text += "The result was saved as " + m_resultPath + ".";
    } else {
        text += "The result could not be saved as " + m_resultPath + ".";
        m_resultPath.clear();
    }
    platform::MsgBox(text, platform::MsgButtons::OK,
                     m_summary.failed ? platform::MsgIcon::Exclamation : platform::MsgIcon::Information, kTitle);
}

} // namespace users
