#pragma once

#include <QString>

#include <functional>
#include <string>
#include <vector>

class QAbstractItemModel;
class QWidget;

namespace users {

class clsUser;
struct UserGroupEntry;

// The signature relationship folders of the user management tree.
enum class RelationshipKind { Surrogate, Resident, Cosignature };

// The screens User Management opens that other parts of the console provide: the group editor
// and group delete, the signature relationship screens, the send-message and locked-report tools,
// and the physician side of a physician user. The application sets these when it creates the
// screen; a hook that is not set leaves its command disabled.
struct UserMgmtHooks {
    // ---- security groups -------------------------------------------------------------------
    // Opens the group editor for a new group (groupId 0, of the given type) or an existing one;
    // true when the group was saved (User Management then reloads its groups).
    std::function<bool(QWidget* parent, long groupId, long groupType)> editGroup;
    // Deletes the group after its own checks and questions; true when it was deleted.
    std::function<bool(QWidget* parent, long groupId)> deleteGroup;
    // The editor's "Add..." on its Groups tab: the groups chosen for the user.
    std::function<std::vector<UserGroupEntry>(QWidget* parent, const clsUser& user, const std::vector<long>& current)>
        chooseGroups;

    // ---- signature relationships ----------------------------------------------------------
    // Reads the relationships of every folder ("Retrieving Surrogates...", "Retrieving
    // Dependencies...", "Retrieving Residents..."); false after its message.
    std::function<bool()> loadRelationships;
    // The list model a relationship folder shows (owned by the provider); column 0 of each row
    // carries the dictating physician's user id under Qt::UserRole.
    std::function<QAbstractItemModel*(RelationshipKind kind)> relationshipList;
    // The relationship commands; row is the selected row of the folder's list, -1 for none. True
    // when something changed (the folder's list is then shown again).
    std::function<bool(QWidget* parent, RelationshipKind kind)> addRelationship;
    std::function<bool(QWidget* parent, RelationshipKind kind, int row)> editRelationship;
    std::function<bool(QWidget* parent, RelationshipKind kind, int row)> deleteRelationship;
    std::function<void(QWidget* parent, long physicianUserId)> viewAllRelationships;
    // Removes the relationships of a user being deleted (its surrogate and cosigner entries).
    std::function<void(long userId)> removeUserRelationships;
    // The confirmation lines of a user being deleted: "This user is a surrogate for the following
    // users: …" and "This user is in a cosigner or resident relationship with the following users: …".
    std::function<std::vector<std::string>(long userId)> relationshipLinesForDelete;

    // ---- messages and locked reports --------------------------------------------------------
    std::function<void(QWidget* parent, const std::vector<long>& userIds)> sendMessage;
    std::function<void(QWidget* parent)> lockedReports;

    // ---- physicians -------------------------------------------------------------------------
    // "Physician" in the new-user choice: picks the physician profile the new user is linked to and
    // fills the user's physician id and names; false for Cancel.
    std::function<bool(QWidget* parent, clsUser& user)> choosePhysician;
    // Opens the profile of a physician user's physician.
    std::function<void(QWidget* parent, long physicianId)> openPhysician;

    // ---- the main window -----------------------------------------------------------------
    std::function<void(const QString& text)> status;       // the status bar text while loading
    std::function<void(QWidget* parent)> openUserPolicies; // "User Policies..."
};

} // namespace users
