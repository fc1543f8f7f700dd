#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace suite {
class LoginComponent;
}

namespace maintenance {

// The retention values of one account, in the order the purge checks visit them.
enum PurgeField {
    OutputQueue,  // days
    SystemLog,    // days
    TransStats,   // months; follows Document Information
    DocumentInfo, // months
    EditHistory,  // months
    Documents,    // months
    JobStats,     // months
    PatientAdt,   // months; the template row only, with the combined interface database
    VisitAdt,     // months; the same
    kPurgeFieldCount
};

// How long one account keeps each kind of data. The values are held as the text last typed, so a
// box holding letters or an out-of-range number is refused on OK instead of an older value being
// saved silently; values loaded from the database are written in decimal.
struct AccountPurgeTimes {
    long hosp_acct_id = 0;
    std::array<std::string, kPurgeFieldCount> value;
    bool listed = false;

    // The value as a 16-bit retention time: ASCII digits only, 0 to 32767; nothing otherwise.
    [[nodiscard]] std::optional<int> number(PurgeField f) const;
    // The value for comparisons of already checked values (0 when it is not a number).
    [[nodiscard]] int valueOr0(PurgeField f) const { return number(f).value_or(0); }
    // Document Information also sets the transcriptionist report statistics time.
    void set(PurgeField f, const std::string& text);
};

// The per-account purge times of Archive_table_purging, one record per entry of the account cache
// and indexed like it (1 to NumberHospAccounts).
class clsPurgeTimes {
public:
    static const char* const kLoadQuery;

    // Sizes the array to the cache and fills each record with its account id and the defaults; the
    // ADT defaults only on the template row -1 and only with the combined interface database.
    void Initialize(const suite::LoginComponent& accounts, bool combinedInterfaceDB);
    // Initialize, then the stored rows over the defaults; rows of accounts the cache does not hold
    // are skipped. False when the query failed.
    bool Load(const suite::LoginComponent& accounts, bool combinedInterfaceDB);
    // One statement per listed record, in account order; empty when nothing is listed or a listed
    // value is not a number.
    [[nodiscard]] std::string SaveStatement() const;
    // Runs SaveStatement once; false when it could not be built or failed.
    bool Save() const;

    [[nodiscard]] int Count() const { return static_cast<int>(m_colTimes.size()); }
    AccountPurgeTimes& At(int index) { return m_colTimes.at(static_cast<size_t>(index - 1)); }
    [[nodiscard]] const AccountPurgeTimes& At(int index) const { return m_colTimes.at(static_cast<size_t>(index - 1)); }
    [[nodiscard]] bool Empty() const { return m_colTimes.empty(); }

private:
    std::vector<AccountPurgeTimes> m_colTimes;
};

} // namespace maintenance
