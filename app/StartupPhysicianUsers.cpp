// The physician side of User Management: the profile a new physician user is linked to, and the
// profile of a physician user opened from the user list.

#include "General_MDI.h"
#include "LoginComponent.h"
#include "MessageService.h"
#include "PP_Choose_Phys.h"
#include "PP_Phys_List.h"
#include "Startup.h"
#include "UA_User_Mgmt.h"
#include "modPhysicianList.h"

namespace app {

void Startup::wirePhysicianUsers(users::UA_User_Mgmt& screen) {
    // The new user starts with the physician's names and partition; the user editor shows them and
    // the save links the profile back to the user.
    screen.hooks.choosePhysician = [this, &screen](QWidget* parent, users::clsUser& user) {
        physicians::PP_Choose_Phys chooser(m_login, parent);
        if (!chooser.LoadForm() || screen.runDialog(chooser) != QDialog::Accepted)
            return false;
        const physicians::clsPhysicianSummaryRecord* physician = chooser.Chosen();
        if (!physician)
            return false;
        user.m_lngPhysicianId = physician->physician_id;
        user.m_strFirstName = physician->first_name;
        user.m_strLastName = physician->last_name;
        user.Partition_ID(physician->Partition_ID);
        return true;
    };
    // The profile opens as the physician list opens it, with the same access rule and the same
    // editor hooks; User Management comes back to the front afterwards.
    screen.hooks.openPhysician = [this, &screen](QWidget*, long physicianId) {
        const std::string refusal = physicians::ListCommandRefusal(physicians::ListCommand::Edit);
        if (!refusal.empty()) {
            platform::MsgBox(refusal, platform::MsgButtons::OK, platform::MsgIcon::Exclamation,
                             physicians::kSecurityTitle);
            return;
        }
        physicians::PP_Phys_List* list = openPhysicianList();
        if (list->openEditor)
            list->openEditor({physicianId});
        m_window.raiseScreen(m_userManagement);
    };
}

} // namespace app
