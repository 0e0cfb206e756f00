#include "OvWidgetText.h"

#include <QStringDecoder>

namespace ov {

QString widgetText(const std::string& octets) {
    const QByteArrayView bytes(octets.data(), static_cast<qsizetype>(octets.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

std::string octetsFromWidget(const QString& text, const std::string& original) {
    if (text == widgetText(original))
        return original;
    return text.toStdString();
}

} // namespace ov
