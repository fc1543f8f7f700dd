#include "PeriodControls.h"

#include <QCheckBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>

namespace users {

namespace {

std::string stored(const QDateEdit* edit) {
    return edit->date().toString("yyyy-MM-dd").toStdString() + " 00:00:00.000";
}

QDate dateOf(const std::string& text) {
    const QDate d = QDate::fromString(QString::fromStdString(text.substr(0, 10)), "yyyy-MM-dd");
    return d.isValid() ? d : QDate::currentDate();
}

} // namespace

PeriodControls::PeriodControls(QWidget* parent) : QWidget(parent) {
    m_chkStartDate = new QCheckBox("&Start Date:", this);
    m_chkStartDate->setObjectName("chkStartDate");
    m_dtpStartDate = new QDateEdit(this);
    m_dtpStartDate->setObjectName("dtpStartDate");
    m_chkExpireDate = new QCheckBox("E&xpiration Date:", this);
    m_chkExpireDate->setObjectName("chkExpireDate");
    m_dtpExpireDate = new QDateEdit(this);
    m_dtpExpireDate->setObjectName("dtpExpireDate");
    for (QDateEdit* d : {m_dtpStartDate, m_dtpExpireDate}) {
        d->setCalendarPopup(true);
        d->setDisplayFormat("MM/dd/yyyy");
        d->setEnabled(false);
        connect(d, &QDateEdit::dateChanged, this, [this] {
            if (!m_blnLoading)
                Q_EMIT PeriodChanged();
        });
    }
    connect(m_chkStartDate, &QCheckBox::toggled, this, [this](bool on) {
        m_dtpStartDate->setEnabled(on);
        if (!m_blnLoading)
            Q_EMIT PeriodChanged();
    });
    connect(m_chkExpireDate, &QCheckBox::toggled, this, [this](bool on) {
        m_dtpExpireDate->setEnabled(on);
        if (!m_blnLoading)
            Q_EMIT PeriodChanged();
    });
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_chkStartDate, 0, 0);
    grid->addWidget(m_dtpStartDate, 0, 1);
    grid->addWidget(m_chkExpireDate, 1, 0);
    grid->addWidget(m_dtpExpireDate, 1, 1);
}

void PeriodControls::SetPeriod(const std::string& start, const std::string& expire) {
    m_blnLoading = true;
    m_chkStartDate->setChecked(!start.empty());
    m_dtpStartDate->setDate(dateOf(start));
    m_chkExpireDate->setChecked(!expire.empty());
    m_dtpExpireDate->setDate(dateOf(expire));
    m_blnLoading = false;
}

std::string PeriodControls::Start() const {
    return m_chkStartDate->isChecked() ? stored(m_dtpStartDate) : std::string();
}

std::string PeriodControls::Expire() const {
    return m_chkExpireDate->isChecked() ? stored(m_dtpExpireDate) : std::string();
}

void PeriodControls::FocusExpire() {
    m_dtpExpireDate->setFocus();
}

bool PeriodControls::ExpiresTooEarly(const std::string& start, const std::string& expire) {
    // The stored form sorts as text in date order.
    return !start.empty() && !expire.empty() && expire.substr(0, 10) <= start.substr(0, 10);
}

std::string PeriodControls::Shown(const std::string& date) {
    return date.size() >= 10 ? date.substr(0, 10) : std::string();
}

} // namespace users
