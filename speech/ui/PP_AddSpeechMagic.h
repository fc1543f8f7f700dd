#pragma once

#include "SpeechContexts.h"

#include <QDialog>

#include <map>
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

    // What the caller tells the dialog about the physician: "UserName" (the logged-in user),
    // "PhysicianID", "SpeechMagicID" and "ConText" (the physician's context, "VARIOUS" when its
    // accounts differ).
    using Properties = std::map<std::string, std::string>;

    // A new user: true when one was created, with its name. changed: contexts were installed.
    static bool AddSMUser(const std::string& proposedName, std::string& createdName, bool& changed,
                          QWidget* parent = nullptr, const Properties& properties = {});
    // An existing user with its installed contexts checked. changed: contexts were added or removed.
    static void UserProperties(const std::string& userName, bool& changed, QWidget* parent = nullptr,
                               const Properties& properties = {});

    // Keeps the properties on the dialog object; a new user's initial context is the physician's
    // when that is one context.
    void SetProperties(const Properties& properties);

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
