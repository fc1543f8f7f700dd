#pragma once

#include <array>

// The privilege positions as the suite's applications read them, written out here independently of
// the console's table: index n holds the name of the checkbox that edits position n, or "" when no
// checkbox does. A table entry at a wrong position disagrees with this list.
namespace kdtest {

// clang-format off
inline const std::array<const char*, 160> kSystemControlAt = {
    "CHKSS", "CHKSSOptions", "CHKSSSchedules", "CHKDBMgt", "CHKDBEdit", "CHKDBStats", "CHKReportEditor",
    "CHKReportEditorChanges", "CHKPP", "CHKPPEdit", "CHKKD", "CHKOR", "CHKRS", "CHKKDBilling", "CHKED", "",
    "CHKIncentive", "CHKINOperator", "CHKINModifyHours", "CHKINModifyLines", "CHKINModifyHoursWorked",
    "CHKINModifyOtherLines", "CHKINModifyIncentLines", "CHKINModifyIncentPay", "CHKEDModifyWorkHours",
    "CHKEDHoursPrompt", "CHKEDUpdateRoutines", "chkActivityTypes", "chkLineCountCfg", "chkSystemPrinters",
    "chkMustSelectInactivityReason", "chkPaxlet", "chkAllowUnsigning", "chkEditComments", "chkEditReports",
    "chkExtendedViewing", "chkSystemLog", "CHKST", "CHKSTAdmin", "CHKSTChangeDir", "CHKSTChangeUser",
    "CHKSTDeselectFiles", "CHKSTModifyDates", "chkDictateComments", "chkInactivity", "chkINModifyIncentHours",
    "chkSTCanRunSchedule", "CHKRSLocalPrint", "CHKRSCopyPrint", "CHKRSOrigPrint", "CHKRSFax", "CHKRSUpload",
    "CHKRSWatermarkPrint", "CHKEDShift", "chkSTDisableEdit", "CHKRSEmail", "chkDictAllowKeepUnfinished",
    "chkDictAllowKeepNew", "chkDictAllowNonWorkPool", "chkDictAllowJobIdRequest", "", "chkDictAllowPhysRequest",
    "chkConsManageWorkpools", "chkConsAllowTransfers", "chkConsChangeOwnWorkpool", "chkConsChangeOtherWorkpool",
    "chkConsViewOtherJobs", "chkConsAssignJobsToSelf", "chkConsAssignJobsToOthers", "chkConsUnassignJobsToSelf",
    "chkConsUnassignJobsToOthers", "chkConsChangeJobPriority", "chkConsChangeReportTypes", "chkConsChangeAuthors",
    "chkConsEditExtendedJobInfo", "chkConsManageGlobalViews", "chkConsForceJobReturns", "chkConsAllowJobExporting",
    "chkConsMarkJobsComplete", "chkConsMarkJobsUncomplete", "chkConsDeleteJobs", "chkConsOperator", "chkConsAccess",
    "", "chkEditDemographics", "chkAuditTrail", "chkK2Transcription", "chkDictAllowReturnJobs", "", "",
    "CHKRSViewEdit", "chkPPDefaultPhys", "chkJobPlayerOnly", "CHKHISDeficiency", "CHKRSDictation",
    "chkSpeechRecCorrection", "chkCanSkipSpeechRec", "chkDictAllowSelectJob", "", "chkVeltraExpert",
    "chkFEManageRoutines", "chkFEDemographics", "chkFEFullOutputAccess", "chkFEViewAllOutputs",
    "chkFECanEditPhysOutputs", "chkFECanAddCustomOutputs", "chkAllowJobEdits", "chkAllowAutomatedJobEdits",
    "chkEDSendTo", "chkEDPrintDraft", "chkConsListenAccess", "chkFESendToMT", "chkFEAddText", "chkFENoDictate",
    "chkFEPriority", "chkFEAllowSpeech", "chkFEAdmin", "chkFEChangeSettings", "chkFEAccessPatientFocusView",
    "chkFEViewAllReports", "chkFEAddCarbonCopies", "chkFEPrintDrafts", "chkDisableJobPriorityPrompt",
    "chkAccessVeltraChart", "chkEDAllowDemUpdates", "chkFEDisableInsertRecordMode", "chkCustHeadings",
    "chkRsFaxToPersonalNumbers", "chkRsEmailToPersonalAddrs", "chkEDAllowUnlRptForEditResign", "chkCanChangeWorkPool",
    "chkFEEditUntranscribedJobs", "chkFEAddAddendums", "chkFEAddTextAddendums", "chkFEAllowLinkingAdditionalOrders",
    "chkViewUpload", "chkSchedInterface", "chkSI_AllowMarkCancelled", "chkSI_AllowMarkNoShow", "chkSI_AllowMarkDVR",
    "chkSI_SchedAccessGroup", "chkSI_SchedAccessSelf", "chkAllowReportingNonPartitionAccounts",
    "chkAllowReportingSubPartitions", "chkFECanLogRecog", "chkSuppressReturnUnfinished", "chkReturnForReview",
    "CHKRSCanDeleteReports", "chkCanAccessLockedReports", "chkEDCanManageAllRoutines", "", "CHKRSQaModule",
    "chkDisablePrintingFromiPaxlet", "chkAllowBatchSigningIniPaxlet", "chkFEAllowEMRSpeech",
    "chkConsCanLoadRecognizedTextForEvalModeJobs", "chkEDCanManageFERoutines", "chkConsCanViewReports",
    "chkConsCanEditCompletingUser", "chkConsViewVoxEmrText",
};

inline const std::array<const char*, 255> kAccountControlAt = {
    "CHKSSView", "CHKSSConfigs", "CHKSSGenerate", "CHKEDAccess", "", "CHKRSGenAccess", "CHKRCRead", "CHKRCFull",
    "chkFCView", "chkFCReprint", "chkPDAddMembership", "chkPDEditContInfo", "chkPDEditOutputs", "chkPDEditWeighting",
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
    "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "",
};

inline const std::array<const char*, 20> kReportTypeControlAt = {
    "", "CHKEDRead", "CHKEDReadAll", "CHKEDCreate", "CHKEDEdit", "CHKEDEditAll", "CHKEDChangeCounts", "CHKRSView",
    "CHKEDQuality", "", "", "", "", "", "", "", "", "", "", "",
};
// clang-format on

} // namespace kdtest
