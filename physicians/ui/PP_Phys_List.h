#pragma once

#include "PhysicianUserRequest.h"
#include "ProfileReportData.h"
#include "clsPhysicianSummaryRecords.h"
#include "modPhysicianList.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class QToolBar;
class QTreeWidget;

namespace suite {
class LoginComponent;
}

namespace physicians {

class PhysicianListModel;
class PhysicianProfileEdit;
class PP_Add_Phys;

// The physicians of one account with the hidden and status filters, and the commands on them.
class PP_Phys_List : public QWidget {
    Q_OBJECT
public:
    explicit PP_Phys_List(suite::LoginComponent& login, QWidget* parent = nullptr);
    ~PP_Phys_List() override;

    void MyShow();
    bool RetrievePhysicians();
    void DisplayPhysicians();

    // ---- commands (the tool bar's and the main window's) -----------------------------------------
    void AddPhysicianWizard();
    // Starts a new physician for a value of the unknown-physician log; true when one was created.
    bool AddPhysicianUnknown(const std::string& value);
    void AddAnother(); // a new physician from the values of the one added last
    void EditPhysician();
    void EditDefaultPhysician();
    void DeletePhysicians();
    void RemoveFromAccount();
    void HidePhysicians();
    void ChangePartitionAssignment();
    void SetDefaultPartitionAssignment();
    void SetDefaultAccounts();
    void SetExtendedProfile(bool extended);
    void ImportToNotepad();
    // The profile report of the selected physicians, or of the whole account when none is selected,
    // in the form chosen with PP_Report_Selection.
    void GenerateReport();
    void cmdKdPPI_Click();
    // Opens the search for the list's account; a physician added there appears in the list.
    void PhysSearchShow();

    [[nodiscard]] long DefaultPartitionId() const { return m_defaults.DefaultPartitionId; }
    [[nodiscard]] const PhysicianListDefaults& defaults() const { return m_defaults; }
    [[nodiscard]] long currentAccount() const;
    [[nodiscard]] PhysicianListModel* model() const { return m_model; }
    [[nodiscard]] const std::string& emailDefaultMethod() const { return m_strEmailDefaultMethod; }

    // How the screen asks for a partition and for accounts; dialogs by default, replaced in tests.
    std::function<bool(long& partition, const std::string& list)> chooseNewPartition;
    std::function<bool(long& partition, const std::string& list)> chooseDefaultPartition;
    std::function<bool(std::vector<long>& accounts)> chooseDefaultAccounts;
    std::function<bool(ProfileReportOptions& options)> chooseReportSettings;
    // Shows the report's rows while its data source exists; the print preview by default.
    std::function<void(const ProfileReportData& data)> showReport;
    // Status line texts ("Retrieving Physician List...", "Physician Profile Updated.").
    std::function<void(const QString&)> statusHandler;
    // Opens the profile editor on physicians (id 0 for a new one, -1 the default physician).
    std::function<void(const std::vector<long>& physicianIds)> openEditor;
    // Opens the profile editor on a new physician for an unknown value; true when it was saved.
    std::function<bool(const std::string& unknownValue)> openEditorForUnknown;
    // Shows the opened editor; modal by default, driven directly in tests.
    std::function<void(PP_Add_Phys& editor)> runEditor;
    // Given to every profile editor this list opens: the linked user's editor.
    OpenPhysicianUser openUserEditor;

private:
    [[nodiscard]] std::vector<clsPhysicianSummaryRecord*> selectedRecords();
    [[nodiscard]] bool refused(ListCommand command);
    [[nodiscard]] bool skipAndContinue(const std::string& refusal, const char* verb);
    void setStatus(const QString& text);
    void statusChoiceChanged();
    // true when a physician was saved.
    bool openProfileEditor(long physicianId, bool another);

    suite::LoginComponent& m_login;
    clsPhysicianSummaryRecords m_records;
    PhysicianListDefaults m_defaults;
    std::string m_strEmailDefaultMethod;
    ProfileReportOptions m_reportOptions;
    PhysicianListModel* m_model;
    std::unique_ptr<PhysicianProfileEdit> m_lastAdded;

    QComboBox* CBAccount;
    QComboBox* cboHiddenPhysicians;
    QLabel* lblStatuses;
    QPushButton* cmdDropDown;
    QTreeWidget* lstStatuses;
    QPushButton* cmdRefresh;
    QPushButton* cmdKdPPI;
    QToolBar* tbrPhysList;
    QTableView* lvwPhysList;
    QLabel* lblCount;
};

} // namespace physicians
