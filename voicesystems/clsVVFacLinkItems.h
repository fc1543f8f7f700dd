#pragma once

#include "clsVVFacLinkItem.h"

#include <memory>
#include <vector>

namespace voicesystems {

// Every facility link, ordered by system. Removed links stay, marked deleted, until ApplyEdit.
class clsVVFacLinkItems {
public:
    clsVVFacLinkItems() = default;
    clsVVFacLinkItems(const clsVVFacLinkItems&) = delete;
    clsVVFacLinkItems& operator=(const clsVVFacLinkItems&) = delete;

    bool Load(); // false after the session showed the error
    [[nodiscard]] static std::string LoadStatement();

    [[nodiscard]] int Count() const;
    [[nodiscard]] clsVVFacLinkItem* Item(int index); // 1-based, over the links not marked deleted
    [[nodiscard]] std::vector<clsVVFacLinkItem*> NewEnum();
    clsVVFacLinkItem* Add();
    void Remove(const clsVVFacLinkItem* item);

    void BeginEdit();
    void CancelEdit();
    bool ApplyEdit();
    void Delete();

    [[nodiscard]] bool SystemLinkedToAnyFacility(int systemId) const;
    // Whether another live link has the same system, facility and account as item.
    [[nodiscard]] bool ContainsMe(const clsVVFacLinkItem& item) const;

private:
    std::vector<std::unique_ptr<clsVVFacLinkItem>> m_items;
};

} // namespace voicesystems
