#pragma once

#include "clsPhysicianSummaryRecord.h"

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

namespace physicians {

// The physicians of one list, keyed by physician id, in the order the query gave them. The
// collection also counts the physicians marked deleted since the list was read.
class clsPhysicianSummaryRecords {
public:
    [[nodiscard]] size_t Count() const { return m_records.size(); }
    clsPhysicianSummaryRecord& Add(const clsPhysicianSummaryRecord& record); // replaces one with the same key
    void Remove(const std::string& key);
    void RemoveAll();
    [[nodiscard]] clsPhysicianSummaryRecord* Item(const std::string& key);
    [[nodiscard]] const clsPhysicianSummaryRecord* Item(const std::string& key) const;
    [[nodiscard]] const std::vector<clsPhysicianSummaryRecord>& records() const { return m_records; }
    [[nodiscard]] std::vector<clsPhysicianSummaryRecord>& records() { return m_records; }

    void IncrDeletedPhysCount() { ++m_deleted; }
    [[nodiscard]] size_t CountOfNonDeletedPhyscians() const { return m_records.size() - m_deleted; }

private:
    std::vector<clsPhysicianSummaryRecord> m_records;
    std::unordered_map<std::string, size_t> m_index;
    size_t m_deleted = 0;
};

// Which physicians the hidden filter lets through (cboHiddenPhysicians).
enum class HiddenFilter { VisibleOnly, HiddenOnly, All };

// The list statement of one account: the detailed form with every column the list shows, or the
// short form with the profile's columns only.
std::string PhysicianListQuery(long account, HiddenFilter hidden, bool detailed = true);
// Reads the list; false after a failure, which was shown with its message and leaves the list empty.
bool RetrievePhysicians(long account, HiddenFilter hidden, clsPhysicianSummaryRecords& list, bool detailed = true);

// ---- the status filter ----------------------------------------------------------------------
enum class StatusChoice { Include, Exclude, Only };

class StatusFilter {
public:
    StatusFilter() { m_choice.fill(StatusChoice::Include); }
    void Set(char letter, StatusChoice choice);
    [[nodiscard]] StatusChoice Get(char letter) const;
    // Shown when the row has every "Only" letter and none of the "Exclude" letters.
    [[nodiscard]] bool Passes(const clsPhysicianSummaryRecord& r) const;
    // "A, E, B, F, M, R, V" when every letter is included; otherwise the included and only letters.
    [[nodiscard]] std::string Text() const;

private:
    std::array<StatusChoice, 7> m_choice{};
};

} // namespace physicians
