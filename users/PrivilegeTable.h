#pragma once

#include <span>
#include <string>
#include <vector>

namespace users {

// The sub-tab a privilege checkbox stands on. System privileges use all five; account and report
// type privileges use General and Transcription.
enum class PrivilegeTab { General, Transcription, Paxlet, VeltraDictation, VeltraExpert };

// One position of a privilege string with the checkbox that edits it. parent names the checkbox
// that enables this one (nullptr for an application privilege or a free-standing one); group is
// the label an account privilege stands under.
struct PrivilegeEntry {
    int position;
    const char* control;
    const char* caption;
    PrivilegeTab tab;
    const char* parent;
    const char* group;
    bool groupOnly; // shown only when a security group is edited
};

// The positions of the three privilege strings that the privileges screen edits, in position
// order. Positions absent here are not edited by the screen.
std::span<const PrivilegeEntry> SystemPrivilegeTable();
std::span<const PrivilegeEntry> AccountPrivilegeTable();
std::span<const PrivilegeEntry> ReportTypePrivilegeTable();

// The caption of a system privilege sub-tab.
const char* PrivilegeTabCaption(PrivilegeTab tab);

// The entry of a control name in one of the tables; nullptr when the table has none.
const PrivilegeEntry* FindPrivilegeEntry(std::span<const PrivilegeEntry> table, const std::string& control);

// Every entry the control enables, directly or through its own dependents, in table order.
std::vector<const PrivilegeEntry*> DependentsOf(std::span<const PrivilegeEntry> table, const std::string& control);

// System positions with special treatment on save: 15 is always written as not granted; the kept
// positions have no checkbox and are written back as they were loaded.
constexpr int kForcedOffSystemPosition = 15;
bool IsKeptSystemPosition(int position);

// Positions other screens and the main window test.
namespace priv {
constexpr int PhysicianProfiles = 8;
constexpr int ManagePhysicians = 9;
constexpr int TranscriptionDesktop = 14;
constexpr int JobPlayer = 86;
constexpr int EditDefaultPhysician = 91;
constexpr int AccountMembership = 10; // account position, set on groups
constexpr int AccountTranscriptionAccess = 3;
} // namespace priv

} // namespace users
