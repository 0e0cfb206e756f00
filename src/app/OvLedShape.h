// One LED of the front panel: a 9 x 9 circle whose colour follows the device.
// Screen readers get its name and, as its description, its state.
#pragma once

#include <QColor>
#include <QWidget>

class OvLedShape : public QWidget {
    Q_OBJECT
public:
    OvLedShape(const QString& objectName, const QString& accessibleName, QWidget* parent);

    static QColor litColour() { return QColor(0, 255, 0); }
    static QColor offColour() { return QColor(0, 0, 0); }

    QColor colour() const { return colour_; }
    void setColour(const QColor& colour);
    bool isLit() const { return colour_ == litColour(); }

    // Set from the LED state; blinking needs the blink timer running as well.
    bool blinkFlag() const { return blinkFlag_; }
    void setBlinkFlag(bool blink) { blinkFlag_ = blink; }
    void setBlinking(bool blinking);

    // Lit colour to black and back, on a blink timer's tick.
    void toggle();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void describe();

    QColor colour_;
    bool blinkFlag_ = false;
    bool blinking_ = false;
};
