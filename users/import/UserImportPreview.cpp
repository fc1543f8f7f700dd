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
#include "modPhysicianList.h"
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
    {ImportField::AuthorId, "Author ID", 0},
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
        return TypeChoice{false, true, false};
    error = "User Type must be General User, Transcriptionist, Physician or Veltra Expert, not \"" + cell + "\".";
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

// The row's cells by field; a column the file lacks reads as missing, a cell holding kClearCell
// as empty and cleared.
class RowCells {
public:
    RowCells(const ImportColumns& columns, const std::vector<std::string>& fields) {
        for (size_t i = 0; i < columns.fields.size() && i < fields.size(); ++i) {
            const auto f = static_cast<size_t>(columns.fields[i]);
            m_cells[f] = &fields[i];
            m_cleared[f] = foundation::upperText(foundation::trimText(fields[i])) == "<CLEAR>";
        }
    }
    [[nodiscard]] bool Present(ImportField f) const { return m_cells[static_cast<size_t>(f)] != nullptr; }
    [[nodiscard]] const std::string& operator[](ImportField f) const {
        static const std::string empty;
        const std::string* cell = m_cells[static_cast<size_t>(f)];
        return cell && !Cleared(f) ? *cell : empty;
    }
    // A cell that holds a value: an empty cell of an update keeps the stored value.
    [[nodiscard]] bool Given(ImportField f) const { return !(*this)[f].empty(); }
    // A cell that empties the stored value of an update.
    [[nodiscard]] bool Cleared(ImportField f) const { return m_cleared[static_cast<size_t>(f)]; }
    // The field's value for the user: the cell's, else empty when cleared or new, else the stored one.
    [[nodiscard]] std::string Value(ImportField f, bool isNew, const std::string& stored) const {
        return Given(f) || Cleared(f) || isNew ? (*this)[f] : stored;
    }

private:
    const std::string* m_cells[std::size(kFields)] = {};
    bool m_cleared[std::size(kFields)] = {};
};

