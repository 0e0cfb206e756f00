#include "OvFrontPanel.h"

#include <QLinearGradient>
#include <QPainter>

namespace ov {

QPixmap frontPanelPicture(const QString& modelName) {
    QPixmap picture(390, 94);
    picture.fill(QColor(212, 214, 218));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // Brushed-metal chassis with a darker bezel.
    QLinearGradient metal(0, 0, 0, 94);
    metal.setColorAt(0.0, QColor(236, 238, 241));
    metal.setColorAt(0.5, QColor(200, 203, 208));
    metal.setColorAt(1.0, QColor(168, 171, 177));
    p.setPen(QPen(QColor(110, 112, 118), 1.5));
    p.setBrush(metal);
    p.drawRoundedRect(QRectF(3, 4, 383, 86), 10, 10);

    // Ventilation slots on the left.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 123, 130));
    for (int i = 0; i < 7; ++i)
        p.drawRoundedRect(QRectF(18 + i * 9, 30, 4, 34), 2, 2);

    // Model and maker.
    QFont font(QStringLiteral("Sans Serif"), 11, QFont::Bold);
    p.setFont(font);
    p.setPen(QColor(40, 44, 52));
    p.drawText(QRectF(90, 12, 150, 20), Qt::AlignLeft | Qt::AlignVCenter, modelName);
    font.setPointSize(7);
    font.setBold(false);
    p.setFont(font);
    p.drawText(QRectF(90, 30, 160, 14), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Dual-Band Wireless Access Point"));

    // The LED strip: a dark window with a socket and a caption per LED.
    p.setPen(QPen(QColor(70, 72, 78), 1));
    p.setBrush(QColor(52, 55, 62));
    p.drawRoundedRect(QRectF(172, 46, 112, 24), 5, 5);
    const struct {
        int x;
        const char* caption;
    } leds[] = {{183, "11g"}, {209, "11a"}, {236, "LAN"}, {262, "PWR"}};
    p.setFont(font);
    for (const auto& led : leds) {
        p.setPen(QColor(30, 30, 30));
        p.setBrush(QColor(20, 22, 26));
        p.drawEllipse(QRectF(led.x - 2, 51, 13, 13));
        p.setPen(QColor(40, 44, 52));
        p.drawText(QRectF(led.x - 10, 72, 29, 12), Qt::AlignCenter,
                   QString::fromLatin1(led.caption));
    }

    // Screws.
    p.setPen(QPen(QColor(100, 100, 105), 1));
    p.setBrush(QColor(190, 192, 196));
    for (const QPointF& screw : {QPointF(368, 18), QPointF(368, 76)})
        p.drawEllipse(screw, 4, 4);
    return picture;
}

} // namespace ov
