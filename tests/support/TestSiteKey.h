#pragma once

#include "PasswordCipher.h"

#include <string>

namespace testsupport {

// Every test program works as a console with its site key: a random key installed before the first
// test. A test that sets up a site folder places this key there so that start-up reads it back.
const suite::PasswordCipher::Key& TestSiteKey();
// Writes the key file under networkRoot/KALDRA/SYSTEM (mode 0600) and installs the key again.
void PlaceTestSiteKey(const std::string& networkRoot);

} // namespace testsupport
