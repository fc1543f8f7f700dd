#include "LC_Config.h"

#include "HelpFile.h"
#include "LC_Settings.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "Numbers.h"
#include "QtServices.h"
#include "Text.h"
#include "Utf8.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace accounts {

using platform::MsgAnswer;
using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kKeyRole = Qt::UserRole + 1;

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

// Gives a caption an access key: its first letter not yet taken on the page ("&&" is a literal
// ampersand, not a key).
QString withAccessKey(const QString& caption, std::set<QChar>& taken) {
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        const QChar key = caption[i].toLower();
        if (caption[i].isLetter() && caption[i].unicode() < 128 && !taken.count(key)) {
            taken.insert(key);
            return caption.left(i) + QLatin1Char('&') + caption.mid(i);
        }
    }
    return caption;
}

QLabel* hintLabel(QWidget* parent, const char* text) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 0.9);
    l->setFont(f);
    return l;
}

} // namespace

LC_Config::LC_Config(suite::LoginComponent& login, QWidget* parent) : QWidget(parent), m_login(login) {
    setObjectName("LC_Config");
    setWindowTitle("Line Count Configurations");
    auto* listLabel = new QLabel("C&onfigurations", this);
    lstConfig = new QListWidget(this);
    lstConfig->setObjectName("lstConfig");
    lstConfig->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    listLabel->setBuddy(lstConfig);
    auto* banner = new QLabel("In most cases the default settings are sufficient.", this);
    banner->setObjectName("lblBanner");
    tabConfig = new QTabWidget(this);
    tabConfig->setObjectName("tabConfig");
    BuildSettingsTabs();

    cmdAdd = button(this, "cmdAdd", "&Add");
    cmdSave = button(this, "cmdSave", "&Save");
    cmdDelete = button(this, "cmdDelete", "&Delete");
    cmdExit = button(this, "cmdExit", "E&xit");
    cmdHelp = button(this, "cmdHelp", "&Help");
    cmdSave->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdAdd, cmdSave, cmdDelete})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(cmdExit);
    buttons->addWidget(cmdHelp);
    auto* left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(lstConfig, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(banner);
    right->addWidget(tabConfig, 1);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(lstConfig, &QListWidget::currentItemChanged, this, &LC_Config::lstConfig_CurrentChanged);
    connect(lstConfig, &QListWidget::itemChanged, this, &LC_Config::lstConfig_Renamed);
    connect(cmdAdd, &QPushButton::clicked, this, &LC_Config::cmdAdd_Click);
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdDelete, &QPushButton::clicked, this, &LC_Config::cmdDelete_Click);
    connect(cmdExit, &QPushButton::clicked, this, [this] {
        if (QueryLeave())
            platform::closeScreen(this);
    });
    connect(cmdHelp, &QPushButton::clicked, this, [] { foundation::HelpFile::Show(); });
}

