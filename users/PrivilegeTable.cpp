#include "PrivilegeTable.h"

#include <algorithm>
#include <array>

namespace users {

namespace {

// The system privileges: positions of privilege_set1 in the user or group row.
constexpr PrivilegeEntry kSystem[] = {
    {0, "CHKSS", "Veltra Sort", PrivilegeTab::General, nullptr, nullptr, false},
    {1, "CHKSSOptions", "Can Change General Options", PrivilegeTab::General, "CHKSS", nullptr, false},
    {2, "CHKSSSchedules", "Can Change Schedules", PrivilegeTab::General, "CHKSS", nullptr, false},
    {3, "CHKDBMgt", "Database \\ Archive Mgmt", PrivilegeTab::General, nullptr, nullptr, false},
    {4, "CHKDBEdit", "Can Change Options", PrivilegeTab::General, "CHKDBMgt", nullptr, false},
    {5, "CHKDBStats", "Database Statistics", PrivilegeTab::General, "CHKDBMgt", nullptr, false},
    {6, "CHKReportEditor", "Report Configuration Editor", PrivilegeTab::General, nullptr, nullptr, false},
    {7, "CHKReportEditorChanges", "Can Change System Configurations", PrivilegeTab::General, "CHKReportEditor", nullptr,
     false},
    {8, "CHKPP", "Physician Profile Editor", PrivilegeTab::General, nullptr, nullptr, false},
    {9, "CHKPPEdit", "Can Manage Physicians", PrivilegeTab::General, "CHKPP", nullptr, false},
    {10, "CHKKD", "Management Reports", PrivilegeTab::General, nullptr, nullptr, false},
    {11, "CHKOR", "Output Tracking", PrivilegeTab::General, nullptr, nullptr, false},
    {12, "CHKRS", "Report Search - View Station", PrivilegeTab::General, nullptr, nullptr, false},
    {13, "CHKKDBilling", "Access to Billing and Payroll", PrivilegeTab::General, "CHKKD", nullptr, false},
    {14, "CHKED", "Transcription Desktop", PrivilegeTab::Transcription, nullptr, nullptr, false},
    {16, "CHKIncentive", "Incentive", PrivilegeTab::Transcription, nullptr, nullptr, false},
    {17, "CHKINOperator", "Operator Privileges", PrivilegeTab::Transcription, "CHKIncentive", nullptr, false},
    {18, "CHKINModifyHours", "Can Modify Hours", PrivilegeTab::Transcription, "CHKINOperator", nullptr, false},
    {19, "CHKINModifyLines", "Can Modify Lines Typed", PrivilegeTab::Transcription, "CHKINOperator", nullptr, false},
    {20, "CHKINModifyHoursWorked", "Can Modify Hours Worked", PrivilegeTab::Transcription, "CHKINOperator", nullptr,
     false},
    {21, "CHKINModifyOtherLines", "Can Modify Other Lines", PrivilegeTab::Transcription, "CHKINOperator", nullptr,
     false},
    {22, "CHKINModifyIncentLines", "Can Modify Incentive Lines", PrivilegeTab::Transcription, "CHKINOperator", nullptr,
     false},
    {23, "CHKINModifyIncentPay", "Can Modify Incentive Pay", PrivilegeTab::Transcription, "CHKINOperator", nullptr,
     false},
    {24, "CHKEDModifyWorkHours", "Can Modify Hours Worked", PrivilegeTab::Transcription, "CHKED", nullptr, false},
    {25, "CHKEDHoursPrompt", "Prompt For Hours Worked At Logoff", PrivilegeTab::Transcription, "CHKED", nullptr, false},
    {26, "CHKEDUpdateRoutines", "Can Manage Account and Physician Transcription Routines", PrivilegeTab::Transcription,
     "CHKED", nullptr, false},
    {27, "chkActivityTypes", "Activity and Suspension Types", PrivilegeTab::General, nullptr, nullptr, false},
    {28, "chkLineCountCfg", "Line Count Configurations", PrivilegeTab::General, nullptr, nullptr, false},
    {29, "chkSystemPrinters", "System Printer Mgmt", PrivilegeTab::General, nullptr, nullptr, false},
    {30, "chkMustSelectInactivityReason", "Must Select Reason For Inactivity Timeouts", PrivilegeTab::Transcription,
     "chkInactivity", nullptr, false},
    {31, "chkPaxlet", "Paxlet", PrivilegeTab::Paxlet, nullptr, nullptr, false},
    {32, "chkAllowUnsigning", "Allow Unsigning", PrivilegeTab::Paxlet, "chkPaxlet", nullptr, false},
    {33, "chkEditComments", "Can Create Text Comments", PrivilegeTab::Paxlet, "chkPaxlet", nullptr, false},
    {34, "chkEditReports", "Can Edit Reports", PrivilegeTab::Paxlet, "chkPaxlet", nullptr, false},
    {35, "chkExtendedViewing", "Extended Searching", PrivilegeTab::Paxlet, "chkPaxlet", nullptr, false},
    {36, "chkSystemLog", "System Log", PrivilegeTab::General, nullptr, nullptr, false},
    {37, "CHKST", "Veltra Transform", PrivilegeTab::Transcription, nullptr, nullptr, false},
    {38, "CHKSTAdmin", "Administrator Privileges", PrivilegeTab::Transcription, "CHKST", nullptr, false},
    {39, "CHKSTChangeDir", "Can Change Directories", PrivilegeTab::Transcription, "CHKSTAdmin", nullptr, false},
    {40, "CHKSTChangeUser", "Can Change Users", PrivilegeTab::Transcription, "CHKSTAdmin", nullptr, false},
    {41, "CHKSTDeselectFiles", "Can Deselect Files", PrivilegeTab::Transcription, "CHKSTAdmin", nullptr, false},
    {42, "CHKSTModifyDates", "Can Modify Dates", PrivilegeTab::Transcription, "CHKSTAdmin", nullptr, false},
    {43, "chkDictateComments", "Can Dictate Comments (not available for iPaxlet)", PrivilegeTab::Paxlet, "chkPaxlet",
     nullptr, false},
    {44, "chkInactivity", "Enable Inactivity Timeout", PrivilegeTab::Transcription, "CHKED", nullptr, false},
    {45, "chkINModifyIncentHours", "Can Modify Incentive Hours Worked", PrivilegeTab::Transcription, "CHKINOperator",
     nullptr, false},
    {46, "chkSTCanRunSchedule", "Can Run Schedule", PrivilegeTab::Transcription, "CHKST", nullptr, false},
    {47, "CHKRSLocalPrint", "Can Print to Local Printers", PrivilegeTab::General, "CHKRS", nullptr, false},
    {48, "CHKRSCopyPrint", "Can Print Standard Copies", PrivilegeTab::General, "CHKRS", nullptr, false},
    {49, "CHKRSOrigPrint", "Can Print Originals", PrivilegeTab::General, "CHKRS", nullptr, false},
    {50, "CHKRSFax", "Can Fax Copies", PrivilegeTab::General, "CHKRS", nullptr, false},
    {51, "CHKRSUpload", "Can Upload Reports", PrivilegeTab::General, "CHKRS", nullptr, false},
    {52, "CHKRSWatermarkPrint", "Can Print Watermark Copies", PrivilegeTab::General, "CHKRS", nullptr, false},
    {53, "CHKEDShift", "Prompt For Shift Continuations", PrivilegeTab::Transcription, "CHKED", nullptr, false},
    {54, "chkSTDisableEdit", "Disable Editing for Processed Reports", PrivilegeTab::Transcription, "CHKST", nullptr,
     false},
    {55, "CHKRSEmail", "Can Email Reports", PrivilegeTab::General, "CHKRS", nullptr, false},
    {56, "chkDictAllowKeepUnfinished", "Can Keep Unfinished Jobs On Exit", PrivilegeTab::VeltraDictation,
     "chkConsAccess", nullptr, false},
    {57, "chkDictAllowKeepNew", "Can Keep New Jobs On Exit", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {58, "chkDictAllowNonWorkPool", "Allow Non-work Pool Job Requests", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {59, "chkDictAllowJobIdRequest", "Can Request Jobs By Job ID", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {61, "chkDictAllowPhysRequest", "Can Request Jobs By Physician", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {62, "chkConsManageWorkpools", "Can Manage Work Pools", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {63, "chkConsAllowTransfers", "Allow Job Transfers", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {64, "chkConsChangeOwnWorkpool", "Can Change Own Work Pool", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {65, "chkConsChangeOtherWorkpool", "Can Change Others' Work Pool", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {66, "chkConsViewOtherJobs", "Can View Others' Jobs", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {67, "chkConsAssignJobsToSelf", "Can Assign Jobs To Self", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {68, "chkConsAssignJobsToOthers", "Can Assign Jobs To Others", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {69, "chkConsUnassignJobsToSelf", "Can Unassign Jobs From Self", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {70, "chkConsUnassignJobsToOthers", "Can Unassign Jobs From Others", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {71, "chkConsChangeJobPriority", "Can Change Job Priority", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {72, "chkConsChangeReportTypes", "Can Change Report Types", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {73, "chkConsChangeAuthors", "Can Change Authors", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr, false},
    {74, "chkConsEditExtendedJobInfo", "Can Edit Subject Information", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {75, "chkConsManageGlobalViews", "Can Manage Global Views And Searches", PrivilegeTab::VeltraDictation,
     "chkConsAccess", nullptr, false},
    {76, "chkConsForceJobReturns", "Can Force Job Returns", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {77, "chkConsAllowJobExporting", "Allow Job Exporting", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {78, "chkConsMarkJobsComplete", "Can Mark Jobs Complete", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {79, "chkConsMarkJobsUncomplete", "Can Mark Jobs Pending", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {80, "chkConsDeleteJobs", "Can Delete Jobs", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr, false},
    {81, "chkConsOperator", "Console Operator", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr, false},
    {82, "chkConsAccess", "Dictation Console", PrivilegeTab::VeltraDictation, nullptr, nullptr, false},
    {84, "chkEditDemographics", "Can Edit Demographics (not available for iPaxlet)", PrivilegeTab::Paxlet, "chkPaxlet",
     nullptr, false},
    {85, "chkAuditTrail", "Audit Trails", PrivilegeTab::General, nullptr, nullptr, false},
    {86, "chkK2Transcription", "Veltra Text Job Player", PrivilegeTab::VeltraDictation, nullptr, nullptr, false},
    {87, "chkDictAllowReturnJobs", "Can Return Work Pool Jobs", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {90, "CHKRSViewEdit", "", PrivilegeTab::General, "CHKRS", nullptr, false},
    {91, "chkPPDefaultPhys", "Can Edit Default Physician", PrivilegeTab::General, "CHKPP", nullptr, false},
    {92, "chkJobPlayerOnly", "Allow Job Player without Transcription", PrivilegeTab::VeltraDictation,
     "chkK2Transcription", nullptr, false},
    {93, "CHKHISDeficiency", "Only Access to HIS Deficiency", PrivilegeTab::General, "CHKKD", nullptr, false},
    {94, "CHKRSDictation", "Can Access Dictation", PrivilegeTab::General, "CHKRS", nullptr, false},
    {95, "chkSpeechRecCorrection", "Speech Recognition Correction", PrivilegeTab::VeltraDictation, "chkK2Transcription",
     nullptr, false},
    {96, "chkCanSkipSpeechRec", "Can Skip Speech Recognition", PrivilegeTab::VeltraDictation, "chkK2Transcription",
     nullptr, false},
    {97, "chkDictAllowSelectJob", "Allow \"Select Job\" from Job List", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {99, "chkVeltraExpert", "Veltra Expert", PrivilegeTab::VeltraExpert, nullptr, nullptr, false},
    {100, "chkFEManageRoutines", "Manage Shared Routines", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr,
     false},
    {101, "chkFEDemographics", "Access to Demographics Panel", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr,
     false},
    {102, "chkFEFullOutputAccess", "Full Access to Outputs", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr,
     false},
    {103, "chkFEViewAllOutputs", "Can View All Outputs", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr, false},
    {104, "chkFECanEditPhysOutputs", "Can Modify Physician (Field Based) Outputs", PrivilegeTab::VeltraExpert,
     "chkVeltraExpert", nullptr, false},
    {105, "chkFECanAddCustomOutputs", "Can Add Custom Outputs", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr,
     false},
    {106, "chkAllowJobEdits", "Can Access Edit Job Info Dialog", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {107, "chkAllowAutomatedJobEdits", "Automatically Update Changes to Dictation Related Fields",
     PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr, false},
    {108, "chkEDSendTo", "Can Access Word \"Send To\"", PrivilegeTab::Transcription, "CHKED", nullptr, false},
    {109, "chkEDPrintDraft", "Can Print Draft Copies", PrivilegeTab::Transcription, "CHKED", nullptr, false},
    {110, "chkConsListenAccess", "Can Listen To Jobs", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr, false},
    {111, "chkFESendToMT", "Can Send to MT", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr, false},
    {112, "chkFEAddText", "Can Add Text (Standard Mode)", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr,
     false},
    {113, "chkFENoDictate", "Can Delete Remaining Dictation (Standard Mode)", PrivilegeTab::VeltraExpert,
     "chkVeltraExpert", nullptr, false},
    {114, "chkFEPriority", "Can Prioritize Jobs", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr, false},
    {115, "chkFEAllowSpeech", "Can Access Speech Mode", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr, false},
    {116, "chkFEAdmin", "Veltra Expert Administrator", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr, false},
    {117, "chkFEChangeSettings", "Can Change Settings", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr, false},
    {118, "chkFEAccessPatientFocusView", "Access to Patient Focus View", PrivilegeTab::VeltraExpert, "chkVeltraExpert",
     nullptr, false},
    {119, "chkFEViewAllReports", "Can View All Reports", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr, false},
    {120, "chkFEAddCarbonCopies", "Disable Add Carbon Copies", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr,
     false},
    {121, "chkFEPrintDrafts", "Disable Print Drafts", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr, false},
    {122, "chkDisableJobPriorityPrompt", "Disable Job Priority Prompt", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {123, "chkAccessVeltraChart", "Can Access Veltra Chart", PrivilegeTab::General, nullptr, nullptr, false},
    {124, "chkEDAllowDemUpdates", "Allow Demographic Updates of Locked Reports", PrivilegeTab::Transcription, "CHKED",
     nullptr, false},
    {125, "chkFEDisableInsertRecordMode", "Disable Insert Record Mode", PrivilegeTab::VeltraExpert, "chkVeltraExpert",
     nullptr, false},
    {126, "chkCustHeadings", "Speech Recognition Headings Editor", PrivilegeTab::General, nullptr, nullptr, false},
    {127, "chkRsFaxToPersonalNumbers", "To Personal Numbers", PrivilegeTab::General, "CHKRSFax", nullptr, false},
    {128, "chkRsEmailToPersonalAddrs", "To Personal Addresses", PrivilegeTab::General, "CHKRSEmail", nullptr, false},
    {129, "chkEDAllowUnlRptForEditResign", "Allow Unlock Report for Editing and Re-signing",
     PrivilegeTab::Transcription, "CHKED", nullptr, false},
    {130, "chkCanChangeWorkPool", "Can Change Work Pool", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {131, "chkFEEditUntranscribedJobs", "Edit Untranscribed Jobs", PrivilegeTab::VeltraExpert, "chkVeltraExpert",
     nullptr, false},
    {132, "chkFEAddAddendums", "Can Dictate an Addendum for Transcription", PrivilegeTab::VeltraExpert,
     "chkVeltraExpert", nullptr, false},
    {133, "chkFEAddTextAddendums", "Can Create and Complete Addendum", PrivilegeTab::VeltraExpert, "chkVeltraExpert",
     nullptr, false},
    {134, "chkFEAllowLinkingAdditionalOrders", "Allow Linking Additional Orders", PrivilegeTab::VeltraExpert,
     "chkVeltraExpert", nullptr, false},
    {135, "chkViewUpload", "Can View Upload Interface Messages", PrivilegeTab::General, nullptr, nullptr, false},
    {136, "chkSchedInterface", "Veltra Expert Schedule", PrivilegeTab::VeltraExpert, nullptr, nullptr, false},
    {137, "chkSI_AllowMarkCancelled", "Cancelled", PrivilegeTab::VeltraExpert, "chkSchedInterface", nullptr, false},
    {138, "chkSI_AllowMarkNoShow", "No Show", PrivilegeTab::VeltraExpert, "chkSchedInterface", nullptr, false},
    {139, "chkSI_AllowMarkDVR", "Dictated on DVR", PrivilegeTab::VeltraExpert, "chkSchedInterface", nullptr, false},
    {140, "chkSI_SchedAccessGroup", "Group Memberships", PrivilegeTab::VeltraExpert, "chkSchedInterface", nullptr,
     false},
    {141, "chkSI_SchedAccessSelf", "Own Schedule Only", PrivilegeTab::VeltraExpert, "chkSchedInterface", nullptr,
     false},
    {142, "chkAllowReportingNonPartitionAccounts", "Allow Reporting on Other Partition's Accounts",
     PrivilegeTab::General, nullptr, nullptr, false},
    {143, "chkAllowReportingSubPartitions", "Allow Reporting on Sub-partition's Accounts", PrivilegeTab::General,
     nullptr, nullptr, false},
    {144, "chkFECanLogRecog", "Allow Logging Recognition Issue", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr,
     false},
    {145, "chkSuppressReturnUnfinished", "Disable Leave Unfinished", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {146, "chkReturnForReview", "Disable Return For Review", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
    {147, "CHKRSCanDeleteReports", "Can Delete Reports", PrivilegeTab::General, "CHKRS", nullptr, false},
    {148, "chkCanAccessLockedReports", "Access to Locked Reports", PrivilegeTab::General, nullptr, nullptr, false},
    {149, "chkEDCanManageAllRoutines", "Can Manage Other Users' Personal Routines", PrivilegeTab::Transcription,
     "CHKED", nullptr, false},
    {151, "CHKRSQaModule", "Can Access DO Ravadidoz Connector", PrivilegeTab::General, "CHKRS", nullptr, false},
    {152, "chkDisablePrintingFromiPaxlet", "Disable Printing from iPaxlet", PrivilegeTab::Paxlet, "chkPaxlet", nullptr,
     false},
    {153, "chkAllowBatchSigningIniPaxlet", "Allow Batch Signing in iPaxlet", PrivilegeTab::Paxlet, "chkPaxlet", nullptr,
     false},
    {154, "chkFEAllowEMRSpeech", "Can Access EMR Mode", PrivilegeTab::VeltraExpert, "chkVeltraExpert", nullptr, false},
    {155, "chkConsCanLoadRecognizedTextForEvalModeJobs", "Can Load Recognized Text for Eval Mode Jobs",
     PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr, false},
    {156, "chkEDCanManageFERoutines", "Can Manage Veltra Expert Routines", PrivilegeTab::Transcription, "CHKED",
     nullptr, false},
    {157, "chkConsCanViewReports", "Can View Reports", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr, false},
    {158, "chkConsCanEditCompletingUser", "Can Edit Completing User", PrivilegeTab::VeltraDictation, "chkConsAccess",
     nullptr, false},
    {159, "chkConsViewVoxEmrText", "Can View VoxEMR Text", PrivilegeTab::VeltraDictation, "chkConsAccess", nullptr,
     false},
};

constexpr const char* kVeltraSort = "Veltra Sort";
constexpr const char* kTranscriptionDesktop = "Transcription Desktop";
constexpr const char* kReportSearch = "Report Search - View Station / Dictation Console (non-transcriptionist)";
constexpr const char* kReportConfiguration = "Report Configuration";
constexpr const char* kVeltraChart = "Veltra Chart";
constexpr const char* kPhysicianProfile = "Physician Profile";

// The account privileges: positions of privilege_set1 in Privileges_accounts.
constexpr PrivilegeEntry kAccount[] = {
    {0, "CHKSSView", "General Viewing", PrivilegeTab::General, nullptr, kVeltraSort, false},
    {1, "CHKSSConfigs", "Change Batch Configurations", PrivilegeTab::General, "CHKSSView", kVeltraSort, false},
    {2, "CHKSSGenerate", "Generate Batches", PrivilegeTab::General, "CHKSSView", kVeltraSort, false},
    {3, "CHKEDAccess", "General Access", PrivilegeTab::Transcription, nullptr, kTranscriptionDesktop, false},
    {5, "CHKRSGenAccess", "General Search Access", PrivilegeTab::General, nullptr, kReportSearch, false},
    {6, "CHKRCRead", "Read Access", PrivilegeTab::General, nullptr, kReportConfiguration, false},
    {7, "CHKRCFull", "Full Access", PrivilegeTab::General, nullptr, kReportConfiguration, false},
    {8, "chkFCView", "Can View Chart", PrivilegeTab::General, nullptr, kVeltraChart, false},
    {9, "chkFCReprint", "Can Reprint", PrivilegeTab::General, "chkFCView", kVeltraChart, false},
    {10, "chkPDAddMembership",
     "Add Membership - for other partition users to add their physicians to this partition's account. (Set at "
     "group level)",
     PrivilegeTab::General, nullptr, kPhysicianProfile, true},
    {11, "chkPDEditContInfo", "Edit Contact Information", PrivilegeTab::General, nullptr, kPhysicianProfile, false},
    {12, "chkPDEditOutputs", "Edit Outputs", PrivilegeTab::General, nullptr, kPhysicianProfile, false},
    {13, "chkPDEditWeighting", "Edit Weighting", PrivilegeTab::General, nullptr, kPhysicianProfile, false},
};

// The report type privileges: positions of privilege_set1 in Privileges_report_types.
constexpr PrivilegeEntry kReportType[] = {
    {1, "CHKEDRead", "Read Access for Reports Created", PrivilegeTab::Transcription, nullptr, nullptr, false},
    {2, "CHKEDReadAll", "Read Access for All Reports", PrivilegeTab::Transcription, nullptr, nullptr, false},
    {3, "CHKEDCreate", "Create", PrivilegeTab::Transcription, nullptr, nullptr, false},
    {4, "CHKEDEdit", "Edit Access for Reports Created", PrivilegeTab::Transcription, nullptr, nullptr, false},
    {5, "CHKEDEditAll", "Edit Access for All Reports", PrivilegeTab::Transcription, nullptr, nullptr, false},
    {6, "CHKEDChangeCounts", "Can Change Line Counts", PrivilegeTab::Transcription, nullptr, nullptr, false},
    {7, "CHKRSView", "General View Access", PrivilegeTab::General, nullptr, nullptr, false},
    {8, "CHKEDQuality", "Send Complete Reports to Quality Assurance Status", PrivilegeTab::Transcription, nullptr,
     nullptr, false},
};

constexpr std::array kKeptSystemPositions{60, 83, 88, 89, 98, 150};

} // namespace

std::span<const PrivilegeEntry> SystemPrivilegeTable() {
    return kSystem;
}
std::span<const PrivilegeEntry> AccountPrivilegeTable() {
    return kAccount;
}
std::span<const PrivilegeEntry> ReportTypePrivilegeTable() {
    return kReportType;
}

const char* PrivilegeTabCaption(PrivilegeTab tab) {
    switch (tab) {
    case PrivilegeTab::General:
        return "General";
    case PrivilegeTab::Transcription:
        return "Transcription";
    case PrivilegeTab::Paxlet:
        return "Paxlet";
    case PrivilegeTab::VeltraDictation:
        return "Veltra Dictation";
    case PrivilegeTab::VeltraExpert:
        return "Veltra Expert";
    }
    return "";
}

const PrivilegeEntry* FindPrivilegeEntry(std::span<const PrivilegeEntry> table, const std::string& control) {
    auto it = std::find_if(table.begin(), table.end(), [&](const PrivilegeEntry& e) { return control == e.control; });
    return it == table.end() ? nullptr : &*it;
}

std::vector<const PrivilegeEntry*> DependentsOf(std::span<const PrivilegeEntry> table, const std::string& control) {
    std::vector<const PrivilegeEntry*> out;
    for (const auto& e : table) {
        // An entry depends on control when its chain of parents reaches it.
        for (const char* p = e.parent; p != nullptr;) {
            if (control == p) {
                out.push_back(&e);
                break;
            }
            const PrivilegeEntry* up = FindPrivilegeEntry(table, p);
            p = up ? up->parent : nullptr;
        }
    }
    return out;
}

bool IsKeptSystemPosition(int position) {
    return std::find(kKeptSystemPositions.begin(), kKeptSystemPositions.end(), position) != kKeptSystemPositions.end();
}

} // namespace users
