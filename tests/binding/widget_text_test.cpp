#include "OvWidgetText.h"

#include <gtest/gtest.h>

namespace {

TEST(WidgetText, DecodesUtf8ElseLatin1AndGivesBackUntouchedOctets) {
    const struct {
        const char* what;
        std::string octets;
        QString shown;
    } cases[] = {
        {"ASCII", "SSID-1", QStringLiteral("SSID-1")},
        {"valid UTF-8", "caf\xC3\xA9", QStringLiteral("caf\u00E9")},
        {"Latin-1 octets", "caf\xE9", QStringLiteral("caf\u00E9")},
        {"a lone continuation octet", "a\x80z", QString::fromLatin1("a\x80z")},
        {"empty", "", QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ov::widgetText(c.octets), c.shown) << c.what;
        // An untouched control sends back exactly what the device sent.
        EXPECT_EQ(ov::octetsFromWidget(ov::widgetText(c.octets), c.octets), c.octets) << c.what;
    }
    // A changed text goes out in UTF-8.
    EXPECT_EQ(ov::octetsFromWidget(QStringLiteral("caf\u00E9!"), "caf\xE9"), "caf\xC3\xA9!");
}

} // namespace