// One page per kind of count and one for the special weighting, their controls made from the
// settings table; then the RTF codes.
void LC_Config::BuildSettingsTabs() {
    std::vector<QFormLayout*> forms;
    // The buttons and the list keep their keys (Add, Save, Delete, Exit, Help, Configurations).
    const std::set<QChar> screenKeys{QLatin1Char('a'), QLatin1Char('s'), QLatin1Char('d'),
                                     QLatin1Char('x'), QLatin1Char('h'), QLatin1Char('o')};
    std::vector<std::set<QChar>> keys(kLCTabCount, screenKeys);
    for (int tab = 0; tab < kLCTabCount; ++tab) {
        auto* page = new QWidget(tabConfig);
        page->setObjectName(QString("fraTab%1").arg(tab));
        forms.push_back(new QFormLayout(page));
        tabConfig->addTab(page, LC_TabCaption(tab));
    }
    for (const LC_Setting* s = LC_SettingsBegin(); s != LC_SettingsEnd(); ++s) {
        QWidget* control = nullptr;
        switch (s->kind) {
        case LCKind::Number: {
            auto* edit = new QLineEdit(tabConfig);
            edit->setMaxLength(6);
            connect(edit, &QLineEdit::textEdited, this, [this] { SetChanged(); });
            control = edit;
            break;
        }
        case LCKind::Choice: {
            auto* box = new QComboBox(tabConfig);
            for (const char* choice : s->choices)
                if (choice)
                    box->addItem(choice);
            connect(box, &QComboBox::activated, this, [this] { SetChanged(); });
            control = box;
            break;
        }
        case LCKind::Check: {
            auto* check = new QCheckBox(tabConfig);
            connect(check, &QCheckBox::clicked, this, [this] {
                chkCC_VBC_Click();
                SetChanged();
            });
            control = check;
            break;
        }
        }
        control->setObjectName(s->control);
        m_controls.push_back(control);
        auto* label = new QLabel(withAccessKey(s->caption, keys[static_cast<size_t>(s->tab)]), tabConfig);
        label->setBuddy(control);
        QFormLayout* form = forms[static_cast<size_t>(s->tab)];
        form->addRow(label, control);
        if (*s->hint)
            form->addRow(hintLabel(tabConfig, s->hint));
    }
    auto* codes = new QWidget(tabConfig);
    codes->setObjectName("fraTab4");
    auto* codesLayout = new QVBoxLayout(codes);
    txtAttributes = new QPlainTextEdit(codes);
    txtAttributes->setObjectName("txtAttributes");
    txtFunctions = new QPlainTextEdit(codes);
    txtFunctions->setObjectName("txtFunctions");
    for (auto [caption, edit] :
         {std::pair{"RTF A&ttribute Codes", txtAttributes}, {"RTF &Function Codes", txtFunctions}}) {
        auto* label = new QLabel(caption, codes);
        label->setBuddy(edit);
        edit->setTabChangesFocus(true);
        codesLayout->addWidget(label);
        codesLayout->addWidget(edit, 1);
        connect(edit, &QPlainTextEdit::textChanged, this, [this] { SetChanged(); });
    }
    tabConfig->addTab(codes, LC_TabCaption(kLCTabCount));
}

void LC_Config::closeEvent(QCloseEvent* event) {
    if (QueryLeave())
        event->accept();
    else
        event->ignore();
}

void LC_Config::MyShow() {
    auto number = [this](const char* option) {
        return static_cast<long>(platform::parseDigits(m_login.GetUserOptionValue(option, "0")).value_or(0));
    };
    auto affirmed = [this](const char* option) {
        return foundation::upperText(foundation::trimText(m_login.GetUserOptionValue(option, "FALSE"))) == "TRUE";
    };
    m_lngBillingConfig = number("BillingConfig");
    m_lngPayrollConfig = number("PayrollConfig");
    m_blnRoutineBilling = affirmed("RoutineWeightingBilling");
    m_blnRoutinePayroll = affirmed("RoutineWeightingPayroll");
    FillList(-2);
}

QListWidgetItem* LC_Config::ItemOf(long id) const {
    for (int i = 0; i < lstConfig->count(); ++i)
        if (lstConfig->item(i)->data(kIdRole).value<long>() == id)
            return lstConfig->item(i);
    return nullptr;
}

void LC_Config::FillList(long select) {
    std::vector<std::pair<long, std::string>> list;
    clsLineCountConfig::LoadList(list);
    m_blnFilling = true;
    lstConfig->clear();
    for (const auto& [id, name] : list) {
        auto* item = new QListWidgetItem(QString::fromStdString(name), lstConfig);
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        item->setData(kIdRole, QVariant::fromValue(id));
        item->setData(kKeyRole, QString("C%1").arg(id));
    }
    QListWidgetItem* chosen = ItemOf(select);
    if (!chosen && lstConfig->count() > 0)
        chosen = lstConfig->item(0);
    lstConfig->setCurrentItem(chosen);
    m_blnFilling = false;
    m_blnChanged = false;
    cmdSave->setEnabled(false);
    if (!chosen)
        return;
    if (const auto config = clsLineCountConfig::Load(chosen->data(kIdRole).value<long>()))
        ShowConfig(*config);
}

