#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace voicesystems {

class clsVVUserEditor;

// A new password for the edited physician in every linked voice system.
class VV_Password_Change : public QDialog {
    Q_OBJECT
public:
    explicit VV_Password_Change(clsVVUserEditor& editor, QWidget* parent = nullptr);

    // Shows the dialog; true when the password was saved.
    bool ShowMe();
    void cmdOK_Click();

private:
    clsVVUserEditor& m_editor;
    QLineEdit* txtNewPassword;
    QLineEdit* txtConfirmPassword;
    QCheckBox* SSCheckMustChange;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace voicesystems
