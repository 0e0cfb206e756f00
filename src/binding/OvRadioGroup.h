// A titled group of radio buttons with items and an item index, as the module's
// windows use them; Qt has no such control.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

class OvRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit OvRadioGroup(QWidget* parent = nullptr) : OvRadioGroup(QString(), parent) {}
    explicit OvRadioGroup(const QString& title, QWidget* parent = nullptr);

    // Replaces the buttons; none is checked afterwards.
    void setItems(const QStringList& items);
    QStringList items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }

    // The items fill this many columns, top to bottom, then left to right (1
    // at first): with more columns than items they stand in one row.
    void setColumns(int columns);
    int columns() const { return columns_; }

    // -1: no button checked. Setting runs no click handler.
    int itemIndex() const;
    void setItemIndex(int index);

    // The text of the checked item. Throws OvException (index out of range)
    // when no button is checked, which stops an apply before anything is sent.
    QString checkedItemText() const;

    QRadioButton* button(int index) const;

signals:
    // The user checked an item: by a click, a key or an assistive technology.
    void clicked(int index);

private:
    void placeButtons();

    QStringList items_;
    QButtonGroup* group_;
    QGridLayout* layout_;
    int columns_ = 1;
};
