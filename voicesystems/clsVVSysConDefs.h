#pragma once

#include "clsVVSysConDef.h"

#include <memory>
#include <vector>

namespace voicesystems {

// The connection definitions, in system id order. Removed definitions stay, marked deleted, until
// ApplyEdit deletes their rows.
class clsVVSysConDefs {
public:
    clsVVSysConDefs() = default;
    clsVVSysConDefs(const clsVVSysConDefs&) = delete;
    clsVVSysConDefs& operator=(const clsVVSysConDefs&) = delete;

    // id -1: every definition. false after the session showed the error.
    bool LoadById(int id);
    [[nodiscard]] static std::string LoadStatement(int id);

    [[nodiscard]] int Count() const; // definitions not marked deleted
    // 1-based, over the definitions not marked deleted.
    [[nodiscard]] clsVVSysConDef* Item(int index);
    [[nodiscard]] clsVVSysConDef* FindById(int id);
    [[nodiscard]] std::vector<clsVVSysConDef*> NewEnum();

    // A new definition with the next free system id (nullptr when all 256 are used).
    clsVVSysConDef* Add();
    void Remove(int index);
    void RemoveById(int id);
    void RemoveObj(const clsVVSysConDef* def);
    void RemoveObjById(int id) { RemoveById(id); }

    void BeginEdit();
    void CancelEdit();
    bool ApplyEdit();
    void Delete();

private:
    void adopt(clsVVSysConDef& def);
    std::vector<std::unique_ptr<clsVVSysConDef>> m_items;
};

} // namespace voicesystems
