#include "UserImportPreview.h"

#include "Configuration.h"
#include "DatabaseSession.h"
#include "LoginComponent.h"
#include "PasswordCipher.h"
#include "Text.h"
#include "UserFieldLimits.h"
#include "UserMgmtData.h"
#include "Utf8.h"
#include "clsPartition.h"
#include "modPartition.h"
#include "modSecurityGroups.h"
#include "modUserStore.h"

#include <random>

namespace users {

namespace {

struct FieldInfo {
    ImportField field;
    const char* label;
    size_t maxChars; // 0: no limit of its own (the editor's rules check it)
};

constexpr FieldInfo kFields[] = {
    {ImportField::UserName, "User Name", kUserNameChars},
    {ImportField::FirstName, "First Name", kFirstNameChars},
    {ImportField::LastName, "Last Name", kNameChars},
    {ImportField::UserType, "User Type", 0},
    {ImportField::Partition, "Partition", 0},
    {ImportField::UserPolicy, "User Policy", 0},
    {ImportField::Groups, "Groups", 0},
    {ImportField::Initials, "Initials", kInitialsChars},
    {ImportField::LocationCode, "Location Code", kLocationChars},
    {ImportField::DictationId, "Dictation ID", kDictationChars},
    {ImportField::MisNumber, "MIS Number", kMisChars},
    {ImportField::MustChangePassword, "Must Change Password", 0},
    {ImportField::Password, "Password", 0},
};

// The editor's own captions name the same columns.
constexpr std::pair<const char*, ImportField> kAliases[] = {
    {"VELTRA PASSWORD", ImportField::Password},
    {"MUST CHANGE PASSWORD AT NEXT LOGON", ImportField::MustChangePassword},
};

// As the server compares names: case and trailing blanks do not count.
std::string nameKey(const std::string& text) {
    std::string s = text;
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return foundation::upperText(s);
}

std::string headerKey(const std::string& text) {
    std::string s = foundation::trimText(text);
    if (!s.empty() && s.back() == ':')
        s.pop_back();
    return foundation::upperText(foundation::trimText(s));
}

struct TypeChoice {
    bool transcriptionist = false, paxlet = false, voiceToText = false;
};

std::optional<TypeChoice> parseUserType(const std::string& cell, std::string& error) {
    const std::string k = nameKey(foundation::trimText(cell));
    if (k.empty() || k == "GENERAL USER" || k == "GENERAL")
        return TypeChoice{};
    if (k == "TRANSCRIPTIONIST")
        return TypeChoice{true, false, false};
    if (k == "VELTRA EXPERT")
        return TypeChoice{false, false, true};
    if (k == "PHYSICIAN" || k == "PHYSICIAN USER")
        error = "Physician users are linked to a physician profile: add them from User Management.";
    else
        error = "User Type must be General User, Transcriptionist or Veltra Expert, not \"" + cell + "\".";
    return std::nullopt;
}

std::optional<bool> parseYesNo(const std::string& cell) {
    const std::string k = foundation::upperText(foundation::trimText(cell));
    if (k.empty() || k == "N" || k == "NO" || k == "FALSE" || k == "0" || k == "OFF")
        return false;
    if (k == "1" || foundation::Configuration::AffermativeValue(k))
        return true;
    return std::nullopt;
}

std::vector<std::string> splitList(const std::string& cell) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= cell.size()) {
        size_t end = cell.find_first_of(",;", start);
        if (end == std::string::npos)
            end = cell.size();
        const std::string item = foundation::trimText(cell.substr(start, end - start));
        if (!item.empty())
            out.push_back(item);
        start = end + 1;
    }
    return out;
}

// The row's cells by field; a column the file lacks reads as missing.
class RowCells {
public:
    RowCells(const ImportColumns& columns, const std::vector<std::string>& fields) {
        for (size_t i = 0; i < columns.fields.size() && i < fields.size(); ++i)
            m_cells[static_cast<size_t>(columns.fields[i])] = &fields[i];
    }
    [[nodiscard]] bool Present(ImportField f) const { return m_cells[static_cast<size_t>(f)] != nullptr; }
    [[nodiscard]] const std::string& operator[](ImportField f) const {
        static const std::string empty;
        const std::string* cell = m_cells[static_cast<size_t>(f)];
        return cell ? *cell : empty;
    }
    // A cell that holds something: empty cells of an update keep the stored value.
    [[nodiscard]] bool Given(ImportField f) const { return !(*this)[f].empty(); }

private:
    const std::string* m_cells[std::size(kFields)] = {};
};

