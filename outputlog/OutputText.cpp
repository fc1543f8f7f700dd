#include "OutputText.h"

#include <array>

namespace outputlog {

std::string OutputTypeText(int outputType, int flag1) {
    switch (outputType) {
    case 0:
        return "No Output Type";
    case 1:
        return "Batch Print Output";
    case 3:
        return flag1 == 1 ? "Online Copy w/Envelope" : "Online Print Copy";
    case 4:
        return flag1 == 1 ? "Online Original w/Envelope" : "Online Print Original";
    case 5:
    case 8:
    case 10:
        return "Fax Output";
    case 9:
        return "Fax Output (Priority)";
    case 14:
        return "Email";
    default:
        if (outputType >= 200 && outputType <= 207)
            return "Upload";
        return "Output Type Unknown";
    }
}

std::string FaxErrorText(int errorCode) {
    static const std::array<const char*, 23> names = {
        "",
        "- Number Busy",
        "- Trx/Rx Error",
        "- Poor Quality",
        "- No Answer",
        "- Bad FCS Info",
        "- Convert Error",
        "- FCS Create Error",
        "- Schedule Error",
        "- Board Error",
        "- Human Answered",
        "- G2 Fax Machine",
        "- Dest Rx Error",
        "- Line Problem",
        "- Invalid Form",
        "- Invalid Sig",
        "- No Authorization",
        nullptr,
        "- Discarded",
        "- Bad Phone Number",
        nullptr,
        "- Invalid Code",
        "- Bad Embedded Code",
    };
    if (errorCode >= 0 && errorCode < static_cast<int>(names.size()) && names[errorCode])
        return names[errorCode];
    return "- Error " + std::to_string(errorCode);
}

std::string KnownStatusText(int status, int errorCode) {
    switch (status) {
    case 10:
    case 16:
    case 17:
    case 20:
        return "Printed";
    case 11:
        return "In Progress";
    case 12:
    case 19:
        return "Removed From Batch";
    case 13:
    case 39:
        return "Cancelled";
    case 14:
    case 21:
        return "Not Printed Yet";
    case 22:
    case 40:
    case 81:
        return "In Distribution";
    case 23:
    case 41:
    case 85:
        return "Distribution Failed";
    case 30:
        return "Sent, Unconfirmed";
    case 31:
        return "Sent, Confirmed";
    case 34:
        return "Failed " + FaxErrorText(errorCode);
    case 35:
    case 53:
    case 84:
        return "Not Sent Yet";
    case 36:
        return "Failed, Server Error";
    case 37:
        return "Failed, Sent To Batch " + FaxErrorText(errorCode);
    case 38:
        return "Failed, Printed " + FaxErrorText(errorCode);
    case 42:
        return "Distribution Pending";
    case 51:
    case 83:
        return "Sent";
    case 54:
        return "Failed";
    case 82:
        return "Failed, Interface Error";
    case 86:
        return "CDA Converting";
    case 87:
        return "CDA Converted";
    case 88:
        return "Failed, CDA Conversion";
    case 89:
        return "Cancelled, CDA Conversion";
    case 91:
        return "Upload In Process";
    case 186:
        return "Failed, Rejected";
    case 187:
        return "Link Error, Will Retry";
    case 188:
        return "Timeout, Will Retry";
    case 189:
        return "Failed, Missing Field";
    case 192:
        return "Failed, Missing Data";
    case 193:
        return "Failed, Config Error";
    case 194:
        return "Failed, Data Error";
    case 195:
        return "Failed, Document Error";
    case 196:
        return "Failed, Report Type Error";
    case 197:
        return "Failed, Out Of Date";
    case 198:
        return "Timeout, Will Not Retry";
    default:
        return "Unknown (" + std::to_string(status) + ")";
    }
}

std::string BatchTypeText(int batchType) {
    switch (batchType) {
    case 0:
        return "None Assigned Yet";
    case 1:
        return "Local Printer Batch";
    case 2:
        return "Stat Transfer Batch";
    case 3:
        return "Fax Batch";
    case 4:
        return "Email Batch";
    default:
        return "Unknown";
    }
}

std::string SentByNameText(const std::string& stored, SentByForm form) {
    const size_t caret = stored.find('^');
    const std::string id = caret == std::string::npos ? "0" : stored.substr(0, caret);
    const std::string name = caret == std::string::npos ? stored : stored.substr(caret + 1);
    switch (form) {
    case SentByForm::Id:
        return id;
    case SentByForm::Name:
        return name;
    case SentByForm::NameAndId:
        return id == "0" ? name : name + " (" + id + ")";
    }
    return name;
}

} // namespace outputlog
