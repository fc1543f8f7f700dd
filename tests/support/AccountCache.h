#pragma once

#include "LoginComponent.h"

#include <initializer_list>
#include <string>

namespace kdtest {

// A privilege set as the log-in holds it: 160 flags, each refused ('\x01') but the granted ones ('\x02').
inline std::string privileges(std::initializer_list<int> granted) {
    std::string set(160, '\x01');
    for (int n : granted)
        set[static_cast<size_t>(n)] = '\x02';
    return set;
}

// An account of the log-in's account cache, in a partition, with the account privileges granted.
inline suite::HospAccount account(long id, const char* name, long partition, bool deleted = false,
                                  std::initializer_list<int> granted = {}) {
    suite::HospAccount a;
    a.hosp_acct_id = id;
    a.hosp_acct_name = name;
    a.Partition_ID = partition;
    a.is_deleted = deleted;
    a.privilegeSet = privileges(granted);
    return a;
}

} // namespace kdtest
