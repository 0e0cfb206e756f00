#include "OvListView.h"

#include "OvGuard.h"

#include <QHeaderView>
#include <QPalette>

OvListView::OvListView(QWidget* parent) : QTableWidget(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setHighlightSections(false);
    // The selection stays visible when the list has no focus.
    QPalette p = palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        p.setColor(QPalette::Inactive, role, p.color(QPalette::Active, role));
    setPalette(p);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &OvListView::selectionChangedByModel);
}

void OvListView::clearColumns() {
    setColumnCount(0);
}

void OvListView::addColumn(const QString& caption, int width) {
    const int column = columnCount();
    setColumnCount(column + 1);
    setHorizontalHeaderItem(column, new QTableWidgetItem(caption));
    if (width < 0)
        width = fontMetrics().horizontalAdvance(caption) + 16;
    setColumnWidth(column, width);
    setColumnHidden(column, width == 0);
}

void OvListView::clearItems() {
    clearSelection();
    setRowCount(0);
}

int OvListView::addItem(const QString& caption, const QStringList& subItems) {
    const int row = rowCount();
    setRowCount(row + 1);
    auto place = [&](int column, const QString& text) {
        if (column >= columnCount())
            return;
        auto* item = new QTableWidgetItem(text);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        setItem(row, column, item);
    };
    place(0, caption);
    for (int i = 0; i < subItems.size(); ++i)
        place(i + 1, subItems[i]);
    return row;
}

QString OvListView::caption(int row) const {
    const QTableWidgetItem* it = item(row, 0);
    return it != nullptr ? it->text() : QString();
}

QString OvListView::subItem(int row, int i) const {
    const QTableWidgetItem* it = item(row, i + 1);
    return it != nullptr ? it->text() : QString();
}

int OvListView::selectedRow() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void OvListView::selectRow(int row) {
    QTableWidget::selectRow(row);
}

void OvListView::selectionChangedByModel(const QItemSelection& selected,
                                         const QItemSelection& deselected) {
    if (!selectHandler_)
        return;
    // Rows that vanish with a clear report deselections of no row: ignored.
    auto rowsOf = [this](const QItemSelection& selection) {
        QList<int> rows;
        for (const QModelIndex& index : selection.indexes()) {
            if (index.isValid() && index.row() < rowCount() && !rows.contains(index.row()))
                rows.append(index.row());
        }
        return rows;
    };
    const QList<int> lost = rowsOf(deselected), gained = rowsOf(selected);
    for (int row : lost)
        ov::runUserHandler(this, [this, row] { selectHandler_(row, false); });
    for (int row : gained)
        ov::runUserHandler(this, [this, row] { selectHandler_(row, true); });
}

#include "moc_OvListView.cpp"
