#pragma once

#include "clsUsers.h"

#include <string>
#include <vector>

namespace users {

// What an editor session changed beyond the columns of the user row.
struct UserEditChanges {
    bool passwordChanged = false;
    bool signaturePasswordChanged = false;
    bool mustChangeChanged = false;          // "Veltra password reset for …"
    bool mustChangeSignatureChanged = false; // "Signature password reset for …"
    long oldPartitionId = -1;                // differs from the user's partition when it moved
    long oldPhysicianId = 0;                 // the physician an edited user was linked to
    bool writeTransRecord = false;           // a transcriptionist or voice-to-text user
    // Custom groups the user joins and leaves in the same batch (the user import); the editor
    // writes its Groups tab after the save instead.
    std::vector<long> groupsJoined, groupsLeft;
};

// The statements of one editor save, sent together all or nothing. For a new user newId is the
// allocated id; for an existing one it is the user's own id.
std::string EditorSaveBatch(const clsUser& user, bool isNew, long newId, const UserEditChanges& changes,
                            const std::string& passwordHex, const std::string& signatureHex);

// Saves the editor's result for a new user: the name check, a new id, then the row, its partition's
// template configuration and the transcriptionist record in one all-or-nothing batch. On success
// user.m_lngUserId holds the new id, the user is in the collection and the log has its lines.
// On failure nothing is written, the collection is unchanged and the message was shown.
bool SaveNewUser(clsUser& user, const UserEditChanges& changes, clsUsers& collection = Users());

// Saves an edited user: the row, the changed-password stamps and, on a partition change, the moved
// configuration, the reset privileges and the physician profile's partition with its relationships
// removed, all or nothing; then the collection and the log follow.
bool SaveChangedUser(const clsUser& user, const UserEditChanges& changes, clsUsers& collection = Users());

} // namespace users
