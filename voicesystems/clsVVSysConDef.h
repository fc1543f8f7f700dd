#pragma once

#include "clsVVBrokenRules.h"

#include <functional>
#include <optional>
#include <string>

namespace voicesystems {

// One connection definition of a remote voice system (a voice_systems row). Passwords are held
// plain in memory and scrambled only on their way to the database.
class clsVVSysConDef {
public:
    clsVVSysConDef();
    clsVVSysConDef(const clsVVSysConDef& other);
    clsVVSysConDef& operator=(const clsVVSysConDef& other);

    // ---- properties (each setter re-checks its rule and marks the definition dirty) --------
    [[nodiscard]] int SystemId() const { return m_v.systemId; }
    void SetSystemId(int id) { m_v.systemId = id; }
    [[nodiscard]] const std::string& SystemName() const { return m_v.systemName; }
    void SetSystemName(const std::string& v);
    [[nodiscard]] int ConnectionType() const { return m_v.connectionType; }
    void SetConnectionType(int v);
    [[nodiscard]] const std::string& servername() const { return m_v.serverName; }
    void Setservername(const std::string& v);
    [[nodiscard]] const std::string& DatabaseName() const { return m_v.databaseName; }
    void SetDatabaseName(const std::string& v);
    [[nodiscard]] const std::string& UserName() const { return m_v.userName; }
    void SetUserName(const std::string& v);
    [[nodiscard]] const std::string& PasswordName() const { return m_v.passwordName; }
    void SetPasswordName(const std::string& v);
    [[nodiscard]] const std::string& ConnectionString() const { return m_v.connectionString; }
    void SetConnectionString(const std::string& v);
    [[nodiscard]] long AdminUserId() const { return m_v.adminUserId; }
    void SetAdminUserId(long v);
    [[nodiscard]] long AdminFacility() const { return m_v.adminFacility; }
    void SetAdminFacility(long v);
    [[nodiscard]] const std::string& AdminPassword() const { return m_v.adminPassword; }
    void SetAdminPassword(const std::string& v);

    // ---- state and edit protocol ---------------------------------------------------------
    [[nodiscard]] bool IsNew() const { return m_isNew; }
    [[nodiscard]] bool IsDirty() const { return m_isDirty; }
    [[nodiscard]] bool IsDeleted() const { return m_isDeleted; }
    [[nodiscard]] bool IsValid() const { return m_rules.Count() == 0; }
    void BeginEdit();
    void CancelEdit();
    // Writes the definition: INSERT when new, DELETE when marked deleted, UPDATE when changed.
    // false after the session showed the error.
    bool ApplyEdit();
    void Delete() { m_isDeleted = true; }

    [[nodiscard]] std::string GetConnectionString() const;
    [[nodiscard]] std::string GetConnectionStringSansPassword() const;
    [[nodiscard]] std::string GetErrString() const;
    [[nodiscard]] std::string GetTheServerNameToTest() const;
    [[nodiscard]] const clsVVBrokenRules& Rules() const { return m_rules; }

    // Events for the edit screen's OK button.
    std::function<void()> BrokenRule;
    std::function<void()> NoBrokenRules;
    // Whether another definition of the collection already has the name (set by the collection).
    std::function<bool(const std::string& name, const clsVVSysConDef* self)> NameTaken;

    // Builds a definition from a loaded row without marking it dirty or new.
    struct Values {
        int systemId = 0;
        std::string systemName;
        int connectionType = 0;
        std::string serverName, databaseName, userName, passwordName, connectionString;
        long adminUserId = 0, adminFacility = 0;
        std::string adminPassword;
        int flags[4] = {0, 0, 0, 0};
    };
    static clsVVSysConDef FromRow(const Values& v);
    [[nodiscard]] const Values& values() const { return m_v; }
    // The statement ApplyEdit sends for the definition's present state ("" when nothing to write).
    [[nodiscard]] std::string SaveStatement() const;
    void MarkOld() {
        m_isNew = false;
        m_isDirty = false;
        m_original = m_v;
    }
    // Re-checks every rule, as after loading or a change of connection type.
    void CheckRules();

    static constexpr const char* kProgramName = "KDADMIN";

private:
    void wireRules();
    void changed() { m_isDirty = true; }
    // The value as written: scrambled from schema version 7.57 on.
    [[nodiscard]] static std::string stored(const std::string& password);
    [[nodiscard]] std::string storedConnectionString() const;

    Values m_v;
    Values m_original; // as loaded or last saved: the name the row is found by
    std::optional<Values> m_saved;
    bool m_savedDirty = false;
    bool m_isNew = true, m_isDirty = false, m_isDeleted = false;
    clsVVBrokenRules m_rules;
};

// The table of rules and their messages, in the order GetErrString lists them.
struct VVRule {
    const char* name;
    const char* message;
};
extern const VVRule kVVSysConDefRules[9];

} // namespace voicesystems
