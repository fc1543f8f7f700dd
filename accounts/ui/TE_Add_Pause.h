#pragma once

#include "clsPauseTypes.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace accounts {

// Adds an activity type (the next number, written to every account) or changes one.
class TE_Add_Pause : public QDialog {
    Q_OBJECT
public:
    explicit TE_Add_Pause(clsPauseTypes& types, QWidget* parent = nullptr);

    // Prepares the dialog for a new type (existing nullptr) or for changing one.
    void EditType(const clsPauseType* existing);

private:
    void cmdOK_Click();

    clsPauseTypes& m_types;
    clsPauseType m_type;
    bool m_blnNew = true;
    QLineEdit* txtDescription;
    QComboBox* cmbCountAsWork;
    QComboBox* cmbWorkChoice;
    QComboBox* cmbPauseChoice;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace accounts
