// Value texts are octets as the device sent them; widgets show QStrings. The
// conversion happens here, at the widget, and nowhere else.
#pragma once

#include <QString>

#include <string>

namespace ov {

// UTF-8 when the octets are valid UTF-8, otherwise Latin-1 (every octet shows).
QString widgetText(const std::string& octets);

// The octets for a widget's text: the original octets when the text is still
// what widgetText made of them, so an untouched control sends back exactly what
// the device sent; otherwise the text in UTF-8.
std::string octetsFromWidget(const QString& text, const std::string& original);

} // namespace ov
