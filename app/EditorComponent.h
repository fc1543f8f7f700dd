#pragma once

#include "LoginComponent.h"

#include <string>

namespace app {

// A suite editor component the menu creates by its name ("KDDDIEDT.clsDDIEditor"): the console
// hands it the configuration file and its login component and shows the component's form.
class EditorComponent {
public:
    virtual ~EditorComponent() = default;
    virtual void ShowForm() = 0;
    std::string KaldraINIFile;
    suite::LoginComponent* KdLoginPtr = nullptr;
};

} // namespace app
