#pragma once

#include "clsSuspensionTypes.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QPushButton;
class QTreeWidget;

namespace accounts {

// The report suspension types of the template account, which every account carries alike.
class TE_SuspTypes : public QDialog {
    Q_OBJECT
public:
    explicit TE_SuspTypes(QWidget* parent = nullptr);

    // Loads and fills the list; the caller then shows the dialog.
    void ShowSuspTypeList();
    [[nodiscard]] const clsSuspensionTypes& Types() const { return m_types; }

    // Runs the add/edit dialog modally (tests drive it in place).
    std::function<int(QDialog&)> runDialog = [](QDialog& d) { return d.exec(); };

private:
    void FillList(int select);
    [[nodiscard]] const clsSuspensionType* Selected() const;
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdDelete_Click();

    clsSuspensionTypes m_types;
    QTreeWidget* lvwTypes;
    QCheckBox* chkShowSystem;
    QPushButton* cmdAdd;
    QPushButton* cmdEdit;
    QPushButton* cmdDelete;
    QPushButton* cmdOK;
    QPushButton* cmdHelp;
};

} // namespace accounts
