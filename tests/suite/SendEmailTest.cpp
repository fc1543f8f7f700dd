#include "CapturedMail.h"
#include "EmailMessage.h"
#include "LoginComponent.h"
#include "MessageService.h"

#include <gtest/gtest.h>

using kdtest::CapturedMail;
using suite::EmailMessage;
using suite::EmailParameters;

namespace {

// ü and ö are two bytes in UTF-8, € and – three.
const std::string kSubject = "Medical Reports \xe2\x80\x93 Passw\xc3\xb6rter f\xc3\xbcr \xe2\x82\xac-Konto";
const std::string kBody = "TO: Dr. J\xc3\xbcrgen M\xc3\xbcller\r\nPassword: \xe2\x82\xac\xc3\xa4x-12\r\n.\r\nEnd";

EmailParameters passwordMail() {
    EmailParameters p;
    p.p_strAddress1 = "jmueller@clinic.test";
    p.p_strSubject = kSubject;
    p.p_strMessage = kBody;
    p.p_strFromAddress = "records@clinic.test";
    p.p_strFromName = "Medical Records \xc3\x96"
                      "ffice";
    p.p_strReplyAddress = "help@clinic.test";
    return p;
}

TEST(EmailWords, EncodedWordsKeepWholeCharactersAndTheLengthLimit) {
    struct Case {
        std::string value;
        size_t words;
    };
    std::string euros;
    for (int i = 0; i < 20; ++i)
        euros += "\xe2\x82\xac";
    const Case cases[] = {
        {"Medical Reports - Password Information", 0}, // ASCII stays as it is
        {"Gr\xc3\xbc\xc3\x9f"
         "e",
         1},
        {std::string(44, 'a') + "\xc3\xbc", 2},     // 46 bytes: the two-byte character moves to the next word
        {euros, 2},                                 // 45 bytes (15 characters) in the first word, 15 in the second
        {std::string(15, 'x') + "\xe2\x82\xac", 1}, // 18 bytes
    };
    for (const Case& c : cases) {
        const std::string encoded = EmailMessage::EncodeWords(c.value);
        if (c.words == 0) {
            EXPECT_EQ(encoded, c.value);
            continue;
        }
        size_t words = 0;
        std::string joined;
        std::istringstream lines(encoded);
        for (std::string line; std::getline(lines, line);) {
            if (words > 0) {
                ASSERT_EQ(line[0], ' ') << encoded; // continuation lines of a folded field
                line.erase(0, 1);
            }
            ++words;
            EXPECT_LE(line.size(), 75u) << line;
            ASSERT_EQ(line.rfind("=?UTF-8?B?", 0), 0u) << line;
            const std::string text = CapturedMail::decodeWords(line);
            // No word starts with a continuation byte: every word is whole characters.
            EXPECT_NE(static_cast<unsigned char>(text[0]) & 0xC0, 0x80) << line;
            joined += text;
        }
        EXPECT_EQ(words, c.words) << encoded;
        EXPECT_EQ(joined, c.value);
    }
}

TEST(EmailWords, HeaderDatesAreEnglishWhateverTheLocale) {
    EXPECT_EQ(EmailMessage::HeaderDate(1796571447, 0), "Sun, 06 Dec 2026 15:37:27 +0000");
    EXPECT_EQ(EmailMessage::HeaderDate(1796571447, -300), "Sun, 06 Dec 2026 10:37:27 -0500");
    EXPECT_EQ(EmailMessage::HeaderDate(1796571447, 330), "Sun, 06 Dec 2026 21:07:27 +0530");
}

class SendEmail : public ::testing::Test {
protected:
    void SetUp() override { login.Mailer = suite::SendmailProgram(KD_CAPTURE_SENDMAIL); }
    suite::LoginComponent login;
    platform::MessageRecorder recorder;
};

TEST_F(SendEmail, TheMailProgramGetsAMessageWithItsHeadersAndTheTextInUtf8) {
    CapturedMail mail;
    ASSERT_TRUE(login.SendEmail(passwordMail())) << login.LastEmailError();
    EXPECT_EQ(mail.args(), (std::vector<std::string>{KD_CAPTURE_SENDMAIL, "-t", "-i"}));
    EXPECT_EQ(mail.header("To"), "jmueller@clinic.test");
    EXPECT_EQ(mail.header("Reply-To"), "help@clinic.test");
    EXPECT_EQ(mail.header("MIME-Version"), "1.0");
    EXPECT_EQ(mail.header("Content-Type"), "text/plain; charset=UTF-8");
    EXPECT_EQ(mail.header("Content-Transfer-Encoding"), "base64");
    EXPECT_EQ(mail.header("Cc"), "<none>");
    EXPECT_EQ(mail.header("Date").size(), std::string("Sun, 06 Dec 2026 15:37:27 +0000").size());
    EXPECT_NE(mail.header("Message-ID").find('@'), std::string::npos);
    // Only ASCII in the header block; the subject and the sender's name come back whole.
    for (char c : mail.headers())
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << mail.headers();
    EXPECT_EQ(CapturedMail::decodeWords(mail.header("Subject")), kSubject);
    const std::string from = mail.header("From");
    EXPECT_EQ(from.substr(from.find(" <")), " <records@clinic.test>");
    EXPECT_EQ(CapturedMail::decodeWords(from), "Medical Records \xc3\x96"
                                               "ffice");
    // The text with the local line breaks; a line holding one dot is text ("-i").
    EXPECT_EQ(CapturedMail::base64Decode(mail.rawBody()),
              "TO: Dr. J\xc3\xbcrgen M\xc3\xbcller\nPassword: \xe2\x82\xac\xc3\xa4x-12\n.\nEnd");
    for (char c : mail.rawBody())
        ASSERT_LT(static_cast<unsigned char>(c), 0x80);
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(SendEmail, AsciiTextGoesAsItIsAndEveryRecipientFieldIsFilled) {
    CapturedMail mail;
    EmailParameters p;
    p.p_strAddress1 = "a@clinic.test";
    p.p_strAddress3 = "c@clinic.test";
    p.p_strCC1 = "d@clinic.test";
    p.p_strBCC = "e@clinic.test";
    p.p_strSubject = "Medical Reports - Password Information";
    p.p_strMessage = "Line one\r\nLine two";
    ASSERT_TRUE(login.SendEmail(p)) << login.LastEmailError();
    EXPECT_EQ(mail.header("To"), "a@clinic.test, c@clinic.test");
    EXPECT_EQ(mail.header("Cc"), "d@clinic.test");
    EXPECT_EQ(mail.header("Bcc"), "e@clinic.test");
    EXPECT_EQ(mail.header("Subject"), "Medical Reports - Password Information");
    EXPECT_EQ(mail.header("From"), "<none>"); // the mail program puts in the sending account
    EXPECT_EQ(mail.header("Content-Transfer-Encoding"), "7bit");
    EXPECT_EQ(mail.rawBody(), "Line one\nLine two\n");
}

TEST_F(SendEmail, AnAttachmentMakesAMultipartMessage) {
    CapturedMail mail;
    const std::string file = mail.dir() + "/report.bin";
    std::ofstream(file, std::ios::binary) << std::string("PDF\0\xff", 5);
    EmailParameters p = passwordMail();
    p.p_strAttachmentFile1 = file;
    p.p_strAttachmentFile1Name = "Bericht \xc3\xbc.pdf";
    ASSERT_TRUE(login.SendEmail(p)) << login.LastEmailError();
    const std::string type = mail.header("Content-Type");
    ASSERT_EQ(type.rfind("multipart/mixed; boundary=\"", 0), 0u) << type;
    const std::string boundary = type.substr(27, type.size() - 28);
    const std::string body = mail.rawBody();
    EXPECT_NE(body.find("--" + boundary + "\nContent-Type: text/plain; charset=UTF-8"), std::string::npos);
    const auto at = body.find("Content-Disposition: attachment; filename=\"");
    ASSERT_NE(at, std::string::npos) << body;
    const auto data = body.find("\n\n", at) + 2;
    EXPECT_EQ(CapturedMail::base64Decode(body.substr(data, body.find("\n--", data) - data)),
              std::string("PDF\0\xff", 5));
    EXPECT_EQ(body.substr(body.size() - boundary.size() - 5), "--" + boundary + "--\n");
    p.p_strAttachmentFile1 = mail.dir() + "/missing.pdf";
    EXPECT_FALSE(login.SendEmail(p));
    EXPECT_EQ(login.LastEmailError(), "The attachment " + mail.dir() + "/missing.pdf could not be read.");
}

TEST_F(SendEmail, FailuresAreReportedAndNothingUnsafeIsHandedOver) {
    {
        CapturedMail refusing(75);
        EXPECT_FALSE(login.SendEmail(passwordMail()));
        EXPECT_TRUE(refusing.handedOver());
        EXPECT_EQ(login.LastEmailError(), std::string("The mail program ") + KD_CAPTURE_SENDMAIL +
                                              " did not accept the message (exit status 75): "
                                              "capture-sendmail: queue unavailable");
        EXPECT_TRUE(recorder.shown.empty());
        EmailParameters shown = passwordMail();
        shown.p_blnShowMessages = true;
        EXPECT_FALSE(login.SendEmail(shown));
        ASSERT_EQ(recorder.shown.size(), 1u);
        EXPECT_EQ(recorder.shown[0].text, login.LastEmailError());
    }
    CapturedMail mail;
    EmailParameters injected = passwordMail();
    injected.p_strAddress1 = "a@clinic.test\r\nBcc: everyone@elsewhere.test";
    EXPECT_FALSE(login.SendEmail(injected));
    EXPECT_FALSE(mail.handedOver());
    EXPECT_EQ(login.LastEmailError().rfind("A mail header value may not hold a line break", 0), 0u);
    EXPECT_FALSE(login.SendEmail(EmailParameters{}));
    EXPECT_EQ(login.LastEmailError(), "No recipient address has been given.");
    login.Mailer = suite::SendmailProgram(mail.dir() + "/no-such-sendmail");
    EXPECT_FALSE(login.SendEmail(passwordMail()));
    EXPECT_EQ(login.LastEmailError(),
              "The mail program " + mail.dir() + "/no-such-sendmail could not be started: No such file or directory");
    EXPECT_EQ(suite::SendmailProgram().path(), "/usr/sbin/sendmail"); // without KDADMIN_SENDMAIL
}

} // namespace
