#pragma once

#include "clsBatchConfig.h"
#include "clsLogDay.h"

#include <QWidget>

class QAction;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace suite {
class LoginComponent;
}

namespace systemlog {

class LogListModel;

// The system log, one day at a time: type, account, user and batch filters, a text search, and
// copy of the selected lines. The day is read once; the other filters work on the rows in memory.
class SL_Log_List : public QWidget {
    Q_OBJECT
public:
    explicit SL_Log_List(const suite::LoginComponent& login, QWidget* parent = nullptr);

    // Fills the filters and shows today's log for the logged-in user.
    void MyShow(long userId);
    // Shows only the events of the named type ("Database Management"); false for a name not listed.
    bool SetFilterType(const std::string& typeName);

    [[nodiscard]] const clsLogDay& Day() const { return m_day; }
    [[nodiscard]] const LogListModel& Model() const { return *m_model; }
    [[nodiscard]] int LoadCount() const { return m_loads; }

private:
    void LoadDay();
    void FillList();
    void FillBatches();
    [[nodiscard]] int SelectedType() const;
    [[nodiscard]] long Selected(const QComboBox* box) const;
    void CopySelection();
    void TimeStampHeader_Click(int section);

    const suite::LoginComponent& m_login;
    long m_lngUserId = 0;
    bool m_blnDescending = true;
    bool m_blnFilling = false;
    int m_loads = 0;
    clsLogDay m_day;
    std::vector<accounts::clsBatchConfig> m_batches;

    QDateEdit* dtpLogDate;
    QPushButton* BReverse;
    QPushButton* BForward;
    QComboBox* CBLogType;
    QComboBox* CBAccounts;
    QComboBox* CBUsers;
    QComboBox* CBBatches;
    QLineEdit* txtSearch;
    QTableView* LogView;
    QLabel* lblMessages;
    QAction* HUpdate;
    QAction* HClose;
    LogListModel* m_model;
};

} // namespace systemlog
