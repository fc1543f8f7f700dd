#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
class QCheckBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTimer;
class QTreeView;

namespace speech {

class SpeechUserModel;

// Chooses the speech user of a physician: lists the speech system's users with the contexts of the
// selected one, and adds, deletes, changes users or starts the administration program.
class PP_SpeechMagic : public QDialog {
    Q_OBJECT
public:
    PP_SpeechMagic(const std::string& firstName, const std::string& lastName, const std::string& userName,
                   QWidget* parent = nullptr);
    ~PP_SpeechMagic() override;

    // Shows the chooser modally; userName is replaced by the chosen user on OK and left as it was
    // on Cancel or when the speech system is not installed. True on OK.
    static bool GetSMUser(const std::string& firstName, const std::string& lastName, std::string& userName,
                          bool& contextsChanged, QWidget* parent = nullptr);

    // The loading the one-shot timer starts once the window is shown.
    void tmrLoadUsers_Timer();
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdProperties_Click();
    void cmdSMAdmin_Click();
    void BOK_Click();

    [[nodiscard]] std::string chosenUserName() const { return m_strChosen; }
    [[nodiscard]] bool contextsChanged() const { return m_blnContextsChanged; }
    [[nodiscard]] std::string selectedUser() const;
    // A name from the physician's names for a new user: the first initial and the last name,
    // capitals and ASCII letters and digits only, at most 16 characters.
    static std::string ProposedUserName(const std::string& firstName, const std::string& lastName);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void addUser(const std::string& proposed);
    void showSelectedUser();
    void setStatus(const QString& text);
    void enableButtons(bool enabled);
    void lstContexts_ItemChanged(QListWidgetItem* item);

    std::string m_strFirstName, m_strLastName, m_strUserName, m_strChosen;
    bool m_blnContextsChanged = false;
    bool m_blnLoaded = false;
    bool m_blnFilling = false;
    SpeechUserModel* m_model;
    QTreeView* lvwUsers;
    QLineEdit* txtFilter;
    QCheckBox* chkUnassigned;
    QListWidget* lstContexts;
    QPushButton *cmdAdd, *cmdDelete, *cmdProperties, *cmdSMAdmin, *BOK, *BCancel;
    QLabel* lblStatus;
    QTimer* tmrLoadUsers;
};

} // namespace speech
