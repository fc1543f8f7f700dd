// The profile editor's weighting page: per report type no weighting, a direct weight or a
// percentage, for the selected accounts.

#include "MessageService.h"
#include "PP_Add_Phys.h"
#include "PhysicianProfileValues.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

namespace physicians {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

QWidget* PP_Add_Phys::weightingPage() {
    auto* page = new QWidget(this);
    auto* form = new QFormLayout(page);
    LViewOnlyWeight = new QLabel("View Only", page);
    LViewOnlyWeight->setObjectName("LViewOnlyWeight");
    form->addRow(LViewOnlyWeight);
    CBWeightReportTypes = new QComboBox(page);
    CBWeightReportTypes->setObjectName("CBWeightReportTypes");
    form->addRow("Report Type:", CBWeightReportTypes);
    LVariousWeight = new QLabel(kVarious, page);
    LVariousWeight->setObjectName("LVariousWeight");
    form->addRow(LVariousWeight);
    OPTNoWeighting = new QRadioButton("&No Weighting", page);
    OPTNoWeighting->setObjectName("OPTNoWeighting");
    OPTDirectWeighting = new QRadioButton("&Direct Weighting", page);
    OPTDirectWeighting->setObjectName("OPTDirectWeighting");
    OPTPercentWeighting = new QRadioButton("&Percent Weighting", page);
    OPTPercentWeighting->setObjectName("OPTPercentWeighting");
    TReportDirectWeight = new QLineEdit(page);
    TReportDirectWeight->setObjectName("TReportDirectWeight");
    TReportPercentWeight = new QLineEdit(page);
    TReportPercentWeight->setObjectName("TReportPercentWeight");
    form->addRow(OPTNoWeighting);
    form->addRow(OPTDirectWeighting, TReportDirectWeight);
    form->addRow(OPTPercentWeighting, TReportPercentWeight);
    BApplyDefaultWeight = new QPushButton("Apply to &All Report Types", page);
    BApplyDefaultWeight->setObjectName("BApplyDefaultWeight");
    form->addRow(BApplyDefaultWeight);
    connect(CBWeightReportTypes, &QComboBox::activated, this, [this](int index) {
        if (!commitWeight()) { // stay on the report type whose weight is wrong
            CBWeightReportTypes->setCurrentIndex(
                CBWeightReportTypes->findData(static_cast<qlonglong>(m_lngWeightType)));
            return;
        }
        m_lngWeightType = CBWeightReportTypes->itemData(index).toLongLong();
        showWeighting();
    });
    for (QLineEdit* box : {TReportDirectWeight, TReportPercentWeight})
        connect(box, &QLineEdit::editingFinished, this, [this] { commitWeight(); });
    for (QRadioButton* option : {OPTNoWeighting, OPTDirectWeighting, OPTPercentWeighting})
        connect(option, &QRadioButton::clicked, this, [this] { commitWeight(); });
    // The weight shown for the chosen report type becomes that of every listed report type.
    connect(BApplyDefaultWeight, &QPushButton::clicked, this, [this] {
        if (!commitWeight())
            return;
        if (const auto weight = m_edit.WeightOf(static_cast<size_t>(m_lngWeightType)))
            for (const auto& [type, name] : reportTypes())
                m_edit.SetWeight(static_cast<size_t>(type), *weight);
        showWeighting();
    });
    return page;
}

namespace {

std::string shownWeight(QRadioButton* none, QRadioButton* direct, QRadioButton* percent, QLineEdit* d, QLineEdit* p) {
    return std::to_string(none->isChecked()) + std::to_string(direct->isChecked()) +
           std::to_string(percent->isChecked()) + "|" + d->text().toStdString() + "|" + p->text().toStdString();
}

} // namespace

void PP_Add_Phys::showWeighting() {
    const bool wasLoading = m_blnLoading;
    m_blnLoading = true;
    CBWeightReportTypes->clear();
    for (const auto& [type, name] : reportTypes())
        CBWeightReportTypes->addItem(QString::fromStdString(name), static_cast<qlonglong>(type));
    int index = CBWeightReportTypes->findData(static_cast<qlonglong>(m_lngWeightType));
    if (index < 0) {
        index = 0;
        m_lngWeightType = 0;
    }
    CBWeightReportTypes->setCurrentIndex(index);
    const auto weight =
        m_edit.selection().empty() ? std::nullopt : m_edit.WeightOf(static_cast<size_t>(m_lngWeightType));
    LVariousWeight->setVisible(!weight && !m_edit.selection().empty());
    for (QRadioButton* option : {OPTNoWeighting, OPTDirectWeighting, OPTPercentWeighting}) {
        option->setAutoExclusive(false);
        option->setChecked(false);
        option->setAutoExclusive(true);
    }
    TReportDirectWeight->clear();
    TReportPercentWeight->setText(kDefaultPercentWeight);
    if (weight) {
        if (weight->type == kDirectWeighting) {
            OPTDirectWeighting->setChecked(true);
            TReportDirectWeight->setText(QString::fromStdString(FormatWeight(weight->value)));
        } else if (weight->type == kPercentWeighting) {
            OPTPercentWeighting->setChecked(true);
            TReportPercentWeight->setText(QString::fromStdString(FormatWeight(weight->value)));
        } else {
            OPTNoWeighting->setChecked(true);
        }
    }
    m_strShownWeight =
        shownWeight(OPTNoWeighting, OPTDirectWeighting, OPTPercentWeighting, TReportDirectWeight, TReportPercentWeight);
    m_blnLoading = wasLoading;
}

bool PP_Add_Phys::commitWeight() {
    if (m_blnLoading)
        return true;
    const std::string shown =
        shownWeight(OPTNoWeighting, OPTDirectWeighting, OPTPercentWeighting, TReportDirectWeight, TReportPercentWeight);
    if (shown == m_strShownWeight)
        return true; // untouched: "<various>" stays as it is
    PhysicianProfileEdit::Weight weight;
    if (OPTDirectWeighting->isChecked() || OPTPercentWeighting->isChecked()) {
        QLineEdit* box = OPTDirectWeighting->isChecked() ? TReportDirectWeight : TReportPercentWeight;
        const char separator = QLocale().decimalPoint().at(0).toLatin1();
        const auto value = ParseWeight(box->text().toStdString(), separator ? separator : '.');
        if (!value) {
            MsgBox(kBadWeight, MsgButtons::OK, MsgIcon::Exclamation, kBadWeightTitle);
            box->setFocus();
            return false;
        }
        weight = {OPTDirectWeighting->isChecked() ? kDirectWeighting : kPercentWeighting, static_cast<float>(*value)};
    } else if (!OPTNoWeighting->isChecked()) {
        return true; // no option chosen (still "<various>")
    }
    m_edit.SetWeight(static_cast<size_t>(m_lngWeightType), weight);
    m_strShownWeight = shown;
    return true;
}

} // namespace physicians
