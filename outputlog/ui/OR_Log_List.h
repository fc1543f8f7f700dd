#pragma once

#include "clsOutputLog.h"

#include <QWidget>

#include <array>
#include <string>
#include <vector>

class QComboBox;
class QDialog;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QTimeEdit;

namespace outputlog {

class OutputListModel;

// What the output log needs to know of the site and the user, filled by the console at start.
struct OutputLogContext {
    struct ReportType {
        long m_lngNumber = 0;
        std::string m_strName;
    };
    struct Account {
        long m_lngId = 0;
        std::string m_strName;
        std::vector<ReportType> m_colReportTypes;
    };
    std::vector<Account> m_colAccounts; // the accounts of the user's partition
    struct Field {
        long m_lngNumber = 0;
        std::string m_strName, m_strColumn, m_strCustomOperation;
        int m_intType = 0;
    };
    std::vector<Field> m_colFields; // the report fields a criterion can name
    ResendUser m_udtUser;
    bool m_blnMayResend = false; // privilege 135: View, Print and Resend
    std::string m_strIniFile;    // handed to the upload viewer
};

// "Output Tracking": the filters, the list of outputs and their resend.
class OR_Log_List : public QWidget {
    Q_OBJECT
public:
    explicit OR_Log_List(OutputLogContext context, QWidget* parent = nullptr);

    // Fills the filters from the user's stored choices and runs the query.
    void MyShow();
    [[nodiscard]] const clsOutputLog& Log() const { return m_objLog; }
    [[nodiscard]] OutputQueryOptions Options() const;
    [[nodiscard]] QTableView* List() const { return LogView; }
    // The time the fax log rows name (tests fix it).
    std::function<std::string()> now;
    // Runs the screen's dialogs (the printer choice, the preview); modal unless a test answers them.
    std::function<int(QDialog&)> runDialog;

public Q_SLOTS:
    void HRun_Click();
    void HResend_Click();
    void HView_Click();
    void HPrint_Click();
    void HConfigure_Click();

public:
    // The report's heading: its title, the date type and the range.
    [[nodiscard]] std::string ReportHeading() const;
    // Prints the list to the named workstation printer; false when it is not installed.
    bool PrintReport(const std::string& printerName);

private:
    void fillReportTypes();
    void restore(const class clsOutputReportsCfg& cfg);
    [[nodiscard]] class clsOutputReportsCfg current() const;

    OutputLogContext m_udtContext;
    clsOutputLog m_objLog;
    OutputListModel* m_model;

    QComboBox* HAInput;
    QComboBox* RTInput;
    QComboBox* cmbOutputType;
    QDateEdit* dtpStartDate;
    QTimeEdit* dtpStartTime;
    QDateEdit* dtpEndDate;
    QTimeEdit* dtpEndTime;
    QRadioButton* DDate;
    QRadioButton* TDate;
    QRadioButton* PDate;
    QComboBox* cmbResults;
    std::array<QComboBox*, 4> CBInput;
    std::array<QLineEdit*, 4> CBText;
    QPushButton* HRun;
    QPushButton* HView;
    QPushButton* HPrint;
    QPushButton* HResend;
    QPushButton* HConfigure;
    QPushButton* HClose;
    QTableView* LogView;
    QLabel* lblStatus;
};

} // namespace outputlog
