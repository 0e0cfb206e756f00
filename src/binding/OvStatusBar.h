// A status bar with a simple text and panels, as the windows use them. All
// texts are plain text. Every part exposes the text it shows to assistive
// technologies as its accessible name, whatever name a window gave it (that
// name becomes its description, "Status" say), and announces each new text.
#pragma once

#include <QLabel>
#include <QStatusBar>

#include <vector>

// One panel of an OvStatusBar: a plain-text label of a fixed width.
class OvStatusPanel : public QLabel {
    Q_OBJECT
public:
    explicit OvStatusPanel(int width, QWidget* parent = nullptr);

    // Shows the text and announces it. Status writers call this one (it hides
    // QLabel::setText, which announces only for a label without a name).
    void setText(const QString& text);
};

class OvStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit OvStatusBar(QWidget* parent = nullptr);

    // The single text shown across the bar when it shows no panels.
    void setSimpleText(const QString& text);
    QString simpleText() const;

    // With the simple panel on, the bar shows its simple text; off, its panels.
    // A bar without panels always shows its simple text.
    void setSimplePanel(bool on);
    bool simplePanel() const { return simplePanel_; }

    // Width <= 0: the panel takes the remaining space.
    OvStatusPanel* addPanel(int width);
    int panelCount() const { return static_cast<int>(panels_.size()); }
    OvStatusPanel* panel(int index) const;

private:
    void showParts();

    OvStatusPanel* simple_;
    std::vector<OvStatusPanel*> panels_;
    bool simplePanel_ = false;
};

namespace ov {

// Writes a changing text into a label: as plain text, exposed to assistive
// technologies and announced. A status panel exposes it as its name; another
// label with a name of its own (which would hide the text) as its description.
void showStatusText(QLabel* label, const QString& text);

} // namespace ov