class RowChecker {
public:
    RowChecker(const ImportColumns& columns, const UserImportSite& site, const UserImportOptions& options)
        : m_columns(columns), m_site(site), m_options(options) {}

    UserImportRow Check(const CsvRecord& record);

private:
    UserImportRow error(UserImportRow& row, std::string message) {
        row.outcome = ImportOutcome::Error;
        row.message = std::move(message);
        return row;
    }
    std::optional<long> findPartition(const std::string& name) const {
        const std::string key = nameKey(name);
        for (const auto& [id, partition] : m_site.partitions)
            if (nameKey(partition) == key)
                return id;
        return std::nullopt;
    }
    const clsUserPolicy* findPolicy(long id) const {
        for (const clsUserPolicy& p : *m_site.policies)
            if (p.m_bytPolicyId == id)
                return &p;
        return nullptr;
    }
    const clsUserPolicy* findPolicy(const std::string& name) const {
        const std::string key = nameKey(name);
        for (const clsUserPolicy& p : *m_site.policies)
            if (nameKey(p.m_strPolicyName) == key)
                return &p;
        return nullptr;
    }
    // A custom group the administrator sees: one of its partitions' or shared into it.
    const clsSecurityGroup* findGroup(const std::string& name) const {
        const std::string key = nameKey(name);
        for (const clsSecurityGroup& g : *m_site.groups)
            if (nameKey(g.m_strGroupName) == key && !IsBuiltInGroupName(g.m_strGroupName) &&
                (!g.Read_Only() || g.Is_Shared()))
                return &g;
        return nullptr;
    }
    std::vector<long> groupsOf(long userId) const {
        std::vector<long> out;
        for (const clsSecurityGroup& g : *m_site.groups)
            if (g.IsMember(userId) && !IsBuiltInGroupName(g.m_strGroupName))
                out.push_back(g.m_lngGroupId);
        return out;
    }

    const ImportColumns& m_columns;
    const UserImportSite& m_site;
    const UserImportOptions& m_options;
    std::unordered_map<std::string, long> m_seenNames, m_seenTransIds;
};

