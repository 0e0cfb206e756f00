// The binding object: ties the variables of one list to the controls of a
// window (edit boxes, labels, check boxes, combo boxes, radio groups) or to the
// rows of a list view, copying value texts between records and controls.
#pragma once

#include "OvEditConstraint.h"
#include "OvListView.h"
#include "OvSNMPRequest2Controls.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class OvRadioGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;

class OvSNMPRequest2Edits : public OvSNMPRequest2Controls {
public:
    using Hook = std::function<void()>;

    // A new binding is asynchronous, has no status target and no bindings, and
    // a constraint object for the owner that remembers the last good texts.
    explicit OvSNMPRequest2Edits(QWidget* owner);
    ~OvSNMPRequest2Edits() override;

    Hook BeforeRefresh, BeforeApply, AfterRefresh, AfterApply;

    // Binds an edit box, label, check box, combo box or radio group. Throws
    // OvException -12 for a position outside the list.
    void BindControl(int position, QWidget* control);
    void BindCheckBox(int position, QCheckBox* checkBox);
    // Makes the combo box a drop-down list of the option list's labels with
    // nothing selected. Throws -520 without an option list, -522 for a list of
    // string prefixes.
    void BindComboBox(int position, QComboBox* comboBox);
    // Replaces the items by the option list's labels. Throws -520 without one.
    void BindRadioGroup(int position, OvRadioGroup* radioGroup);
    // Registers the format's input constraint (which also sets the box's typing
    // limit, none unless the format gives one) and binds the box. Throws -2 for
    // a bad format, before anything is bound.
    void BindEdit(int position, const std::string& format, QLineEdit* edit);
    // One row per table row; the list view's own selection handler still runs.
    void BindListView(OvListView* listView, bool disableUntilSelected);

    // Value texts into the bound controls (-1: all positions).
    void FillControls(int position = -1);
    // Bound controls into value texts (-1: all positions).
    void CollectControls(int position = -1);
    void EnableControls(bool enabled);

    OvEditConstraint& constraints() { return *constraints_; }
    OvListView* listView() const { return listView_; }
    bool disableUntilSelected() const { return disableUntilSelected_ != 0; }
    int bindingCount() const { return static_cast<int>(bindings_.size()); }
    QWidget* boundControl(int binding) const;
    int boundPosition(int binding) const;

    void MakeColumns();
    void AddRow();
    void SelectedRowToValues();

    void BeforeGet() override;
    void BeforeSet() override;
    void RowArrived() override;
    void Collect() override;
    void AfterGet() override;
    void AfterSet() override;
    void ListViewSelect(int row, bool selected) override;

protected:
    // The list view's columns in their order: hidden ones, then visible ones.
    std::vector<int> columnPositions() const;
    // Adds a row of these value texts; the first is the caption.
    void addListRow(const std::vector<std::string>& texts);

private:
    enum class Kind { Label, CheckBox, ComboBox, RadioGroup, Edit, Other };
    struct Binding {
        int position = 0;
        QPointer<QWidget> control;
        Kind kind = Kind::Other;
        std::string shown; // the octets last written into the control
        // A check box, combo box or radio group: whether a fill has set it, and
        // its state then (checked, or the item index).
        bool filled = false;
        int filledState = 0;
    };

    void bind(int position, QWidget* control, Kind kind);
    void fill(Binding& binding, const OvSNMPVar& var);
    void fillControl(Binding& binding, const OvSNMPVar& var, const std::string& t);
    std::string controlText(const Binding& binding, const OvSNMPVar& var) const;
    // The state of a check box, combo box or radio group that a fill compares.
    static int choiceState(const Binding& binding);
    void collectVariable(int position);

    std::vector<Binding> bindings_;
    std::unique_ptr<OvEditConstraint> constraints_;
    QPointer<OvListView> listView_;
    std::function<void(int, bool)> previousSelectHandler_;
    std::uint8_t disableUntilSelected_ = 1;
    bool unreadCollected_ = false; // the last collect met a value never read
};

// The binding for lists of fixed table slots: unused slots (whose value at the
// stop position is the stop text) are not shown, and the shown rows are
// numbered from 1 in the first column.
class New_req2Edit : public OvSNMPRequest2Edits {
public:
    explicit New_req2Edit(QWidget* owner) : OvSNMPRequest2Edits(owner) {}

    int rowNumber = 1; // set back to 1 before each refresh
    std::string stopText = "0";
    int stopPosition = 1;

    void RowArrived() override;
    virtual void AddNumberedRow();
};