// The fields a cell may clear: the others always hold a value of their own.
constexpr ImportField kClearable[] = {ImportField::FirstName,   ImportField::LastName,  ImportField::UserPolicy,
                                      ImportField::Groups,      ImportField::Initials,  ImportField::LocationCode,
                                      ImportField::DictationId, ImportField::MisNumber, ImportField::Password};

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
    static bool seenByAdministrator(const clsSecurityGroup& g) {
        return !IsBuiltInGroupName(g.m_strGroupName) && (!g.Read_Only() || g.Is_Shared());
    }
    const clsSecurityGroup* findGroup(const std::string& name) const {
        const std::string key = nameKey(name);
        for (const clsSecurityGroup& g : *m_site.groups)
            if (nameKey(g.m_strGroupName) == key && seenByAdministrator(g))
                return &g;
        return nullptr;
    }
    const physicians::clsPhysicianSummaryRecord* findPhysician(const std::string& authorId) const {
        const auto it = m_site.physicianByAuthorId.find(nameKey(foundation::trimText(authorId)));
        return it == m_site.physicianByAuthorId.end() ? nullptr : m_site.physicians.Item(std::to_string(it->second));
    }
    std::string partitionName(long id) const {
        for (const auto& [partition, name] : m_site.partitions)
            if (partition == id)
                return name;
        return std::to_string(id);
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
    std::unordered_map<long, long> m_seenPhysicians; // physician id, line
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
    for (const FieldInfo& info : kFields)
        if (cells.Cleared(info.field) &&
            std::find(std::begin(kClearable), std::end(kClearable), info.field) == std::end(kClearable))
            return error(row, std::string(kClearCell) + " cannot be used in the " + info.label + " column.");
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
    if (cells.Cleared(ImportField::UserPolicy))
        policy = findPolicy(0L);
    if (!isNew && !cells.Given(ImportField::UserType)) {
        type->voiceToText = existing->m_blnVoiceToText;
        type->paxlet = existing->m_lngPhysicianId > 0;
        type->transcriptionist = !existing->m_strTransId.empty() && !type->voiceToText && !type->paxlet;
    }
    if (!isNew && existing->m_lngPhysicianId > 0 && !type->paxlet)
        return error(row, "Physician users are linked to a physician profile: change their type in User Management.");

    // A physician user is linked to the physician profile named by one of its author ids, as the
    // editor's Add User links the one chosen from the physicians without a user, and is placed in
    // that physician's partition.
    const physicians::clsPhysicianSummaryRecord* physician = nullptr;
    const std::string authorId = foundation::trimText(cells[ImportField::AuthorId]);
    if (!type->paxlet && !authorId.empty())
        return error(row, "Author ID is given for physician users only.");
    if (type->paxlet && !isNew) {
        if (existing->m_lngPhysicianId <= 0)
            return error(row, "A user becomes a physician user in User Management, where its physician profile is "
                              "chosen.");
        const auto* linked = authorId.empty() ? nullptr : findPhysician(authorId);
        if (!authorId.empty() && (!linked || linked->physician_id != existing->m_lngPhysicianId))
            return error(row, "The physician profile of a physician user is changed in User Management.");
    }
    if (type->paxlet && isNew) {
        if (authorId.empty())
            return error(row, "A physician user needs the Author ID of its physician profile.");
        physician = findPhysician(authorId);
        if (physician && physician->paxlet_user_id > 0)
            return error(row, "The physician with Author ID " + authorId + " already has a user.");
        if (!physician || !physicians::PhysicianMayGetUser(*physician, m_site.ownPartition))
            return error(row, "No physician with Author ID " + authorId + " is visible to you.");
        const auto [seen, fresh] = m_seenPhysicians.emplace(physician->physician_id, row.line);
        if (!fresh)
            return error(row, "The physician with Author ID " + authorId + " is linked to the user of line " +
                                  std::to_string(seen->second) + " already.");
        if (cells.Given(ImportField::Partition) && partition != physician->Partition_ID)
            return error(row, "A physician user is placed in the physician's partition, " +
                                  partitionName(physician->Partition_ID) + ".");
        partition = physician->Partition_ID;
    }

    // The editor's OK rules on what its boxes would hold.
    UserEditForm form;
    form.isNew = isNew;
    form.userName = cells[ImportField::UserName];
    // A new physician user without names takes the physician's, as the editor's form starts with them.
    form.firstName = physician && !cells.Given(ImportField::FirstName)
                         ? platform::utf8Left(physician->first_name, kFirstNameChars)
                         : cells.Value(ImportField::FirstName, isNew, isNew ? "" : existing->m_strFirstName);
    form.lastName = physician && !cells.Given(ImportField::LastName)
                        ? platform::utf8Left(physician->last_name, kNameChars)
                        : cells.Value(ImportField::LastName, isNew, isNew ? "" : existing->m_strLastName);
    std::string password = cells[ImportField::Password];
    if (isNew && password.empty() && m_options.generatePasswords) {
        static const clsUserPolicy fallback;
        row.generatedPassword = GeneratePassword(policy ? *policy : fallback);
        password = row.generatedPassword;
    }
    form.password = form.confirmPassword =
        isNew || !password.empty() || cells.Cleared(ImportField::Password) ? password : kPasswordPlaceholder;
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
    if (physician) {
        user.m_lngPhysicianId = physician->physician_id;
        user.m_blnNotPaxLet = false;
    }
    if (form.transcriptionist || form.voiceToText) {
        user.m_strTransId = platform::utf8Left(row.userName, 8);
        const auto take = [&cells, isNew](ImportField f, std::string& member) {
            member = cells.Value(f, isNew, member);
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
    if (cells.Present(ImportField::Groups) &&
        (isNew || cells.Given(ImportField::Groups) || cells.Cleared(ImportField::Groups))) {
        // The groups the administrator does not see stay as they are.
        row.groupsAfter.clear();
        for (const clsSecurityGroup& g : *m_site.groups)
            if (!seenByAdministrator(g) &&
                std::find(row.groupsBefore.begin(), row.groupsBefore.end(), g.m_lngGroupId) != row.groupsBefore.end())
                row.groupsAfter.push_back(g.m_lngGroupId);
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
    site.physiciansLoaded = false;
    return true;
}

bool LoadImportPhysicians(UserImportSite& site) {
    site.physicianByAuthorId.clear();
    if (!physicians::RetrievePhysiciansOfVisibleAccounts(site.physicians))
        return false;
    auto& s = foundation::DatabaseSession::instance();
    s.SQLStatement = "SELECT physician_id, source_physician_id FROM Physician_external_ids WHERE source_type = 2";
    if (s.ExecSQL() != 1)
        return false;
    while (s.FetchRow() == 1) {
        const long id = s.GetColumnLong(1);
        if (site.physicians.Item(std::to_string(id)))
            site.physicianByAuthorId[nameKey(s.GetColumnText(2, 1))] = id;
    }
    site.physiciansLoaded = true;
    return true;
}

UserImportPreview PreviewUserImport(const UserCsvReader::Result& file, UserImportSite& site,
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
    // The physicians are read only for a file that names them.
    if (columns.Has(ImportField::AuthorId) && !site.physiciansLoaded && !LoadImportPhysicians(site)) {
        preview.error = "The physicians could not be read.";
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
