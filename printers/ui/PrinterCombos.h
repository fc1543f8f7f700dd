#pragma once

#include "PrinterText.h"

#include <QComboBox>

namespace printers {

// Code lists in combo boxes: each item carries its code; a stored code the list lacks is added as
// its text, so saving an untouched printer writes back what it read.
inline void FillCodes(QComboBox* box, const std::vector<std::pair<int, std::string>>& codes) {
    box->clear();
    for (const auto& [code, text] : codes)
        box->addItem(QString::fromStdString(text), code);
}

inline void SelectCode(QComboBox* box, long code, const std::string& textWhenMissing) {
    int index = box->findData(static_cast<int>(code));
    if (index < 0) {
        box->addItem(QString::fromStdString(textWhenMissing), static_cast<int>(code));
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

inline int SelectedCode(const QComboBox* box) {
    return box->currentIndex() < 0 ? 0 : box->currentData().toInt();
}

} // namespace printers
