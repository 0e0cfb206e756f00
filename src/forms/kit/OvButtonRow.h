// A row of buttons whose left edges stand at shares of the row's width, as
// windows that keep their buttons spread out when resized place them.
#pragma once

#include <QWidget>

#include <vector>

class QPushButton;

// Each button's left edge at its share of the width (numerator over
// denominator, whole pixels).
class OvButtonRow : public QWidget {
    Q_OBJECT
public:
    explicit OvButtonRow(QWidget* parent = nullptr);

    // Takes the button into the row with its share of the width.
    void add(QPushButton* button, int numerator, int denominator);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Placed {
        QPushButton* button;
        int numerator, denominator;
    };
    void place();

    std::vector<Placed> buttons_;
};
