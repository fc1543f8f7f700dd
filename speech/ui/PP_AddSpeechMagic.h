#pragma once

#include "SpeechContexts.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace speech {

// Creates a speech user, or changes an existing user's contexts, gender and input channels.
class PP_AddSpeechMagic : public QDialog {
    Q_OBJECT
public:
    PP_AddSpeechMagic(const std::string& userName, bool existingUser, QWidget* parent = nullptr);

    // A new user: true when one was created, with its name. changed: contexts were installed.
    static bool AddSMUser(const std::string& proposedName, std::string& createdName, bool& changed,
                          QWidget* parent = nullptr);
    // An existing user with its installed contexts checked. changed: contexts were added or removed.
    static void UserProperties(const std::string& userName, bool& changed, QWidget* parent = nullptr);

    // Reads the suite's contexts and, for an existing user, its properties.
    bool Load();
    void cmdOK_Click();

    [[nodiscard]] bool userCreated() const { return m_blnCreated; }
    [[nodiscard]] bool contextsChanged() const { return m_blnChanged; }
    [[nodiscard]] std::string userName() const;
    [[nodiscard]] const std::vector<clsSMContext>& contexts() const { return m_contexts; }

private:
    // Installs (add) or removes the contexts that differ from what is installed; false when any failed.
    bool applyContexts(const std::string& user, int gender);
    bool applyChannels(const std::string& user, const std::string& initialContext);
    void rereadInstalled(const std::string& user);
    void showInstalled();
    [[nodiscard]] std::string checkedContext(int row) const;

    bool m_blnExisting;
    bool m_blnCreated = false;
    bool m_blnChanged = false;
    std::vector<clsSMContext> m_contexts;
    QTabWidget* tabSM;
    QLineEdit* txtUserName;
    QComboBox* cmbGender;
    QComboBox* cmbConTexts;
    QListWidget* lstContexts;
    QCheckBox* chkAdvAcoustics2;
    QPushButton *cmdOK, *cmdCancel;
};

} // namespace speech
