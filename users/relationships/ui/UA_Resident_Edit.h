#pragma once

#include "clsSignatureDependency.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;

namespace users {

class clsSignatureRelationships;
class clsUsers;
class clsSecurityGroups;
class PeriodControls;
class MemberListControls;

// The resident and the cosigner editor: the physicians and physician groups that must also sign a
// dictating physician's reports, each with its signature levels, required flags and period. OK
// writes the rows of the edited kind (the other kind's stay); an empty list deletes them.
class UA_Resident_Edit : public QDialog {
    Q_OBJECT
public:
    UA_Resident_Edit(clsSignatureRelationships& relationships, const clsUsers& users, const clsSecurityGroups& groups,
                     QWidget* parent = nullptr);

    // resident: the resident relationship, else the cosigner relationship.
    void LoadForm(long dictatorPhysicianId, const std::string& dictatorName, bool resident);

    [[nodiscard]] const std::vector<clsSignatureDependency>& Rows() const { return m_rows; }

    static constexpr int kHighestLevel = 5;

private Q_SLOTS:
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdOK_Click();
    void lvwCosigners_Select();
    void rowChanged();

private:
    void showRows();
    void showRow(int at);
    void fillCandidates();

    clsSignatureRelationships& m_relationships;
    const clsUsers& m_users;
    const clsSecurityGroups& m_groups;
    long m_lngDictatorPhysicianId = 0;
    std::string m_strDictatorName;
    bool m_blnResident = false;
    bool m_blnLoading = false;
    std::vector<clsSignatureDependency> m_rows;

    MemberListControls* m_members = nullptr;
    QComboBox* m_cboCosignerLevel = nullptr;
    QCheckBox* m_chkCosignerRequired = nullptr;
    QComboBox* m_cboDictatorLevel = nullptr;
    QCheckBox* m_chkDictatorRequired = nullptr;
    PeriodControls* m_period = nullptr;
    QWidget* m_rowControls = nullptr;
};

} // namespace users