UserImportRow RowChecker::Check(const CsvRecord& record) {
    UserImportRow row;
    row.line = record.line;
    const RowCells cells(m_columns, record.fields);
    row.userName = foundation::upperText(cells[ImportField::UserName]);
    if (record.fields.size() > m_columns.fields.size())
        return error(row, "The line has more fields than the header row.");
    for (const FieldInfo& info : kFields)
        if (info.maxChars && platform::utf8Length(cells[info.field]) > info.maxChars)
            return error(row, std::string(info.label) + " cannot be longer than " + std::to_string(info.maxChars) +
                                  " characters.");
    std::string message;
    std::optional<TypeChoice> type = parseUserType(cells[ImportField::UserType], message);
    if (!type)
        return error(row, message);
    const std::optional<bool> mustChange = parseYesNo(cells[ImportField::MustChangePassword]);
    if (!mustChange)
        return error(row,
                     "Must Change Password must be Yes or No, not \"" + cells[ImportField::MustChangePassword] + "\".");

    // The same name twice in the file: the second line would overwrite or collide with the first.
    const std::string key = nameKey(row.userName);
    if (!key.empty()) {
        const auto [seen, fresh] = m_seenNames.emplace(key, row.line);
        if (!fresh)
            return error(row, "User name " + row.userName + " appears more than once in the file (first on line " +
                                  std::to_string(seen->second) + ").");
    }
    const auto taken = key.empty() ? m_site.takenNames.end() : m_site.takenNames.find(key);
    const clsUser* existing = nullptr;
    if (taken != m_site.takenNames.end() && taken->second > 0) {
        existing = m_site.users->Item(clsUsers::Key(taken->second));
        if (existing && !m_options.updateExisting) {
            row.outcome = ImportOutcome::Skip;
            return row;
        }
    }
    const bool isNew = existing == nullptr;

    // The names the row refers to.
    std::optional<long> partition =
        isNew ? std::optional<long>(m_site.ownPartition) : std::optional<long>(existing->Partition_ID());
    if (cells.Present(ImportField::Partition)) {
        const std::string& name = cells[ImportField::Partition];
        if (name.empty())
            partition = isNew ? std::nullopt : partition; // rule 7 speaks for a new user
        else if (!(partition = findPartition(name)))
            return error(row, "Partition " + name + " does not exist or is not visible to you.");
    }
    const clsUserPolicy* policy = findPolicy(isNew ? 0 : existing->m_bytUserPolicy);
    if (cells.Given(ImportField::UserPolicy) && !(policy = findPolicy(cells[ImportField::UserPolicy])))
        return error(row, "User policy " + cells[ImportField::UserPolicy] + " does not exist.");
    if (!isNew && !cells.Given(ImportField::UserType)) {
        type->voiceToText = existing->m_blnVoiceToText;
        type->paxlet = existing->m_lngPhysicianId > 0;
        type->transcriptionist = !existing->m_strTransId.empty() && !type->voiceToText && !type->paxlet;
    }
    if (!isNew && existing->m_lngPhysicianId > 0 && !type->paxlet)
        return error(row, "Physician users are linked to a physician profile: change their type in User Management.");

    // The editor's OK rules on what its boxes would hold.
    UserEditForm form;
    form.isNew = isNew;
    form.userName = cells[ImportField::UserName];
    form.firstName =
        cells.Given(ImportField::FirstName) || isNew ? cells[ImportField::FirstName] : existing->m_strFirstName;
    form.lastName =
        cells.Given(ImportField::LastName) || isNew ? cells[ImportField::LastName] : existing->m_strLastName;
    std::string password = cells[ImportField::Password];
    if (isNew && password.empty() && m_options.generatePasswords) {
        static const clsUserPolicy fallback;
        row.generatedPassword = GeneratePassword(policy ? *policy : fallback);
        password = row.generatedPassword;
    }
    form.password = form.confirmPassword = isNew || !password.empty() ? password : kPasswordPlaceholder;
    form.signaturePassword = form.confirmSignaturePassword = isNew ? "" : kPasswordPlaceholder;
    form.transcriptionist = type->transcriptionist;
    form.paxlet = type->paxlet;
    form.voiceToText = type->voiceToText;
    form.partitionId = partition;
    form.promptScript =
        isNew || existing->m_strPromptScript.empty() ? kDefaultPromptScript : existing->m_strPromptScript;
    form.policy = policy;
    if (!isNew) {
        form.storedUserName = existing->m_strUserName;
        form.storedPassword = existing->m_strPassword;
        form.storedSignaturePassword = existing->m_strSignaturePassword;
        form.existingTransId = existing->m_strTransId;
        form.storedPartitionId = existing->Partition_ID();
        form.mustChangeSignaturePassword = existing->m_blnMustChangeSignaturePassword;
    }
    // The import asks nothing: a question the editor would ask refuses the row with its text.
    std::string question;
    UserEditPrompts prompts;
    prompts.ask = [&question](const std::string& text, const std::string&) {
        question = text;
        return false;
    };
    if (const auto failure = CheckUserEdit(form, m_site.context, prompts))
        return error(row, failure->message.empty() ? question : failure->message);

    if (isNew && taken != m_site.takenNames.end())
        return error(row, kNameTaken);
    clsUser user;
    if (existing) {
        if (existing->Read_Only())
            return error(row, "Shared users cannot be edited");
        user.CopyClass(*existing);
    } else {
        user.m_blnEnabled = true;
        user.m_blnNotPaxLet = true;
    }
    if (const std::string refusal = AdminAuthorityRefusal(m_site.acting, user); !refusal.empty())
        return error(row, refusal);

    // The form copied into the user as the editor's OK copies it.
    UserEditChanges& changes = row.changes;
    changes.oldPartitionId = isNew ? *partition : user.Partition_ID();
    user.m_strUserName = row.userName;
    if (!PasswordUnchanged(form.password)) {
        changes.passwordChanged = !isNew || !form.password.empty();
        user.m_strPassword = form.password;
    }
    user.m_strFirstName = form.firstName;
    user.m_strLastName = form.lastName;
    if (cells.Present(ImportField::MustChangePassword)) {
        changes.mustChangeChanged = !isNew && user.m_blnMustChangePassword != *mustChange;
        user.m_blnMustChangePassword = *mustChange;
    }
    user.m_bytUserPolicy = static_cast<unsigned char>(policy ? policy->m_bytPolicyId : 0);
    user.Partition_ID(*partition);
    user.m_blnVoiceToText = form.voiceToText;
    user.m_strPromptScript = form.promptScript;
    if (form.transcriptionist || form.voiceToText) {
        user.m_strTransId = platform::utf8Left(row.userName, 8);
        const auto take = [&cells](ImportField f, std::string& member) {
            if (cells.Given(f))
                member = cells[f];
        };
        take(ImportField::Initials, user.m_strInitials);
        take(ImportField::LocationCode, user.m_strLocationCode);
        take(ImportField::DictationId, user.m_strDictationId);
        take(ImportField::MisNumber, user.m_strMisNbr);
        changes.writeTransRecord = true;
        const auto [seen, fresh] = m_seenTransIds.emplace(nameKey(user.m_strTransId), row.line);
        if (!fresh)
            return error(row, "The first 8 characters of the user name match those of line " +
                                  std::to_string(seen->second) + ": both would share Transcriptionist ID " +
                                  user.m_strTransId + ".");
    }

    // Groups last: whether the user may join one depends on its kind and partition.
    row.groupsBefore = isNew ? std::vector<long>{} : groupsOf(user.m_lngUserId);
    row.groupsAfter = row.groupsBefore;
    if (cells.Present(ImportField::Groups) && (isNew || cells.Given(ImportField::Groups))) {
        row.groupsAfter.clear();
        for (const std::string& name : splitList(cells[ImportField::Groups])) {
            const clsSecurityGroup* group = findGroup(name);
            if (!group)
                return error(row, "Group " + name + " does not exist or is not visible to you.");
            if (!UserMayJoinGroup(user, *group))
                return error(row,
                             "User " + row.userName + " cannot be a member of group " + group->m_strGroupName + ".");
            row.groupsAfter.push_back(group->m_lngGroupId);
        }
    }
    row.user = std::move(user);
    row.outcome = isNew ? ImportOutcome::New : ImportOutcome::Update;
    return row;
}

} // namespace

