#include "DictationPurgeCommand.h"

#include "SiteDatabase.h"

#include <ostream>

namespace tools {

namespace {

// The queue's size, or -1 when it cannot be read (the reason is in db.lastError()).
long queuedJobs(suite::SuiteConnection& db) {
    const auto rows = db.query("SELECT COUNT(*) FROM Dictation_purge_queue");
    if (!rows || rows->empty() || !rows->front().at(0))
        return -1;
    return std::stol(*rows->front().at(0));
}

} // namespace

int purgeDictationJobs(const std::string& folder, std::ostream& out, std::ostream& err) {
    suite::SuiteConnection db;
    if (!openSiteDatabase(folder, false, db, err))
        return 1;
    const auto found = db.query("SELECT COUNT(*) FROM sysobjects WHERE id = object_id('dbo.purge_dictation_jobs') AND "
                                "sysstat & 0xf = 4");
    if (!found) {
        err << "kdsite: " << db.lastError() << "\n";
        return 1;
    }
    if (found->empty() || found->front().at(0).value_or("0") == "0") {
        err << "kdsite: the site has no dbo.purge_dictation_jobs; it is written when the dictation purging "
               "criteria are saved in the console (Database Management, Dictation Purging)\n";
        return 1;
    }
    const long before = queuedJobs(db);
    if (before < 0 || !db.execute("EXEC dbo.purge_dictation_jobs")) {
        err << "kdsite: dictation purging failed: " << db.lastError() << "\n";
        return 1;
    }
    const long after = queuedJobs(db);
    if (after < 0) {
        err << "kdsite: " << db.lastError() << "\n";
        return 1;
    }
    out << "Dictation purging: " << after - before << " completed job" << (after - before == 1 ? "" : "s")
        << " queued; the purge queue holds " << after << ".\n";
    return 0;
}

} // namespace tools
