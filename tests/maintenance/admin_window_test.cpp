// "Tools \ Admin" against apsim: the account read at opening, the six checks in
// their order with their texts, the one SET of name and password and the
// restart after it, a refused write, and an account that could not be read.
#include "OvEditBox.h"
#include "OvSNMPSession.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"
#include "TFM_Admin.h"
#include "ToolsTest.h"
#include "widgettest/OvAccessibility.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

namespace {

using namespace toolstest;

const QString kCurrent = QStringLiteral("s3cret"); // the device's password in these tests

class AdminWindow : public ToolsTest {
protected:
    std::vector<std::string> agentOptions() const override {
        return withQuickRestart({"--set", "Password=s3cret"});
    }
    std::unique_ptr<TFM_Admin> open() { return ToolsTest::open<TFM_Admin>(); }
    // Types the four entries as a user would; a null text leaves its box alone.
    static void fill(TFM_Admin& w, const QString& user, const QString& old, const QString& fresh,
                     const QString& confirm) {
        const std::pair<QLineEdit*, QString> entries[] = {
            {w.Ed_Usr, user}, {w.Ed_OPwd, old}, {w.Ed_NPwd, fresh}, {w.Ed_CNP, confirm}};
        for (const auto& [edit, text] : entries)
            if (!text.isNull())
                ovtest::retype(edit, text);
    }
    std::vector<std::string> accountSet(const std::string& user, const std::string& password) {
        return {binding(kUserName, "s:" + user), binding(kPassword, "s:" + password)};
    }
};

TEST_F(AdminWindow, OpensWithTheAccountRead) {
    auto w = open();
    EXPECT_EQ(w->windowTitle(), "Tools \\ Admin");
    EXPECT_EQ(w->size(), QSize(373, 165));
    EXPECT_TRUE(w->accountRead());
    EXPECT_EQ(w->Ed_Usr->text(), "admin");
    EXPECT_EQ(w->Ed_Pwd->text(), kCurrent);
    EXPECT_FALSE(w->Ed_Pwd->isVisible());
    for (QLineEdit* edit : {w->Ed_Usr, w->Ed_OPwd, w->Ed_NPwd, w->Ed_CNP}) {
        SCOPED_TRACE(edit->objectName().toStdString());
        EXPECT_TRUE(edit->text().isEmpty() || edit == w->Ed_Usr);
        EXPECT_EQ(ov::typingLimit(edit), 12);
    }
    for (QLineEdit* secret : {w->Ed_OPwd, w->Ed_NPwd, w->Ed_CNP, w->Ed_Pwd})
        EXPECT_EQ(secret->echoMode(), QLineEdit::Password) << secret->objectName().toStdString();
    const std::pair<QWidget*, QString> names[] = {{w->Ed_Usr, "User Name"},
                                                  {w->Ed_OPwd, "Old Password"},
                                                  {w->Ed_NPwd, "New Password"},
                                                  {w->Ed_CNP, "Confirm New Password"},
                                                  {w->OK, "OK"},
                                                  {w->Cancel, "Cancel"}};
    for (const auto& [control, name] : names)
        EXPECT_EQ(ovtest::accessibleName(control), name) << control->objectName().toStdString();
    EXPECT_EQ(ovtest::requestsSeen(*agent), (std::vector<std::string>{"GET E.3.1.1.0"}));
    EXPECT_TRUE(sets().empty());
}

TEST_F(AdminWindow, NeverShowsAPasswordToAssistiveTechnologies) {
    auto w = open();
    ovtest::retype(w->Ed_OPwd, kCurrent);
    for (QLineEdit* secret : {w->Ed_OPwd, w->Ed_Pwd}) {
        const QString value = ovtest::accessible(secret)->text(QAccessible::Value);
        EXPECT_FALSE(value.contains(kCurrent)) << secret->objectName().toStdString();
    }
}

struct RefusalCase {
    const char* name;
    std::string deviceUser; // empty: "admin"
    QString user, old, fresh, confirm;
    QString setByCode; // a new password no one can type (over the typing limit)
    QString text;
    enum Field { None, User, NewPassword } emptied, focused;
};

TEST_F(AdminWindow, ChecksRefuseInTheirOrderWithTheirTexts) {
    const QString badOld = "Warning|Please input the current password correctly!";
    const QString longName = "Warning|Please limit user name to 40 characters!";
    const QString quote = "Warning|Quotation Mark (\") is not accepted";
    const QString longPassword = "Warning|Please limit password to 12 characters!";
    const QString badConfirm = "Warning|Please input the confirm new password correctly!";
    const std::string name41(41, 'n');
    using F = RefusalCase::Field;
    const RefusalCase cases[] = {
        {"a wrong current password", "", {}, "secret", "", "", {}, badOld, F::None, F::None},
        {"the current password in another case",
         "",
         {},
         "S3CRET",
         "",
         "",
         {},
         badOld,
         F::None,
         F::None},
        {"a wrong current password before a quote in the name",
         "",
         "ad\"min",
         "x",
         "",
         "",
         {},
         badOld,
         F::None,
         F::None},
        {"a name of 41 octets read from the device",
         name41,
         {},
         kCurrent,
         "",
         "",
         {},
         longName,
         F::User,
         F::None},
        {"a double quote in the name",
         "",
         "ad\"min",
         kCurrent,
         "",
         "",
         {},
         quote,
         F::None,
         F::User},
        {"a quote in the name before a long new password",
         "",
         "a\"b",
         kCurrent,
         {},
         {},
         "0123456789abc",
         quote,
         F::None,
         F::User},
        {"a new password of 13 octets",
         "",
         {},
         kCurrent,
         {},
         {},
         "0123456789abc",
         longPassword,
         F::NewPassword,
         F::None},
        {"a confirmation that differs",
         "",
         {},
         kCurrent,
         "abc",
         "abd",
         {},
         badConfirm,
         F::None,
         F::None},
        {"a double quote in the new password",
         "",
         {},
         kCurrent,
         "a\"b",
         "a\"b",
         {},
         quote,
         F::None,
         F::NewPassword},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        restartAgent(
            withQuickRestart({"--set", "Password=s3cret", "--set",
                              "UserName=" + (c.deviceUser.empty() ? "admin" : c.deviceUser)}));
        dialogs.clear();
        auto w = open();
        fill(*w, c.user, c.old, c.fresh, c.confirm);
        if (!c.setByCode.isNull()) {
            const ov::CodeChange byCode;
            w->Ed_NPwd->setText(c.setByCode);
            w->Ed_CNP->setText(c.setByCode);
        }
        const QString userBefore = w->Ed_Usr->text();
        ovtest::click(w->OK);
        EXPECT_EQ(messages(), std::vector<QString>{c.text});
        EXPECT_EQ(dialogs.messages().front().buttons, QMessageBox::Ok);
        EXPECT_EQ(w->Ed_Usr->text().isEmpty(), c.emptied == F::User);
        EXPECT_EQ(w->Ed_NPwd->text().isEmpty(),
                  c.emptied == F::NewPassword || (c.fresh.isEmpty() && c.setByCode.isNull()));
        if (c.emptied != F::User) {
            EXPECT_EQ(w->Ed_Usr->text(), userBefore);
        }
        if (c.focused == F::User) {
            EXPECT_EQ(QApplication::focusWidget(), w->Ed_Usr);
        }
        if (c.focused == F::NewPassword) {
            EXPECT_EQ(QApplication::focusWidget(), w->Ed_NPwd);
        }
        EXPECT_TRUE(sets().empty());
        EXPECT_TRUE(waits.empty());
    }
}

struct WriteCase {
    const char* name;
    QString user, fresh; // typed; the confirmation is the same
    std::string sentUser, sentPassword;
};

TEST_F(AdminWindow, WritesNameAndPasswordInOneSetThenRestarts) {
    const WriteCase cases[] = {
        {"a new name and password", "root", "n3w-pass", "root", "n3w-pass"},
        {"empty new password fields keep the password", {}, "", "admin", "s3cret"},
        {"only the name changed: the password stays", "operator", "", "operator", "s3cret"},
        {"typing stops at 12 characters", "abcdefghijklmn", "0123456789abcd", "abcdefghijkl",
         "0123456789ab"},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        restartAgent(agentOptions());
        waits.clear();
        auto w = open();
        fill(*w, c.user, kCurrent, c.fresh, c.fresh);
        ovtest::click(w->OK);
        EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
        const std::vector<std::vector<std::string>> expected = {
            accountSet(c.sentUser, c.sentPassword), {binding(kRestart, "i:1")}};
        EXPECT_EQ(sets(), expected);
        EXPECT_EQ(waits, std::vector<WaitShown>{defaultWait()});
        EXPECT_EQ(stateText(kUserName), c.sentUser);
        EXPECT_EQ(stateText(kPassword), c.sentPassword);
        EXPECT_EQ(w->Ed_Pwd->text().toStdString(), c.sentPassword);
    }
}

TEST_F(AdminWindow, ARefusedWriteKeepsTheEntriesAndThePasswordRead) {
    // Writes with the read community, which the device refuses (noAccess).
    OvSNMPSecurity.writeCommunity = kReadCommunity;
    auto w = open();
    fill(*w, "root", kCurrent, "n3w", "n3w");
    ovtest::click(w->OK);
    EXPECT_EQ(w->StatusBar->simpleText(), "Setting Error!");
    EXPECT_EQ(w->Ed_Usr->text(), "root");
    EXPECT_EQ(w->Ed_NPwd->text(), "n3w");
    EXPECT_EQ(w->Ed_Pwd->text(), kCurrent) << "the password read is what the device still has";
    // So the next try is checked against the device's password, not the one refused.
    ovtest::click(w->OK);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(sets(), (std::vector<std::vector<std::string>>{accountSet("root", "n3w"),
                                                             accountSet("root", "n3w")}));
    EXPECT_TRUE(waits.empty());
    EXPECT_EQ(stateText(kPassword), "s3cret");
}

TEST_F(AdminWindow, AnAccountThatCouldNotBeReadIsNeverWritten) {
    struct Case {
        std::string what;
        std::vector<std::string> options;
        std::function<void()> breakSession;
    };
    std::vector<Case> cases = {{"the device refuses to read the account",
                                withQuickRestart({"--fail", "UserName=genErr"}), [] {}}};
    for (const ovtest::UnsendableSession& session : ovtest::unsendableSessions())
        cases.push_back({session.what, agentOptions(), session.breakSession});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restartAgent(c.options);
        c.breakSession();
        auto w = open();
        EXPECT_FALSE(w->accountRead());
        EXPECT_FALSE(w->StatusBar->simpleText().isEmpty()) << "the status bar says why";
        fill(*w, "root", w->Ed_Pwd->text(), "n3w", "n3w");
        ovtest::click(w->OK);
        EXPECT_EQ(w->StatusBar->simpleText(),
                  "The account could not be read: nothing was written.");
        EXPECT_TRUE(messages().empty());
        EXPECT_TRUE(sets().empty());
        EXPECT_TRUE(waits.empty());
    }
}

TEST_F(AdminWindow, CancelClosesAndSendsNothing) {
    auto w = open();
    fill(*w, "root", kCurrent, "n3w", "n3w");
    ovtest::click(w->Cancel);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(sets().empty());
}

} // namespace
