#pragma once

#include "SignatureCandidates.h"
#include "clsSurrogate.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QTreeWidget;

namespace users {

class clsSignatureRelationships;
class clsUsers;
class clsSecurityGroups;
class PeriodControls;

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
    [[nodiscard]] std::string nameOf(const clsSurrogate& s) const;

    clsSignatureRelationships& m_relationships;
    const clsUsers& m_users;
    const clsSecurityGroups& m_groups;
    long m_lngDictatorPhysicianId = 0;
    std::string m_strDictatorName;
    bool m_blnIsNew = false;
    std::vector<clsSurrogate> m_rows;
    std::vector<SignatureCandidate> m_candidates;

    QLabel* m_lblCaption = nullptr;
    QTreeWidget* m_lvwSurrogates = nullptr;
    QComboBox* m_cboMember = nullptr;
    PeriodControls* m_period = nullptr;
};

} // namespace users