void LC_Config::ShowConfig(const clsLineCountConfig& config) {
    m_blnFilling = true;
    m_current = config;
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        const QString value = QString::fromStdString(config.values[i]);
        switch (LC_SettingsBegin()[i].kind) {
        case LCKind::Number:
            static_cast<QLineEdit*>(m_controls[i])->setText(value);
            break;
        case LCKind::Choice: {
            auto* box = static_cast<QComboBox*>(m_controls[i]);
            const int index = value.toInt();
            box->setCurrentIndex(index >= 0 && index < box->count() ? index : 0);
            break;
        }
        case LCKind::Check:
            static_cast<QCheckBox*>(m_controls[i])->setChecked(value.toInt() != 0);
            break;
        }
    }
    txtAttributes->setPlainText(QString::fromStdString(config.attributes));
    txtFunctions->setPlainText(QString::fromStdString(config.functions));
    chkCC_VBC_Click();
    m_blnFilling = false;
}

clsLineCountConfig LC_Config::FormConfig() const {
    clsLineCountConfig c = m_current;
    for (std::size_t i = 0; i < m_controls.size(); ++i) {
        switch (LC_SettingsBegin()[i].kind) {
        case LCKind::Number:
            c.values[i] = static_cast<QLineEdit*>(m_controls[i])->text().toStdString();
            break;
        case LCKind::Choice:
            c.values[i] = std::to_string(static_cast<QComboBox*>(m_controls[i])->currentIndex());
            break;
        case LCKind::Check:
            c.values[i] = static_cast<QCheckBox*>(m_controls[i])->isChecked() ? "1" : "0";
            break;
        }
    }
    c.attributes = txtAttributes->toPlainText().toStdString();
    c.functions = txtFunctions->toPlainText().toStdString();
    return c;
}

void LC_Config::SetChanged() {
    if (m_blnFilling)
        return;
    m_blnChanged = true;
    cmdSave->setEnabled(true);
}

void LC_Config::chkCC_VBC_Click() {
    // Counting only visible characters leaves no blank lines to count.
    auto* vbc = static_cast<QCheckBox*>(m_controls[static_cast<size_t>(LC_SettingIndex("cc_attributes"))]);
    auto* blanks = static_cast<QComboBox*>(m_controls[static_cast<size_t>(LC_SettingIndex("cc_blank_lines"))]);
    if (vbc->isChecked())
        blanks->setCurrentIndex(0);
    blanks->setEnabled(!vbc->isChecked());
}

void LC_Config::FocusField(int field) {
    QWidget* target = field == clsLCRule::Name         ? static_cast<QWidget*>(lstConfig)
                      : field == clsLCRule::Attributes ? static_cast<QWidget*>(txtAttributes)
                      : field == clsLCRule::Functions  ? static_cast<QWidget*>(txtFunctions)
                                                       : m_controls[static_cast<size_t>(field)];
    if (field >= 0)
        tabConfig->setCurrentIndex(LC_SettingsBegin()[field].tab);
    else if (field != clsLCRule::Name)
        tabConfig->setCurrentIndex(kLCTabCount);
    target->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(target))
        edit->selectAll();
}

bool LC_Config::QueryLeave() {
    if (!m_blnChanged)
        return true;
    if (MsgBox("The current configuration " + m_current.config_name + " is not saved.  Save it now?", MsgButtons::YesNo,
               MsgIcon::Question, "Save Configuration?") == MsgAnswer::Yes)
        return cmdSave_Click();
    m_blnChanged = false;
    cmdSave->setEnabled(false);
    if (m_current.config_id < 0) { // the unsaved copy goes
        m_blnFilling = true;
        delete ItemOf(-1);
        m_blnFilling = false;
    }
    return true;
}

void LC_Config::lstConfig_CurrentChanged(QListWidgetItem* current, QListWidgetItem* previous) {
    if (m_blnFilling || !current || current == previous)
        return;
    const long target = current->data(kIdRole).value<long>();
    if (!m_blnChanged) {
        if (const auto config = clsLineCountConfig::Load(target))
            ShowConfig(*config);
        return;
    }
    if (MsgBox("The current configuration " + m_current.config_name + " is not saved.  Save it now?", MsgButtons::YesNo,
               MsgIcon::Question, "Save Configuration?") == MsgAnswer::Yes &&
        !cmdSave_Click()) {
        m_blnFilling = true; // stay on the configuration that could not be saved
        lstConfig->setCurrentItem(ItemOf(m_current.config_id));
        m_blnFilling = false;
        return;
    }
    FillList(target);
}

