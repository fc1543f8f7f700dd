#pragma once

#include <QDialog>

class QRadioButton;

namespace users {

// The choice of the new user's kind before the editor opens: "Physician", "Transcriptionist" or
// "General User".
class UA_User_Type : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Physician, Transcriptionist, GeneralUser };
    explicit UA_User_Type(bool physicianAllowed, QWidget* parent = nullptr);
    [[nodiscard]] Kind Chosen() const;

private:
    QRadioButton* optPaxlet;
    QRadioButton* optTranscription;
    QRadioButton* optGeneralUser;
};

} // namespace users
