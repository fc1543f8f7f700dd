#pragma once

#include <string>

namespace outputlog {

// One output as the list shows it (Output_queue joined to its document), kept in memory so the
// list sorts and the resend works without reading it again.
struct OutputRow {
    long m_lngOutputId = 0;
    long m_lngDocumentId = 0;
    long m_lngAccountId = 0;
    int m_intOutputType = 0;
    int m_intFlag1 = 0;
    std::string m_strOutputTime;
    int m_intKnownStatus = 0;
    int m_intErrorCode = 0;
    std::string m_strFirstName, m_strLastName;
    long m_lngBatchIdentifier = 0;
    int m_intBatchType = 0;
    long m_lngBatchNbr = 0, m_lngGroupNbr = 0;
    std::string m_strPrintQueue, m_strPhysPrintQueue, m_strTimeToSend, m_strFaxNbr, m_strFaxFilename;
    std::string m_strSentByName, m_strRecordTimestamp, m_strCreateTimestamp;
    int m_intCopyFlag = 0, m_intFlag3 = 0;
    std::string m_strDictated;
    std::string m_strAccountName, m_strBatchName, m_strGroupName;
    bool m_blnResubmitted = false; // requeued from this screen: the status reads "Resubmitted"
};

} // namespace outputlog
