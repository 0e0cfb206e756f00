// A report-style list view: columns with widths (0 hides one), one row per item
// with a caption and sub-items, whole-row single selection, read-only, grid
// lines, and one replaceable item-selection handler.
#pragma once

#include <QStringList>
#include <QTableWidget>

#include <functional>

class OvListView : public QTableWidget {
    Q_OBJECT
public:
    // Called with the row and whether it became selected or lost the selection.
    using SelectHandler = std::function<void(int row, bool selected)>;

    explicit OvListView(QWidget* parent = nullptr);

    void clearColumns();
    // Width 0 hides the column; a negative width fits the caption.
    void addColumn(const QString& caption, int width);
    bool isColumnShown(int column) const { return !isColumnHidden(column); }

    void clearItems();
    int itemCount() const { return rowCount(); }
    // Appends a row; returns its index.
    int addItem(const QString& caption, const QStringList& subItems);
    QString caption(int row) const;
    // Sub-item i is column i + 1; empty when the row has none there.
    QString subItem(int row, int i) const;

    // -1 when no row is selected.
    int selectedRow() const;
    void selectRow(int row);

    void setSelectHandler(SelectHandler handler) { selectHandler_ = std::move(handler); }
    const SelectHandler& selectHandler() const { return selectHandler_; }

private:
    void selectionChangedByModel(const QItemSelection& selected, const QItemSelection& deselected);

    SelectHandler selectHandler_;
};
