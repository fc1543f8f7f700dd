#pragma once

#include "clsSurrogate.h"

#include <QDialog>

#include <string>
#include <vector>

namespace users {

class clsSignatureRelationships;
class clsUsers;
class clsSecurityGroups;
class PeriodControls;
class MemberListControls;

// "Edit Surrogate Signature Relationship": the physicians and physician groups that may view and
// sign a dictating physician's reports, each with its effective period. OK writes them through the
// held relationships (an empty list deletes the relationship).
class UA_Surrogate_Edit : public QDialog {
    Q_OBJECT
public:
    UA_Surrogate_Edit(clsSignatureRelationships& relationships, const clsUsers& users, const clsSecurityGroups& groups,
                      QWidget* parent = nullptr);

    // Shows the physician's surrogates; isNew for a relationship being added.
    void LoadForm(long dictatorPhysicianId, const std::string& dictatorName, bool isNew);

    // The rows as the editor holds them.
    [[nodiscard]] const std::vector<clsSurrogate>& Rows() const { return m_rows; }

private Q_SLOTS:
    void cmdAdd_Click();
    void cmdRemove_Click();
    void cmdOK_Click();
    void lvwSurrogates_Select();
    void periodChanged();

private:
    void showRows();
    void fillCandidates();

    clsSignatureRelationships& m_relationships;
    const clsUsers& m_users;
    const clsSecurityGroups& m_groups;
    long m_lngDictatorPhysicianId = 0;
    std::string m_strDictatorName;
    bool m_blnIsNew = false;
    std::vector<clsSurrogate> m_rows;

    MemberListControls* m_members = nullptr;
    PeriodControls* m_period = nullptr;
};

} // namespace users
