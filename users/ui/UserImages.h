#pragma once

#include <QIcon>
#include <QString>

namespace users {

// The small pictures of the user and group lists, by the key clsUser::GetImage and
// clsSecurityGroup::GetImage give: "USER_NORMAL", "USER_SHARED", "USER_BORROWED", "USER_TECH" and
// the "GROUP_" keys of the same kinds. Each picture is drawn once and kept, so a list of tens of
// thousands of users shares four icons. An unknown key has no picture (a null icon).
class UserImages {
public:
    [[nodiscard]] static QIcon Image(const QString& key);
};

} // namespace users
