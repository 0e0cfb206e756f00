#include "OvSNMPRequest2Edits.h"

#include "OvException.h"
#include "OvListView.h"
#include "OvRadioGroup.h"
#include "OvUserChange.h"
#include "OvValueText.h"
#include "OvWidgetText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// Binding-layer codes of the module's own conditions.
constexpr std::int32_t kBadCheckBoxType = -517;
constexpr std::int32_t kNoOptionList = -520;
constexpr std::int32_t kBadControlType = -521;
constexpr std::int32_t kPrefixListInComboBox = -522;
constexpr std::int32_t kSettingsNotRead = -529;

const char* const kSettingsNotReadText =
    "The device's settings could not be read: nothing was written. They are read again.";

bool isBooleanType(std::uint8_t type) {
    return type == ovtype::boolean || type == ovtype::bool8 || type == ovtype::bool16;
}

bool isOctetType(std::uint8_t type) {
    return type == ovtype::bitstr || type == ovtype::octetstr || type == ovtype::opaque ||
           type == ovtype::macaddress;
}

// Raises -511 for a type code a variable may not have.
void validateType(std::uint8_t type) {
    if (!ov::isValueType(type))
        throw OvException(ovcode::BadSnmpSyntax);
}

// The octets an octet-type value text stands for; markers stand for none.
std::string octetsOfHexText(const std::string& text) {
    if (text == ovtext::null || text == ovtext::notDone)
        return {};
    return ov::octetsFromHex(text);
}

// The new bytes written over the working bytes from the start; the rest stays.
std::string overlay(const std::string& working, const std::string& fresh) {
    return working.size() > fresh.size() ? fresh + working.substr(fresh.size()) : fresh;
}

// A window's hook runs from a copy: it may destroy the binding that holds it.
void runHook(const OvSNMPRequest2Edits::Hook& hook) {
    if (!hook)
        return;
    const OvSNMPRequest2Edits::Hook call = hook;
    const ov::CodeChange byCode;
    call();
}

const std::string& labelOf(const OvOptionList* options, int index, const std::string& fallback) {
    if (options != nullptr && index >= 0 && index < options->Count())
        return options->Row(index).label;
    return fallback;
}

} // namespace

OvSNMPRequest2Edits::OvSNMPRequest2Edits(QWidget* owner)
    : OvSNMPRequest2Controls(owner), constraints_(std::make_unique<OvEditConstraint>(owner, true)) {
}

OvSNMPRequest2Edits::~OvSNMPRequest2Edits() {
    // The list view may outlive us while its window is torn down.
    if (listView_)
        listView_->setSelectHandler(previousSelectHandler_);
    bindings_.clear();
    constraints_.reset();
}

QWidget* OvSNMPRequest2Edits::boundControl(int binding) const {
    return bindings_.at(static_cast<std::size_t>(binding)).control;
}

int OvSNMPRequest2Edits::boundPosition(int binding) const {
    return bindings_.at(static_cast<std::size_t>(binding)).position;
}

void OvSNMPRequest2Edits::bind(int position, QWidget* control, Kind kind) {
    request.varList.Item(position); // -12 for a position outside the list
    bindings_.push_back(Binding{position, control, kind, {}});
}

void OvSNMPRequest2Edits::BindControl(int position, QWidget* control) {
    if (auto* check = qobject_cast<QCheckBox*>(control))
        return BindCheckBox(position, check);
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return BindComboBox(position, combo);
    if (auto* radio = qobject_cast<OvRadioGroup*>(control))
        return BindRadioGroup(position, radio);
    Kind kind = Kind::Other;
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setTextFormat(Qt::PlainText); // device texts are never markup
        kind = Kind::Label;
    } else if (qobject_cast<QLineEdit*>(control) != nullptr) {
        kind = Kind::Edit;
    }
    bind(position, control, kind);
}

void OvSNMPRequest2Edits::BindCheckBox(int position, QCheckBox* checkBox) {
    bind(position, checkBox, Kind::CheckBox);
}

void OvSNMPRequest2Edits::BindComboBox(int position, QComboBox* comboBox) {
    const OvOptionList* options = request.varList.Item(position).options;
    if (options == nullptr)
        throw OvException(kNoOptionList);
    if (options->kind() == OvOptionList::Prefix)
        throw OvException(kPrefixListInComboBox);
    {
        const ov::CodeChange byCode;
        comboBox->setEditable(false);
        comboBox->clear();
        for (const std::string& label : options->Labels())
            comboBox->addItem(ov::widgetText(label));
        // A filled drop-down list selects its first item; an apply after a
        // failed refresh must not send it.
        comboBox->setCurrentIndex(-1);
    }
    ov::acceptAssistivePicks(comboBox);
    bind(position, comboBox, Kind::ComboBox);
}

