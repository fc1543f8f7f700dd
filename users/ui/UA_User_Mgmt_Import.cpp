#include "UA_Import_Users.h"
#include "UA_User_Mgmt.h"

namespace users {

void UA_User_Mgmt::ImportUsers() {
    UA_Import_Users dialog(editContext, this);
    run(dialog);
    // The preview read the users afresh and the import added to them: the lists follow.
    if (!dialog.Preview().rows.empty())
        MyShow();
}

} // namespace users
