#pragma once

#include "clsPhysicianRecord.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace physicians {

// An identifier of the physician in another system (Physician_external_ids).
struct PhysicianExternalId {
    int source_type = 0; // 1 speech recognition user, 2 dictation device author, 3 Speech Machines
    std::string source_physician_id;
    int sort_order = 0;
};

// The source names stored with each external id type.
const char* ExternalSourceName(int sourceType);

// One physician: a record per account, keyed by the account number as text ("-1" for the record
// of all accounts), in the order they were added.
class clsPhysicianRecords {
public:
    [[nodiscard]] size_t Count() const { return m_records.size(); }
    clsPhysicianRecord& Add(const clsPhysicianRecord& record); // replaces a record of the same key
    void Remove(const std::string& key);
    void RemoveAll();
    [[nodiscard]] clsPhysicianRecord* Item(const std::string& key);
    [[nodiscard]] const clsPhysicianRecord* Item(const std::string& key) const;
    [[nodiscard]] std::vector<clsPhysicianRecord>& records() { return m_records; }
    [[nodiscard]] const std::vector<clsPhysicianRecord>& records() const { return m_records; }

    std::vector<PhysicianExternalId> externalIds;

private:
    std::vector<clsPhysicianRecord> m_records;
    std::unordered_map<std::string, size_t> m_index;
};

// ---- loading ------------------------------------------------------------------------------
// The statements of a load, in the order they are sent.
std::string PhysicianMainQuery(long physicianId);
std::string PhysicianExtendedQuery(long physicianId);
std::string PhysicianExternalIdsQuery(long physicianId);
std::string PhysicianAddendumsQuery(long physicianId);
std::string PhysicianWeightingQuery(long physicianId);

// Reads one physician: a record for each live account it belongs to (the account's own rows, or
// the -1 rows where it has none). False after a failed statement (the session showed why); the
// physician's partition becomes the one the partition predicates read.
bool LoadPhysician(long physicianId, clsPhysicianRecords& physician);

// Reads the physician's values for all accounts (its -1 rows) and whether it is a member of all
// accounts. False after a failed statement; record_initialized is false when the physician has
// no -1 row (the record then holds the defaults).
bool LoadAllAccountsRecord(long physicianId, clsPhysicianRecord& record, bool& memberOfAllAccounts);

// ---- saving -------------------------------------------------------------------------------
struct PhysicianSaveRequest {
    long physician_id = 0;     // 0: a new physician, which gets its id from Physician_identifier
    bool deleted = false;      // is_deleted of the profile
    std::string changedByUser; // the logged-in user's name, stored as the last to change it
    const clsPhysicianRecords* physician = nullptr;
    // The membership rows written: the one -1 row (true) or one per written account record.
    bool memberOfAllAccounts = false;
};

// The id a new physician gets; -1 after a failure (shown by the session).
long NewPhysicianId();
// The save batch of one physician whose id is known.
std::string PhysicianSaveBatch(const PhysicianSaveRequest& request, bool isNew);
// Saves the physician all or nothing and logs it; returns the physician's id, or -1 when nothing
// was written (the session showed why; the records in memory are as the user left them).
long SavePhysician(PhysicianSaveRequest request);
// The same for any physician, the default one (-1) included: true when written; a new physician's
// id is then in request.physician_id.
bool SavePhysicianRecords(PhysicianSaveRequest& request);

} // namespace physicians
