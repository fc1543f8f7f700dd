#pragma once

#include <QWidget>

#include <string>

class QCheckBox;
class QDateEdit;

namespace users {

// The effective period of one relationship row: a start and an expiration date, each of which may be
// left open (a NULL date). Dates travel as the database holds them, "YYYY-MM-DD hh:mm:ss.fff".
class PeriodControls : public QWidget {
    Q_OBJECT
public:
    explicit PeriodControls(QWidget* parent = nullptr);

    void SetPeriod(const std::string& start, const std::string& expire);
    [[nodiscard]] std::string Start() const;
    [[nodiscard]] std::string Expire() const;
    void FocusExpire();

    // True when both dates are given and the expiration is not after the start.
    static bool ExpiresTooEarly(const std::string& start, const std::string& expire);
    // "YYYY-MM-DD" of a stored date; "" for none.
    static std::string Shown(const std::string& date);

Q_SIGNALS:
    void PeriodChanged();

private:
    QCheckBox* m_chkStartDate = nullptr;
    QDateEdit* m_dtpStartDate = nullptr;
    QCheckBox* m_chkExpireDate = nullptr;
    QDateEdit* m_dtpExpireDate = nullptr;
    bool m_blnLoading = false;
};

} // namespace users
