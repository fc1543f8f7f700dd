#pragma once

#include <QDialog>

#include <string>

class QLineEdit;
class QPushButton;

namespace printers {

// "Add Custom Footer Format": the footer text with at most one designator placeholder.
class PR_Add_Format : public QDialog {
    Q_OBJECT
public:
    explicit PR_Add_Format(QWidget* parent = nullptr);
    // Shows the editor over the text; true with the edited text in Text() when OK was pressed.
    bool EditFormat(const std::string& text);
    void Load(const std::string& text);
    [[nodiscard]] std::string Text() const;

public Q_SLOTS:
    void cmdInsertFirst_Click();
    void cmdInsertLast_Click();
    void cmdOK_Click();

private:
    void insert(const char* placeholder);

    QLineEdit* txtFormat;
    QPushButton* cmdInsertFirst;
    QPushButton* cmdInsertLast;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
};

} // namespace printers
