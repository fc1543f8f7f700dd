#include "clsPurgeTimes.h"

#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "Numbers.h"

namespace maintenance {

using foundation::DatabaseSession;

std::optional<int> AccountPurgeTimes::number(PurgeField f) const {
    const std::string& text = value[static_cast<size_t>(f)];
    if (text.empty() || text.size() > 5)
        return std::nullopt;
    auto n = platform::parseDigits(text);
    if (!n || *n > 32767)
        return std::nullopt;
    return static_cast<int>(*n);
}

void AccountPurgeTimes::set(PurgeField f, const std::string& text) {
    value[static_cast<size_t>(f)] = text;
    if (f == DocumentInfo)
        value[TransStats] = text;
}

const char* const clsPurgeTimes::kLoadQuery =
    "SELECT hosp_acct_id, length_output_queue, length_system_log, length_trans_stats, length_document_info, "
    "length_edit_history, extra4, extra5, extra6, extra7 FROM Archive_table_purging";

void clsPurgeTimes::Initialize(const suite::LoginComponent& accounts, bool combinedInterfaceDB) {
    m_colTimes.assign(static_cast<size_t>(accounts.NumberHospAccounts()), AccountPurgeTimes{});
    for (int i = 1; i <= accounts.NumberHospAccounts(); ++i) {
        AccountPurgeTimes& t = At(i);
        t.hosp_acct_id = accounts.HospAccountAt(i).hosp_acct_id;
        t.value = {"30", "15", "48", "48", "48", "48", "48", "0", "0"};
        if (t.hosp_acct_id == -1 && combinedInterfaceDB)
            t.value[PatientAdt] = t.value[VisitAdt] = "48";
    }
}

bool clsPurgeTimes::Load(const suite::LoginComponent& accounts, bool combinedInterfaceDB) {
    Initialize(accounts, combinedInterfaceDB);
    auto& s = DatabaseSession::instance();
    s.SQLStatement = kLoadQuery;
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        const long id = s.GetColumnLong(1);
        const int index = accounts.GetAcctIndex(id);
        if (index < 1)
            continue;
        AccountPurgeTimes& t = At(index);
        // A column is read once: the driver hands each value over a single time.
        long v[11] = {};
        for (int c = 2; c <= 10; ++c)
            v[c] = s.GetColumnLong(c);
        auto text = [&](int c) { return std::to_string(v[c]); };
        t.value[OutputQueue] = text(2);
        t.value[SystemLog] = text(3);
        t.value[TransStats] = text(4);
        t.value[DocumentInfo] = text(5);
        t.value[EditHistory] = text(6);
        t.value[Documents] = v[7] == 0 ? t.value[DocumentInfo] : text(7);
        t.value[JobStats] = v[8] == 0 ? t.value[DocumentInfo] : text(8);
        if (id == -1 && combinedInterfaceDB) {
            t.value[PatientAdt] = text(9);
            t.value[VisitAdt] = text(10);
        }
    }
    return true;
}

std::string clsPurgeTimes::SaveStatement() const {
    std::string sql;
    for (const AccountPurgeTimes& t : m_colTimes) {
        if (!t.listed)
            continue;
        std::array<std::string, kPurgeFieldCount> v;
        for (size_t f = 0; f < kPurgeFieldCount; ++f) {
            auto n = t.number(static_cast<PurgeField>(f));
            if (!n)
                return "";
            v[f] = std::to_string(*n);
        }
        const std::string id = std::to_string(t.hosp_acct_id);
        sql += "IF EXISTS (SELECT hosp_acct_id FROM Archive_table_purging \n"
               "           WHERE hosp_acct_id = " +
               id +
               ")\n"
               " UPDATE Archive_table_purging\n"
               " SET length_output_queue =  " +
               v[OutputQueue] + ", \n     length_system_log   =  " + v[SystemLog] +
               ", \n     length_trans_stats  =  " + v[TransStats] +
               ", \n     length_document_info = " + v[DocumentInfo] +
               ", \n     length_edit_history =  " + v[EditHistory] + ", \n     extra4 =               " + v[Documents] +
               ", \n     extra5 =               " + v[JobStats] + ", \n     extra6 =               " + v[PatientAdt] +
               ", \n     extra7 =               " + v[VisitAdt] + "\n WHERE hosp_acct_id = " + id +
               "\nELSE \n INSERT Archive_table_purging VALUES(" + id + ", " + v[OutputQueue] + ", " + v[SystemLog] +
               ", " + v[TransStats] + ", " + v[DocumentInfo] + ", " + v[EditHistory] + ", 0, 0, 0, " + v[Documents] +
               ", " + v[JobStats] + ", " + v[PatientAdt] + ", " + v[VisitAdt] + ", 0, NULL, NULL)\n";
    }
    return sql;
}

bool clsPurgeTimes::Save() const {
    const std::string sql = SaveStatement();
    if (sql.empty())
        return false;
    return DatabaseSession::instance().RunStatement(sql);
}

} // namespace maintenance
