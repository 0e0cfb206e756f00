// The list view side of the binding: columns, rows, and the selected row.
#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvUserChange.h"
#include "OvWidgetText.h"

#include <QCoreApplication>
#include <QTableWidgetItem>

namespace {

// Rows keep the octets they were made of, so a selected row gives back exactly
// what the device sent.
constexpr int kOctetsRole = Qt::UserRole;

// Lets the window answer the user between two rows of a walk; what the user
// changes meanwhile is the user's, whatever code started the walk.
void letUserAct() {
    const ov::UserTurn userTurn;
    QCoreApplication::processEvents();
}

} // namespace

void OvSNMPRequest2Edits::BindListView(OvListView* listView, bool disableUntilSelected) {
    listView->setSelectionBehavior(QAbstractItemView::SelectRows);
    listView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listView->setShowGrid(true);
    if (listView->accessibleName().isEmpty())
        listView->setAccessibleName(listView->objectName());
    if (listView_ != listView) {
        previousSelectHandler_ = listView->selectHandler();
        listView->setSelectHandler(
            [this](int row, bool selected) { ListViewSelect(row, selected); });
    }
    listView_ = listView;
    disableUntilSelected_ = disableUntilSelected ? 1 : 0;
    MakeColumns();
}

std::vector<int> OvSNMPRequest2Edits::columnPositions() const {
    const OvSNMPVarList& list = request.varList;
    std::vector<int> positions;
    for (int p = 0; p < list.Count(); ++p) {
        if (list.IsHiddenColumn(p))
            positions.push_back(p);
    }
    for (int p = 0; p < list.Count(); ++p) {
        if (list.IsVisibleColumn(p))
            positions.push_back(p);
    }
    return positions;
}

void OvSNMPRequest2Edits::MakeColumns() {
    if (!listView_)
        return;
    const OvSNMPVarList& list = request.varList;
    const int wanted = list.HiddenColumnCount() + list.VisibleColumnCount();
    if (listView_->columnCount() >= wanted)
        return;
    listView_->clearColumns();
    for (int p : columnPositions()) {
        const QString caption = ov::widgetText(list.Item(p).name);
        listView_->addColumn(caption, list.IsHiddenColumn(p) ? 0 : -1);
    }
}

void OvSNMPRequest2Edits::addListRow(const std::vector<std::string>& texts) {
    QStringList shown;
    for (const std::string& t : texts)
        shown << ov::widgetText(t);
    const QString caption = shown.isEmpty() ? QString() : shown.takeFirst();
    const int row = listView_->addItem(caption, shown);
    for (std::size_t c = 0; c < texts.size(); ++c) {
        if (QTableWidgetItem* item = listView_->item(row, static_cast<int>(c)))
            item->setData(kOctetsRole, QByteArray::fromStdString(texts[c]));
    }
}

void OvSNMPRequest2Edits::AddRow() {
    if (!listView_)
        return;
    std::vector<std::string> texts;
    for (int p : columnPositions())
        texts.push_back(request.varList.Item(p).value);
    addListRow(texts);
}

void OvSNMPRequest2Edits::SelectedRowToValues() {
    if (!listView_)
        return;
    const int row = listView_->selectedRow();
    if (row < 0)
        return;
    int column = 0;
    for (int p : columnPositions()) {
        const QTableWidgetItem* item = listView_->item(row, column++);
        std::string text;
        if (item != nullptr) {
            const QVariant octets = item->data(kOctetsRole);
            text =
                octets.isValid() ? octets.toByteArray().toStdString() : item->text().toStdString();
        }
        request.varList.Item(p).value = text;
    }
}

void OvSNMPRequest2Edits::RowArrived() {
    if (listView_) {
        AddRow();
        letUserAct();
    } else {
        FillControls(-1);
    }
}

void OvSNMPRequest2Edits::ListViewSelect(int row, bool selected) {
    const auto alive = lifetime();
    if (previousSelectHandler_) {
        const auto previous = previousSelectHandler_;
        previous(row, selected);
    }
    if (!*alive || !selected)
        return;
    if (disableUntilSelected_)
        EnableControls(true);
    SelectedRowToValues();
    FillControls(-1);
}

void New_req2Edit::RowArrived() {
    if (!listView()) {
        FillControls(-1);
        return;
    }
    if (request.varList.Item(stopPosition).value != stopText) {
        AddNumberedRow();
        ++rowNumber;
        letUserAct();
    }
}

void New_req2Edit::AddNumberedRow() {
    if (!listView())
        return;
    std::vector<std::string> texts;
    for (int p : columnPositions())
        texts.push_back(request.varList.Item(p).value);
    if (!texts.empty())
        texts.front() = std::to_string(rowNumber);
    addListRow(texts);
}
