#pragma once

#include <QDialog>

class QLabel;
class QRadioButton;

namespace users {

// "Add Signature Relationship Type": which kind of relationship User Management adds next.
class UA_Signature_Type : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Surrogate, Resident, Cosigner, Group };

    explicit UA_Signature_Type(QWidget* parent = nullptr);

    [[nodiscard]] Kind Selected() const;
    // Checks the option of kind (the folder the command came from).
    void Select(Kind kind);
    // Runs the dialog; false when it was cancelled, else kind holds the choice.
    static bool Choose(Kind& kind, QWidget* parent = nullptr);

private Q_SLOTS:
    void showDescription();

private:
    QRadioButton* m_optSurrogate = nullptr;
    QRadioButton* m_optResident = nullptr;
    QRadioButton* m_optCosigner = nullptr;
    QRadioButton* m_optGroup = nullptr;
    QLabel* m_lblDescription = nullptr;
};

} // namespace users
