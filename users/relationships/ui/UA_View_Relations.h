#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QTreeWidget;

namespace users {

// All relationships of one physician, both ways: name " --> Others" (for whom it views, signs or
// cosigns) and "Others --> " name (who views, signs or cosigns for it).
class UA_View_Relations : public QDialog {
    Q_OBJECT
public:
    explicit UA_View_Relations(QWidget* parent = nullptr);

    // Loads the physician's relations; false when a statement failed (the session showed why).
    bool LoadForm(long physicianId, const std::string& name);

private:
    QLabel* m_lblOutward = nullptr;
    QLabel* m_lblInward = nullptr;
    QTreeWidget* m_lvwOutward = nullptr;
    QTreeWidget* m_lvwInward = nullptr;
};

} // namespace users
