#pragma once

#include <string>

namespace suite {

// The named parameters of the login component's SendEmail, as the suite's programs pass them.
struct EmailParameters {
    std::string p_strAddress1, p_strAddress2, p_strAddress3, p_strAddress4, p_strAddress5;
    std::string p_strCC1, p_strCC2, p_strBCC;
    std::string p_strSubject, p_strMessage;
    std::string p_strFromAddress, p_strFromName, p_strReplyAddress;
    std::string p_strAttachmentFile1, p_strAttachmentFile1Name;
    std::string p_strAttachmentFile2, p_strAttachmentFile2Name;
    std::string p_strAttachmentFile3, p_strAttachmentFile3Name;
    long p_lngFlag1 = 0, p_lngFlag2 = 0, p_lngFlag3 = 0, p_lngFlag4 = 0;
    std::string p_strString1, p_strString2, p_strString3, p_strString4;
    std::string p_strDate1, p_strScheduledTime;
    int p_intSendingAppId = 0;
    int p_intMessageType = 0;
    std::string p_strPCName, p_strUserName;
    bool p_blnShowMessages = false;
};

// An Internet mail message built from those parameters: header fields with non-ASCII words as
// RFC 2047 encoded words, the text as UTF-8 (base64 when it is not plain short-lined ASCII), and
// the attachments as a multipart/mixed body.
class EmailMessage {
public:
    // "" when the message was built; otherwise why not (a missing recipient, a header value with a
    // line break, an attachment that cannot be read).
    std::string Compose(const EmailParameters& p, const std::string& date, const std::string& messageId);
    [[nodiscard]] const std::string& text() const { return m_text; }

    // One header field's value as encoded words ("=?UTF-8?B?...?=", each at most 75 characters,
    // never splitting a character, folded onto continuation lines); ASCII text is kept as it is.
    static std::string EncodeWords(const std::string& value);
    // "Name <address>" with the name quoted or encoded as needed; the address alone without a name.
    static std::string Mailbox(const std::string& name, const std::string& address);
    // The date as a mail header writes it ("Sun, 06 Dec 2026 15:37:27 +0000"), free of the locale.
    static std::string HeaderDate(long long unixTime, int utcOffsetMinutes);
    static std::string Base64Lines(const std::string& bytes); // 76-character lines, each ending in "\n"

private:
    std::string m_text;
};

} // namespace suite
