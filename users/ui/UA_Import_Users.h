#pragma once

#include "UserEditRules.h"
#include "UserImportRun.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace users {

class ImportPreviewModel;

// "Import Users": previews a CSV file of users line by line with the user editor's rules, then
// writes the lines it accepted through the user store under the wait window, and saves what
// happened as CSV beside the file.
class UA_Import_Users : public QDialog {
    Q_OBJECT
public:
    explicit UA_Import_Users(const UserEditContext& context, QWidget* parent = nullptr);
    ~UA_Import_Users() override;

    void SetFile(const QString& path);
    // Reads and checks the file; false when it was refused as a whole (the reason was shown).
    bool cmdPreview_Click();
    // Writes the accepted lines; false when there was nothing to write.
    bool cmdImport_Click();

    [[nodiscard]] const UserImportPreview& Preview() const { return m_preview; }
    [[nodiscard]] const UserImportSummary& Summary() const { return m_summary; }
    [[nodiscard]] bool Imported() const { return m_summary.added + m_summary.updated > 0; }
    [[nodiscard]] const std::string& ResultPath() const { return m_resultPath; }

    // The file chooser of cmdBrowse (tests give the path instead).
    std::function<QString(QWidget* parent)> chooseFile;
    // Runs after each user while the wait window is up (tests press its Cancel from here).
    std::function<void(size_t done)> afterEachUser;

private:
    void optionsChanged();
    void showSummary();

    UserEditContext m_context;
    UserImportPreview m_preview;
    UserImportSummary m_summary;
    clsSecurityGroups m_groups;
    clsUserPolicies m_policies;
    std::string m_resultPath;
    ImportPreviewModel* m_model;

    QLineEdit* txtFile;
    QPushButton* cmdBrowse;
    QCheckBox* chkUpdateExisting;
    QCheckBox* chkGeneratePasswords;
    QPushButton* cmdPreview;
    QTableView* lvwPreview;
    QLabel* lblSummary;
    QPushButton* cmdImport;
    QPushButton* cmdClose;
};

} // namespace users
