#include "SiteKeyOffer.h"

#include "Configuration.h"
#include "DatabaseSession.h"
#include "EventLog.h"
#include "MessageService.h"
#include "SiteKey.h"
#include "SiteRekey.h"
#include "SuiteConnection.h"

namespace app {

using platform::MsgBox;
using platform::MsgButtons;
using platform::MsgIcon;

bool OfferSiteKey(foundation::Configuration& config, foundation::DatabaseSession& session) {
    if (!config.siteKeyMissing)
        return true;
    const std::string title = config.applicationTitle;
    const auto answer =
        MsgBox("This site has no password key file (" + config.siteKeyPath +
                   ").  Stored passwords are read with the key of earlier releases, and no password can be saved "
                   "until the key file exists.\n\nCreate the key file now and write every stored password again "
                   "under it?",
               MsgButtons::YesNo, MsgIcon::Question, title);
    if (answer != platform::MsgAnswer::Yes)
        return false;
    const auto key = suite::SiteKey::Create(config.siteKeyPath);
    if (!key.ok()) {
        MsgBox(key.message, MsgButtons::OK, MsgIcon::Critical, title);
        return false;
    }
    // From here every value is readable whatever happens next: the new key reads nothing yet, and
    // the old values are still read with the old key.
    suite::PasswordCipher::UseSiteKey(key.key);
    config.siteKeyMissing = false;
    suite::SuiteConnection db;
    suite::SiteRekey::Report report;
    if (db.open(session.ConnectionString()))
        report = suite::SiteRekey::Run(db, config.iniPath, key.key);
    else
        report.error = db.lastError();
    if (!report.ok) {
        MsgBox("The password key file " + key.path +
                   " was created, but the stored passwords could not be written again under it: " + report.error +
                   "\n\nThey are still read as before.  Run \"kdsite rekey\" on the site to finish.",
               MsgButtons::OK, MsgIcon::Exclamation, title);
        return true;
    }
    const std::string text = "The password key file " + key.path + " was created.  " + report.summary();
    constexpr int kUserAdministration = 2; // System_log type
    constexpr int kInfo = 2;
    foundation::EventLog::LogEvent(foundation::EventLog::SystemLog, kUserAdministration, kInfo, 0, 0, 0, 0, 0, 0, -1, 0,
                                   text);
    MsgBox(text, MsgButtons::OK, MsgIcon::Information, title);
    return true;
}

} // namespace app
