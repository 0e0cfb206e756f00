// What the status windows build their read-only views with: boxes that show
// what the device reported, the bindings that fill them, and a row of buttons
// placed at fixed shares of the window's width as the windows lay them out.
#pragma once

#include "OvSNMPVarList.h"

#include <QWidget>

#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

class OvSNMPRequest2Edits;
class OvStatusBar;
class OvWindowBindings;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace ovstatus {

// A read-only box on the button face, framed or borderless, that shows a value
// as the device sent it.
QLineEdit* valueBox(QWidget* parent, const char* name, bool framed = true);

// A binding of the window over the table's variables, each shown in the box of
// its position ("%s"); synchronous (mode 0) or asynchronous (mode 1).
OvSNMPRequest2Edits* valueBinding(OvWindowBindings& bindings, QWidget* owner,
                                  const OvSNMPVarRow* table, OvListMode listMode, std::uint8_t mode,
                                  const std::vector<QLineEdit*>& boxes);

// The window's layout: a column within the margin, to be filled, and below it
// the status bar, if any, along the bottom edge. Answers the column.
QVBoxLayout* contentAboveStatusBar(QWidget* window, OvStatusBar* bar, int margin);

// A row of buttons at the right.
QHBoxLayout* buttonsAtRight(std::initializer_list<QWidget*> buttons);

} // namespace ovstatus

// Buttons whose left edges stand at shares of the row's width (numerator over
// denominator, whole pixels), as windows that keep their buttons spread out
// when resized place them.
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