void OvSNMPRequest2Edits::BindRadioGroup(int position, OvRadioGroup* radioGroup) {
    const OvOptionList* options = request.varList.Item(position).options;
    if (options == nullptr)
        throw OvException(kNoOptionList);
    QStringList items;
    for (const std::string& label : options->Labels())
        items << ov::widgetText(label);
    radioGroup->setItems(items);
    bind(position, radioGroup, Kind::RadioGroup);
}

void OvSNMPRequest2Edits::BindEdit(int position, const std::string& format, QLineEdit* edit) {
    request.varList.Item(position);
    constraints_->AddFormat(format, {edit});
    bind(position, edit, Kind::Edit);
}

void OvSNMPRequest2Edits::FillControls(int position) {
    const ov::CodeChange byCode; // a refresh runs no handler of a user's change
    for (Binding& binding : bindings_) {
        if (position != -1 && binding.position != position)
            continue;
        const OvSNMPVar& var = request.varList.Item(binding.position);
        if (var.access & ovaccess::invalid)
            continue;
        fill(binding, var);
    }
}

void OvSNMPRequest2Edits::fill(Binding& binding, const OvSNMPVar& var) {
    std::string t = var.value;
    if (var.options != nullptr) {
        // A value in the list shows its label, one outside it its number.
        t = var.options->LabelToValue(t);
        validateType(var.type);
        t = var.options->ValueToLabel(t);
    }
    QWidget* control = binding.control;
    if (control == nullptr)
        return;
    binding.shown = t;
    fillControl(binding, var, t);
    if (binding.kind == Kind::CheckBox || binding.kind == Kind::ComboBox ||
        binding.kind == Kind::RadioGroup) {
        binding.filled = true;
        binding.filledState = choiceState(binding);
    }
}

int OvSNMPRequest2Edits::choiceState(const Binding& binding) {
    QWidget* control = binding.control;
    switch (binding.kind) {
    case Kind::CheckBox:
        return static_cast<QCheckBox*>(control)->isChecked() ? 1 : 0;
    case Kind::ComboBox:
        return static_cast<QComboBox*>(control)->currentIndex();
    case Kind::RadioGroup:
        return static_cast<OvRadioGroup*>(control)->itemIndex();
    default:
        return 0;
    }
}

void OvSNMPRequest2Edits::fillControl(Binding& binding, const OvSNMPVar& var,
                                      const std::string& t) {
    QWidget* control = binding.control;
    switch (binding.kind) {
    case Kind::Label:
        static_cast<QLabel*>(control)->setText(ov::widgetText(t));
        return;
    case Kind::CheckBox: {
        auto* check = static_cast<QCheckBox*>(control);
        if (var.options != nullptr) {
            int i = var.options->IndexOfLabel(t);
            if (i == -1)
                i = var.options->IndexOfValue(t);
            check->setChecked(i > 0);
        } else if (isBooleanType(var.type)) {
            check->setChecked(t == ovtext::trueText);
        } else {
            throw OvException(kBadCheckBoxType);
        }
        return;
    }
    case Kind::ComboBox: {
        auto* combo = static_cast<QComboBox*>(control);
        combo->setCurrentIndex(var.options != nullptr ? var.options->IndexToSelect(t)
                                                      : combo->findText(ov::widgetText(t)));
        return;
    }
    case Kind::RadioGroup: {
        auto* radio = static_cast<OvRadioGroup*>(control);
        radio->setItemIndex(var.options != nullptr ? var.options->IndexToSelect(t)
                                                   : radio->items().indexOf(ov::widgetText(t)));
        return;
    }
    case Kind::Edit: {
        auto* edit = static_cast<QLineEdit*>(control);
        edit->setText(ov::widgetText(t));
        edit->setCursorPosition(0); // a text longer than the box shows its start
        // What the device sent is good: a failed check puts it back, and
        // length limits count its own octets while it stands unchanged.
        constraints_->TextFilled(edit, t);
        return;
    }
    case Kind::Other:
        throw OvException(kBadControlType);
    }
}

