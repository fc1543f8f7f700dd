#pragma once

#include <string>
#include <vector>

namespace accounts {

// One transcriptionist activity ("pause") type, as the template account (-1) carries it.
struct clsPauseType {
    int pause_type = 0;
    std::string pause_description;
    int work_type = 0;           // 0 Non-work, 1 Transcription, 2 Other
    int work_hours_choice = 1;   // 1: offered on the work hours activity sheet
    int pause_reason_choice = 1; // 1: offered among the reasons for pausing
};

// The activity types of all accounts, kept alike like the suspension types.
class clsPauseTypes {
public:
    static constexpr int kDescriptionLength = 50; // characters

    bool Load(); // false after the session showed the error
    [[nodiscard]] const std::vector<clsPauseType>& Types() const { return m_types; }
    [[nodiscard]] const clsPauseType* Find(int type) const;
    // A new type takes the highest number in the list + 1 (1 for an empty list).
    [[nodiscard]] int NextNumber() const;

    static std::string ListQuery();
    static std::string InsertStatement(const clsPauseType& t);
    static std::string UpdateStatement(const clsPauseType& t);
    static std::string DeleteStatement(int type);
    static std::string ReferenceQuery(int type);

    enum class Reference { Free, Referenced, Failed };
    // Whether any Trans_activity row refers to the type.
    static Reference IsReferenced(int type);

    bool Add(const clsPauseType& t);
    bool Change(const clsPauseType& t);
    bool Remove(int type);

    static const char* WorkTypeName(int workType);

private:
    std::vector<clsPauseType> m_types;
};

} // namespace accounts
