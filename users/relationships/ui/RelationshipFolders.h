#pragma once

#include "UserMgmtHooks.h"
#include "clsSignatureRelationships.h"

#include <QObject>

#include <array>
#include <string>
#include <vector>

class QDialog;
class QStandardItemModel;

namespace users {

class UA_User_Mgmt;

// The signature relationship folders of User Management: the relationships held in memory, the
// three folders' lists, and the add, edit, delete and view commands with their screens. Install
// sets the screen's relationship hooks to an instance owned by the screen.
class RelationshipFolders : public QObject {
    Q_OBJECT
public:
    explicit RelationshipFolders(UA_User_Mgmt& screen);

    static RelationshipFolders* Install(UA_User_Mgmt& screen);

    // Reads both relationship tables; false after a failed statement (the session showed it).
    bool Load();
    // The folder's list, built again from the held relationships: one row per dictating physician.
    QAbstractItemModel* List(RelationshipKind kind);
    // "Add new relationship": the kind (the folder's preselected), then the physician, then its editor.
    bool Add(QWidget* parent, RelationshipKind folder);
    bool Edit(QWidget* parent, RelationshipKind kind, int row);
    bool Delete(QWidget* parent, RelationshipKind kind, int row);
    void ViewAll(QWidget* parent, long userId);
    // The user store already removed a deleted physician user's relationships; the held ones follow.
    void UserDeleted(long userId);
    // The delete confirmation's lines for a physician user with relationships.
    [[nodiscard]] std::vector<std::string> LinesForDelete(long userId) const;

    // Physician users of the visible partitions who hold no relationship of the kind yet: for a
    // surrogate no surrogates, for a resident or cosigner no cosigner or resident rows.
    [[nodiscard]] std::vector<const clsUser*> ChooseCandidates(RelationshipKind kind) const;

    [[nodiscard]] clsSignatureRelationships& Relationships() { return m_relationships; }

private:
    int run(QDialog& dialog);
    bool openEditor(QWidget* parent, RelationshipKind kind, long physicianId, const std::string& name, bool isNew);
    [[nodiscard]] std::vector<std::pair<long, std::string>> groupNames() const;
    [[nodiscard]] const RelationshipFolderEntry* entry(RelationshipKind kind, int row) const;

    UA_User_Mgmt& m_screen;
    clsSignatureRelationships m_relationships;
    std::array<QStandardItemModel*, 3> m_models{};
    std::array<std::vector<RelationshipFolderEntry>, 3> m_entries;
};

} // namespace users
