#pragma once

#include "PeriodControls.h"
#include "SignatureCandidates.h"

#include <QWidget>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QTreeWidget;

namespace users {

class clsUsers;
class clsSecurityGroups;

// What the surrogate and the resident/cosigner editors share: the caption, the list of the
// relationship's physicians and groups, the choice of one more with Add and Remove, the selected
// row's details (the editor's own controls) and OK/Cancel.
class MemberListControls : public QWidget {
    Q_OBJECT
public:
    // listName and columns name the list; details goes between the choice and the buttons.
    MemberListControls(const char* listName, const QStringList& columns, QWidget* details, QWidget* parent);

    void SetCaption(const QString& text);
    [[nodiscard]] QTreeWidget* List() const { return m_lvwMembers; }
    // The selected row, -1 for none.
    [[nodiscard]] int CurrentRow() const;
    void SelectRow(int row);

    // Offers the physician users and groups that may still join: not the dictating physician and
    // none of the members given.
    void Offer(const clsUsers& users, const clsSecurityGroups& groups, long dictatorPhysicianId,
               const std::vector<long>& memberPhysicians, const std::vector<long>& memberGroups);
    // The offered physician or group chosen, nullptr for none.
    [[nodiscard]] const SignatureCandidate* Chosen() const;

    // OK's check of the rows' periods (m_strEffectiveDate, m_strExpireDate): at the first that
    // expires too early, the message, that row selected and period's expiration date focused, and
    // false.
    template <class Row>
    bool PeriodsInOrder(const std::vector<Row>& rows, PeriodControls& period) {
        for (size_t i = 0; i < rows.size(); ++i)
            if (PeriodControls::ExpiresTooEarly(rows[i].m_strEffectiveDate, rows[i].m_strExpireDate)) {
                RefusePeriod(static_cast<int>(i), period);
                return false;
            }
        return true;
    }

    // A member's name: the group's, else the physician user's; "#" + the id when unknown.
    static std::string MemberName(const clsUsers& users, const clsSecurityGroups& groups, long physicianId,
                                  long groupId);

Q_SIGNALS:
    void AddClicked();
    void RemoveClicked();
    void OKClicked();
    void CancelClicked();
    void RowSelected(int row);

private:
    void RefusePeriod(int row, PeriodControls& period);

    std::vector<SignatureCandidate> m_candidates;
    QLabel* m_lblCaption = nullptr;
    QTreeWidget* m_lvwMembers = nullptr;
    QComboBox* m_cboMember = nullptr;
};

} // namespace users
