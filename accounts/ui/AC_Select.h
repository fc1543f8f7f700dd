#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;

namespace accounts {

// A check-list of values for a comma-separated filter: the current filter ticked, OK keeps the
// ticked values.
class AC_Select : public QDialog {
    Q_OBJECT
public:
    explicit AC_Select(QWidget* parent = nullptr);

    void SetValues(const QString& caption, const std::vector<std::string>& values);
    void SetSelectedFilters(const std::string& filters);
    [[nodiscard]] std::string FetchFilterString() const;
    [[nodiscard]] bool Saved() const { return m_blnSaved; }

private:
    QListWidget* lstValues;
    bool m_blnSaved = false;
};

} // namespace accounts
