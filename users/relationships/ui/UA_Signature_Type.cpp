#include "UA_Signature_Type.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace users {

namespace {

QRadioButton* option(const char* name, const char* caption, QWidget* parent) {
    auto* o = new QRadioButton(caption, parent);
    o->setObjectName(name);
    return o;
}

} // namespace

UA_Signature_Type::UA_Signature_Type(QWidget* parent) : QDialog(parent) {
    setObjectName("UA_Signature_Type");
    setWindowTitle("Add Signature Relationship Type");
    auto* frame = new QGroupBox("Relationship Type", this);
    frame->setObjectName("fraType");
    m_optSurrogate = option("optSurrogate", "&Surrogate", frame);
    m_optResident = option("optResident", "&Resident Relationship", frame);
    m_optCosigner = option("optCosigner", "&Cosigner Relationship", frame);
    m_optGroup = option("optGroup", "Physician &Group", frame);
    m_optSurrogate->setChecked(true);
    auto* options = new QVBoxLayout(frame);
    for (QRadioButton* o : {m_optSurrogate, m_optResident, m_optCosigner, m_optGroup}) {
        options->addWidget(o);
        connect(o, &QRadioButton::toggled, this, &UA_Signature_Type::showDescription);
    }
    m_lblDescription = new QLabel(this);
    m_lblDescription->setObjectName("lblDescription");
    m_lblDescription->setWordWrap(true);
    m_lblDescription->setMinimumHeight(60);

    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton("&Cancel", this);
    cancel->setObjectName("cmdCancel");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(m_lblDescription);
    layout->addLayout(buttons);
    showDescription();
}

UA_Signature_Type::Kind UA_Signature_Type::Selected() const {
    if (m_optResident->isChecked())
        return Kind::Resident;
    if (m_optCosigner->isChecked())
        return Kind::Cosigner;
    if (m_optGroup->isChecked())
        return Kind::Group;
    return Kind::Surrogate;
}

void UA_Signature_Type::Select(Kind kind) {
    (kind == Kind::Resident   ? m_optResident
     : kind == Kind::Cosigner ? m_optCosigner
     : kind == Kind::Group    ? m_optGroup
                              : m_optSurrogate)
        ->setChecked(true);
}

void UA_Signature_Type::showDescription() {
    switch (Selected()) {
    case Kind::Surrogate:
        m_lblDescription->setText("Select this option to allow selected physicians to sign and view for a another "
                                  "specified physician.  An effective date range can be specified for this type of "
                                  "relationship.");
        break;
    case Kind::Resident:
        m_lblDescription->setText("Select this option to have the reports of a resident physician signed by another "
                                  "physician or a physician group as well.");
        break;
    case Kind::Cosigner:
        m_lblDescription->setText("Select this option to have the reports of a physician cosigned by another physician "
                                  "or a physician group.");
        break;
    case Kind::Group:
        m_lblDescription->setText("Select this option to define a physician group whose members view and sign reports "
                                  "for each other.");
        break;
    }
}

bool UA_Signature_Type::Choose(Kind& kind, QWidget* parent) {
    UA_Signature_Type dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    kind = dialog.Selected();
    return true;
}

} // namespace users