std::string OvSNMPRequest2Edits::controlText(const Binding& binding, const OvSNMPVar& var) const {
    QWidget* control = binding.control;
    if (control == nullptr)
        return {};
    // A choice the user left as the last fill set it gives back what the device
    // sent, also a value that no item or state stands for.
    if (binding.filled && choiceState(binding) == binding.filledState)
        return binding.shown;
    switch (binding.kind) {
    case Kind::Label:
        return ov::octetsFromWidget(static_cast<QLabel*>(control)->text(), binding.shown);
    case Kind::CheckBox: {
        const bool checked = static_cast<QCheckBox*>(control)->isChecked();
        if (var.options != nullptr)
            return var.options->Row(checked ? 1 : 0).label;
        if (!isBooleanType(var.type))
            throw OvException(kBadCheckBoxType);
        return checked ? ovtext::trueText : ovtext::falseText;
    }
    case Kind::ComboBox: {
        const auto* combo = static_cast<QComboBox*>(control);
        const int index = combo->currentIndex();
        if (index < 0)
            return {};
        return labelOf(var.options, index, combo->currentText().toStdString());
    }
    case Kind::RadioGroup: {
        const auto* radio = static_cast<OvRadioGroup*>(control);
        const QString text = radio->checkedItemText(); // none checked: stops the apply
        return labelOf(var.options, radio->itemIndex(), text.toStdString());
    }
    case Kind::Edit:
        return ov::octetsFromWidget(static_cast<QLineEdit*>(control)->text(), binding.shown);
    case Kind::Other:
        break;
    }
    throw OvException(kBadControlType);
}

void OvSNMPRequest2Edits::CollectControls(int position) {
    OvSNMPVarList& list = request.varList;
    for (int p = 0; p < list.Count(); ++p) {
        if ((position == -1 || p == position) && list.IsWritable(p))
            collectVariable(p);
    }
}

// Every binding's text is converted to the type's bytes and written over the
// working bytes from the start; what lies beyond keeps its earlier contents
// (only variable-length types can have such a rest). The first binding starts
// from nothing: a MAC address typed short must fail its conversion, not be
// completed from the value the variable held before (a list view's row).
void OvSNMPRequest2Edits::collectVariable(int position) {
    OvSNMPVar& var = request.varList.Item(position);
    std::string working, last;
    bool bound = false, nullText = false;
    for (const Binding& binding : bindings_) {
        if (binding.position != position)
            continue;
        std::string text = controlText(binding, var);
        // A control left as a failed read filled it holds no device value.
        if ((binding.shown == ovtext::null || binding.shown == ovtext::notDone) &&
            text == binding.shown)
            unreadCollected_ = true;
        if (var.options != nullptr)
            text = var.options->LabelToValue(text);
        if (var.type == ovtype::displaystr) {
            working = overlay(working, text);
        } else if (isOctetType(var.type)) {
            nullText = text == ovtext::null;
            working = overlay(working, octetsOfHexText(text));
        } else {
            NormaliseText(text, var.type); // raises as the conversion of this text does
            last = text;
        }
        bound = true;
    }
    if (!bound)
        return;
    std::string value;
    if (var.type == ovtype::displaystr)
        value = NormaliseText(working, var.type);
    else if (isOctetType(var.type))
        value = nullText && working.empty() ? ovtext::null
                                            : NormaliseText(ov::hexText(working), var.type);
    else
        value = NormaliseText(last, var.type);
    var.value = var.options != nullptr ? var.options->ValueToLabel(value) : value;
}

void OvSNMPRequest2Edits::EnableControls(bool enabled) {
    for (const Binding& binding : bindings_) {
        if (binding.control)
            binding.control->setEnabled(enabled);
    }
}

void OvSNMPRequest2Edits::BeforeGet() {
    if (listView_) {
        MakeColumns();
        listView_->clearItems();
    }
    runHook(BeforeRefresh);
}

void OvSNMPRequest2Edits::BeforeSet() {
    runHook(BeforeApply);
}

// A window never sends a value that it neither read nor got from the user: the
// apply is refused, and the settings are read again.
void OvSNMPRequest2Edits::Collect() {
    OvSNMPVarList& list = request.varList;
    for (int p = 0; p < list.Count(); ++p)
        list.Item(p).value.clear();
    if (listView_)
        SelectedRowToValues();
    unreadCollected_ = false;
    CollectControls(-1);
    if (!unreadCollected_ || listView_)
        return;
    const auto alive = lifetime();
    Refresh();
    if (*alive)
        ShowStatusOf(1, QString::fromLatin1(kSettingsNotReadText));
    throw OvException(kSettingsNotRead, kSettingsNotReadText);
}

void OvSNMPRequest2Edits::AfterGet() {
    if (listView_ && disableUntilSelected_ && request.varList.mode == MVT_FMV)
        EnableControls(false);
    runHook(AfterRefresh);
}

void OvSNMPRequest2Edits::AfterSet() {
    runHook(AfterApply);
}
