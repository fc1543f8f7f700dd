#pragma once

#include "clsPauseTypes.h"

#include <QDialog>

#include <functional>

class QPushButton;
class QTreeWidget;

namespace accounts {

// The transcriptionist activity types of the template account, which every account carries alike.
class TE_Pauses : public QDialog {
    Q_OBJECT
public:
    explicit TE_Pauses(QWidget* parent = nullptr);

    void ShowPauseTypeList();
    [[nodiscard]] const clsPauseTypes& Types() const { return m_types; }

    // Runs the add/edit dialog modally (tests drive it in place).
    std::function<int(QDialog&)> runDialog = [](QDialog& d) { return d.exec(); };

private:
    void FillList(int select);
    [[nodiscard]] const clsPauseType* Selected() const;
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();

    clsPauseTypes m_types;
    QTreeWidget* lvwTypes;
    QPushButton* cmdAdd;
    QPushButton* cmdEdit;
    QPushButton* cmdDelete;
    QPushButton* cmdOK;
    QPushButton* cmdHelp;
};

} // namespace accounts