bool ImportColumns::Has(ImportField f) const {
    return std::find(fields.begin(), fields.end(), f) != fields.end();
}

const char* ImportFieldLabel(ImportField field) {
    return kFields[static_cast<size_t>(field)].label;
}

const char* ImportOutcomeText(ImportOutcome outcome) {
    switch (outcome) {
    case ImportOutcome::New:
        return "new";
    case ImportOutcome::Skip:
        return "exists (will be skipped)";
    case ImportOutcome::Update:
        return "exists (will be updated)";
    case ImportOutcome::Error:
        break;
    }
    return "error";
}

ImportColumns MapImportColumns(const std::vector<std::string>& header) {
    ImportColumns columns;
    std::string unknown, twice;
    for (const std::string& label : header) {
        const std::string key = headerKey(label);
        std::optional<ImportField> field;
        for (const FieldInfo& info : kFields)
            if (key == foundation::upperText(info.label))
                field = info.field;
        for (const auto& [alias, f] : kAliases)
            if (key == alias)
                field = f;
        if (!field) {
            unknown += (unknown.empty() ? "" : ", ") + ("\"" + label + "\"");
            continue;
        }
        if (columns.Has(*field) && twice.empty())
            twice = ImportFieldLabel(*field);
        columns.fields.push_back(*field);
    }
    if (!unknown.empty()) {
        std::string known;
        for (const FieldInfo& info : kFields)
            known += (known.empty() ? "" : ", ") + std::string(info.label);
        columns.error = "Unknown columns: " + unknown + ".  The columns an import file may have are: " + known + ".";
    } else if (!twice.empty()) {
        columns.error = "The column " + twice + " appears more than once.";
    } else if (!columns.Has(ImportField::UserName)) {
        columns.error = "The file has no User Name column.";
    }
    if (!columns.error.empty())
        columns.fields.clear();
    return columns;
}