void LC_Config::lstConfig_Renamed(QListWidgetItem* item) {
    if (m_blnFilling || item != lstConfig->currentItem())
        return;
    const std::string name = foundation::trimText(item->text().toStdString());
    if (name == m_current.config_name)
        return;
    std::string refusal;
    if (platform::utf8Length(name) > clsLineCountConfig::kNameLength) {
        refusal = "The configuration name cannot exceed 30 characters.  Please choose a different name.";
    } else {
        for (int i = 0; i < lstConfig->count(); ++i)
            if (lstConfig->item(i) != item &&
                foundation::upperText(lstConfig->item(i)->text().toStdString()) == foundation::upperText(name))
                refusal = "The configuration name " + name +
                          " is already in use by another configuration.  Configuration name cannot be changed.";
    }
    m_blnFilling = true;
    if (!refusal.empty()) {
        MsgBox(refusal, MsgButtons::OK, MsgIcon::Exclamation, "Invalid Name");
        item->setText(QString::fromStdString(m_current.config_name));
        m_blnFilling = false;
        return;
    }
    item->setText(QString::fromStdString(name));
    m_blnFilling = false;
    m_current.config_name = name;
    SetChanged();
}

void LC_Config::cmdAdd_Click() {
    if (!QueryLeave())
        return;
    clsLineCountConfig copy = FormConfig();
    if (m_current.config_id >= 0)
        if (const auto saved = clsLineCountConfig::Load(m_current.config_id))
            copy = *saved;
    copy.config_id = -1;
    copy.config_name = platform::utf8Left("Copy of " + copy.config_name, clsLineCountConfig::kNameLength);
    m_blnFilling = true;
    auto* item = new QListWidgetItem(QString::fromStdString(copy.config_name), lstConfig);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setData(kIdRole, QVariant::fromValue(-1L));
    lstConfig->setCurrentItem(item);
    m_blnFilling = false;
    ShowConfig(copy);
    SetChanged();
}

bool LC_Config::cmdSave_Click() {
    clsLineCountConfig config = FormConfig();
    if (const auto rule = config.Validate()) {
        MsgBox(rule->message, MsgButtons::OK, MsgIcon::Exclamation, rule->title);
        FocusField(rule->field);
        return false;
    }
    const bool saved = config.Save();
    m_current.config_id = config.config_id; // a new row that exists now is updated, not inserted, next time
    if (!saved)
        return false;
    m_current = config;
    m_blnChanged = false;
    WarnRoutineWeighting();
    FillList(config.config_id);
    return true;
}

void LC_Config::WarnRoutineWeighting() const {
    const long id = m_current.config_id;
    if ((m_blnRoutineBilling && m_lngBillingConfig == id) || (m_blnRoutinePayroll && m_lngPayrollConfig == id))
        MsgBox("Warning: This line count configuration is used for Routine Weighting.  You may also want to rerun the "
               "line count statistics for all routines using the Routine Manager.",
               MsgButtons::OK, MsgIcon::Exclamation, "Routine Weighting");
}

void LC_Config::cmdDelete_Click() {
    if (!lstConfig->currentItem())
        return;
    if (m_current.config_id == 0) {
        MsgBox("This is the default line count configuration.  It can not be deleted.", MsgButtons::OK,
               MsgIcon::Exclamation, "Delete Error");
        return;
    }
    if (MsgBox("Are you sure you wish to delete the configuration " + m_current.config_name + "?", MsgButtons::YesNo,
               MsgIcon::Question, "Delete Configuration") != MsgAnswer::Yes)
        return;
    if (m_current.config_id > 0) {
        const long count = clsLineCountConfig::ReferenceCount(m_current.config_id);
        if (count < 0)
            return;
        if (count > 0) {
            MsgBox(clsLineCountConfig::InUseMessage(count), MsgButtons::OK, MsgIcon::Exclamation, "In Use");
            return;
        }
        if (!m_current.Delete())
            return;
    }
    FillList(-2);
}

} // namespace accounts
