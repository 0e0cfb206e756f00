// The text check as a window shows its refusal: in a warning box, OK only.
#include "OvDialogs.h"
#include "OvKitControls.h"

#include <gtest/gtest.h>

namespace {

using namespace ovrules;
using ovkit::textCheck;

TEST(AddressChecks, TheTextCheckShowsItsRefusalInAWarningBox) {
    OvScriptedDialogs dialogs;
    EXPECT_TRUE(textCheck(nullptr, QStringLiteral("lan"), TextCheckMode::NoQuotationMark));
    EXPECT_TRUE(textCheck(nullptr, QStringLiteral("abc123"), TextCheckMode::Secret));
    EXPECT_TRUE(dialogs.shown().empty());

    EXPECT_FALSE(textCheck(nullptr, QStringLiteral("a\"b"), TextCheckMode::NoQuotationMark));
    EXPECT_FALSE(textCheck(nullptr, QString::fromUtf8("s\xC3\xA9"), TextCheckMode::Secret));
    const auto shown = dialogs.messages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].title, QStringLiteral("Warning"));
    EXPECT_EQ(shown[0].text, QStringLiteral("Quotation Mark (\") is not accepted"));
    EXPECT_EQ(shown[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(shown[1].title, QStringLiteral("Warning"));
    EXPECT_EQ(shown[1].text, QStringLiteral("Please input Radius Secret format xxxxxx(x:0-9;A-z)"));
}

} // namespace