size_t UserImportPreview::Count(ImportOutcome outcome) const {
    return static_cast<size_t>(
        std::count_if(rows.begin(), rows.end(), [outcome](const UserImportRow& r) { return r.outcome == outcome; }));
}

bool LoadImportSite(UserImportSite& site, clsUsers& users, clsSecurityGroups& groups, clsUserPolicies& policies) {
    if (!LoadActiveUsers(&users) || !LoadGroupsIntoCollection(&groups) || !LoadGroupMembers(groups) ||
        !policies.LoadAll())
        return false;
    site.users = &users;
    site.groups = &groups;
    site.policies = &policies;
    auto& s = foundation::DatabaseSession::instance();
    s.SQLStatement = "SELECT user_name, user_id, flag3, is_deleted FROM System_user_bindery";
    if (s.ExecSQL() != 1)
        return false;
    site.takenNames.clear();
    while (s.FetchRow() == 1) {
        const bool activeUser = s.GetColumnLong(3) == 0 && s.GetColumnLong(4) == 0;
        long& id = site.takenNames[nameKey(s.GetColumnText(1, 1))];
        if (activeUser)
            id = s.GetColumnLong(2);
    }
    const auto* login = physicians::Partitions().login;
    site.ownPartition = login ? login->user.Partition_ID : 0;
    if (login) {
        site.acting.system = login->user.is_administrator;
        site.acting.physician = login->user.is_paxlet_admin;
        site.acting.transcription = login->user.is_trans_admin;
    }
    site.partitions.clear();
    for (const auto& p : physicians::PartitionCache())
        if (p.Is_Under(site.ownPartition))
            site.partitions.emplace_back(p.Partition_ID(), p.Partition_Name());
    return true;
}

UserImportPreview PreviewUserImport(const UserCsvReader::Result& file, const UserImportSite& site,
                                    const UserImportOptions& options) {
    UserImportPreview preview;
    if (!file.error.empty()) {
        preview.error = file.error;
        return preview;
    }
    const ImportColumns columns = MapImportColumns(file.records.front().fields);
    if (!columns.error.empty()) {
        preview.error = columns.error;
        return preview;
    }
    RowChecker checker(columns, site, options);
    preview.rows.reserve(file.records.size() - 1);
    for (size_t i = 1; i < file.records.size(); ++i)
        preview.rows.push_back(checker.Check(file.records[i]));
    return preview;
}

std::string GeneratePassword(const clsUserPolicy& policy) {
    static constexpr char kLower[] = "abcdefghijkmnopqrstuvwxyz";
    static constexpr char kUpper[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
    static constexpr char kDigits[] = "23456789";
    static constexpr char kSymbols[] = "!#$%*?-"; // each one the policies count as a symbol
    std::random_device random;
    const auto pick = [&random](const char* set, size_t size) {
        return set[std::uniform_int_distribution<size_t>(0, size - 2)(random)];
    };
    const size_t length = std::clamp<size_t>(static_cast<size_t>(std::max(policy.m_intMinimumPasswordLength, 12)), 12,
                                             suite::PasswordCipher::kMaxPasswordLength);
    std::string p;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // One of each kind, the rest from all of them, then shuffled.
        p = {pick(kLower, sizeof kLower), pick(kUpper, sizeof kUpper), pick(kDigits, sizeof kDigits),
             pick(kSymbols, sizeof kSymbols)};
        while (p.size() < length) {
            const char* sets[] = {kLower, kUpper, kDigits};
            const size_t sizes[] = {sizeof kLower, sizeof kUpper, sizeof kDigits};
            const size_t k = std::uniform_int_distribution<size_t>(0, 2)(random);
            p += pick(sets[k], sizes[k]);
        }
        std::shuffle(p.begin(), p.end(), random);
        std::string message;
        if (policy.IsPasswordOk("", p, p, false, policy.m_bytPolicyId, message))
            return p;
    }
    return p; // a policy no password satisfies: the row's check says why
}

} // namespace users
