#include "TSNMPPanels.h"

#include "OvDialogs.h"
#include "OvEditBox.h"
#include "OvGuard.h"
#include "OvSNMPRequest2Edits.h"
#include "OvUserChange.h"
#include "OvWidgetText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kButtonHeight = 25;
constexpr int kLabelHeight = 17;
constexpr int kMargin = 10;
constexpr int kGap = 5;

QString valueText(const QWidget* value) {
    if (const auto* edit = qobject_cast<const QLineEdit*>(value))
        return edit->text();
    if (const auto* combo = qobject_cast<const QComboBox*>(value))
        return combo->currentText();
    return {};
}

} // namespace

// ---- TCtrlBtnPanel

TCtrlBtnPanel::TCtrlBtnPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("CtrlBtnPanel");
    St_Counter = new QLabel("0", this);
    St_Counter->setObjectName("St_Counter");
    St_Counter->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    St_Counter->setAlignment(Qt::AlignCenter);
    St_Counter->setAccessibleDescription("Samples counter"); // its name is the count
    La_Samples = new QLabel("Samples", this);
    La_Samples->setObjectName("La_Samples");
    La_Samples->setAlignment(Qt::AlignCenter);
    column_ = {St_Counter, La_Samples};
    Bt_Refresh = button("Refresh", "Bt_Refresh", "Get.bmp");
    Bt_Edit = button("Edit", "Bt_Edit", "Set.bmp");
    Bt_SetChecked = button("Set Checked", "Bt_SetChecked", "SetCheck.bmp");
    Bt_Add = button("Add", "Bt_Add", "Add.bmp");
    Bt_Delete = button("Delete", "Bt_Delete", "Delete.bmp");
    Bt_CheckAll = button("Check All", "Bt_CheckAll", "SelectAll.bmp");
    Bt_ClearChecks = button("Clear Checks", "Bt_ClearChecks", "SelectNone.bmp");
    Bt_Close = button("Close", "Bt_Close", "Close.bmp");
    setFixedWidth(kWidth);
    Arrange();
}

QPushButton* TCtrlBtnPanel::button(const QString& caption, const QString& name,
                                   const QString& bitmap) {
    auto* b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAccessibleName(caption);
    // A bitmap of the button's name in the current folder replaces the caption.
    const QString path = QDir::current().filePath(bitmap);
    if (QFileInfo(path).isFile()) {
        const QPixmap picture(path);
        if (!picture.isNull()) {
            b->setIcon(QIcon(picture));
            b->setIconSize(picture.size());
            b->setText(QString());
        }
    }
    column_.push_back(b);
    return b;
}

void TCtrlBtnPanel::Arrange() {
    int top = kMargin;
    for (QWidget* w : column_) {
        if (w->isHidden())
            continue;
        const int height = qobject_cast<QPushButton*>(w) != nullptr ? kButtonHeight : kLabelHeight;
        w->setGeometry(kMargin, top, kButtonWidth, height);
        top += height + kGap;
    }
    setMinimumHeight(columnHeight());
}

int TCtrlBtnPanel::columnHeight() const {
    int bottom = 0;
    for (QWidget* w : column_) {
        if (!w->isHidden())
            bottom = std::max(bottom, w->geometry().bottom() + 1);
    }
    return bottom + kMargin;
}

// ---- TMsgPanel

TMsgPanel::TMsgPanel(QWidget* parent) : QWidget(parent), Memo(new QPlainTextEdit(this)) {
    setObjectName("MsgPanel");
    Memo->setObjectName("Memo_Messages");
    Memo->setAccessibleName("Messages");
    Memo->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Memo);
    setMinimumHeight(kHeight);
}

// ---- TEditsPanel

TEditsPanel::TEditsPanel(OvSNMPRequest2Edits& binding, QWidget* parent)
    : QWidget(parent), binding_(binding), scroll_(new QScrollArea(this)), area_(new QWidget) {
    setObjectName("EditsPanel");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
    scroll_->setWidget(area_);
    scroll_->setWidgetResizable(false);
    scroll_->setFrameShape(QFrame::NoFrame);
    for (int p = 0; p < binding.request.varList.Count(); ++p)
        buildRow(p);
    LayoutRows();
}

void TEditsPanel::buildRow(int position) {
    const OvSNMPVarList& list = binding_.request.varList;
    const OvSNMPVar& var = list.Item(position);
    const bool tableKey =
        (list.mode == MVT_FMV || list.mode == MVT_UMV) && position < list.keyCount;
    const bool writable = list.IsWritable(position) && !tableKey;
    Row row;
    row.kind = writable ? (var.options != nullptr ? Choice : Editable)
                        : (var.options != nullptr ? ReadOnlyChoice : ReadOnly);
    const QString name = ov::widgetText(var.name);
    const QString number = QString::number(position);

    row.check = new QCheckBox(area_);
    row.check->setObjectName("CK_Row" + number);
    row.check->setAccessibleName("Write " + name);
    row.check->setFocusPolicy(Qt::ClickFocus);
    ov::onUserChange(row.check, this, [this] { emit checkClicked(); });

    row.name = new QLabel(name, area_);
    row.name->setObjectName("La_Name" + number);
    row.name->setTextFormat(Qt::PlainText);

    if (row.kind == Choice) {
        auto* combo = new QComboBox(area_);
        combo->setObjectName("CB_Value" + number);
        binding_.BindComboBox(position, combo);
        row.value = combo;
    } else {
        auto* edit = new QLineEdit(area_);
        edit->setObjectName("Ed_Value" + number);
        binding_.BindEdit(position, row.format, edit);
        if (row.kind == Editable)
            ov::setTypingLimit(edit, 42);
        row.value = edit;
    }
    row.value->setAccessibleName(name);
    row.name->setBuddy(row.value);
    applyLook(row);
    if (var.access & ovaccess::hidden) {
        for (QWidget* w :
             {static_cast<QWidget*>(row.check), static_cast<QWidget*>(row.name), row.value})
            w->hide();
    }
    rows_.push_back(row);
}

void TEditsPanel::applyLook(const Row& row) {
    const ov::CodeChange byCode;
    QPalette look = row.value->palette();
    look.setColor(QPalette::Text, Qt::black);
    const bool readOnly = row.kind == ReadOnly || row.kind == ReadOnlyChoice;
    look.setColor(QPalette::Base, readOnly ? palette().color(QPalette::Button) : Qt::white);
    row.value->setPalette(look);
    row.check->setChecked(false);
    if (readOnly) {
        static_cast<QLineEdit*>(row.value)->setReadOnly(true);
        row.value->setFocusPolicy(Qt::NoFocus);
        row.check->hide();
        row.check->setEnabled(false);
    } else {
        row.value->setFocusPolicy(Qt::StrongFocus);
        row.check->setEnabled(true);
    }
}

void TEditsPanel::LayoutRows() {
    int widest = 0;
    for (const Row& row : rows_) {
        if (!row.value->isHidden())
            widest = std::max(widest, row.name->sizeHint().width());
    }
    const int checkLeft = 20, checkWidth = 20;
    const int labelLeft = checkLeft + checkWidth + kGap;
    const int valueLeft = labelLeft + widest + kGap;
    int top = 20;
    for (const Row& row : rows_) {
        if (row.value->isHidden())
            continue;
        int height = row.value->sizeHint().height();
        if (height < 20)
            height = 21;
        row.value->setGeometry(valueLeft, top, valueWidth_, height);
        const int checkHeight = row.check->sizeHint().height();
        row.check->setGeometry(checkLeft, top + (height - checkHeight) / 2, checkWidth,
                               checkHeight);
        const int labelHeight = row.name->sizeHint().height();
        row.name->setGeometry(labelLeft, top + (height - labelHeight) / 2, widest, labelHeight);
        top += height + kGap;
    }
    area_->resize(rowsSize());
}

QSize TEditsPanel::rowsSize() const {
    int right = 0, bottom = 0;
    for (const Row& row : rows_) {
        if (row.value->isHidden())
            continue;
        right = std::max(right, row.value->geometry().right() + 1);
        bottom = std::max(bottom, row.value->geometry().bottom() + 1);
    }
    return {right + 40, bottom + 40};
}

int TEditsPanel::writableCount() const {
    return static_cast<int>(std::count_if(rows_.begin(), rows_.end(), [](const Row& row) {
        return row.kind == Editable || row.kind == Choice;
    }));
}

// ---- TSNMPPanel

TSNMPPanel::TSNMPPanel(QWidget* parent)
    : QWidget(parent), vertical_(new QSplitter(Qt::Vertical, this)),
      horizontal_(new QSplitter(Qt::Horizontal)), client_(new QWidget), buttons_(new TCtrlBtnPanel),
      messages_(new TMsgPanel) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(vertical_);
    horizontal_->addWidget(client_);
    horizontal_->addWidget(buttons_);
    horizontal_->setStretchFactor(0, 1);
    horizontal_->setStretchFactor(1, 0);
    horizontal_->setChildrenCollapsible(false);
    vertical_->addWidget(horizontal_);
    vertical_->addWidget(messages_);
    vertical_->setHandleWidth(5);
    vertical_->setStretchFactor(0, 1);
    vertical_->setStretchFactor(1, 0);
    vertical_->setChildrenCollapsible(false);
    auto* clientLayout = new QVBoxLayout(client_);
    clientLayout->setContentsMargins(0, 0, 0, 0);
}

// ---- TSNMPEditorPanel

TSNMPEditorPanel::TSNMPEditorPanel(OvSNMPRequest2Edits& binding, QWidget* parent)
    : TSNMPPanel(parent), binding_(binding), edits_(nullptr),
      lastFailure_(std::make_shared<std::string>()) {
    setObjectName("SNMPEditorPanel");
    ov::onSignal(buttons_->Bt_Refresh, &QPushButton::clicked, this, [this] { RefreshButton(); });
    ov::onSignal(buttons_->Bt_Close, &QPushButton::clicked, this,
                 [this] { emit closeRequested(); });
    binding.SetStatusTarget(messages_->Memo);

    // SNMP failures are shown as status lines: a refused set must not look
    // like success.
    binding.request.resultHook = [failure = lastFailure_](const OvSNMPError& result) {
        *failure = result.message;
    };
    auto* b = &binding;
    binding.OnGetDone = [b, previous = binding.OnGetDone](OvSNMPRequest2Controls* sender,
                                                          const OvSNMPError& result) {
        if (previous)
            previous(sender, result);
        if (result.code != 0)
            b->ShowStatus(result.message);
    };

    edits_ = new TEditsPanel(binding, client_);
    client_->layout()->addWidget(edits_);
    buttons_->Bt_SetChecked->setEnabled(false);
    ov::onSignal(buttons_->Bt_SetChecked, &QPushButton::clicked, this, [this] { ApplyChecked(); });
    ov::onSignal(buttons_->Bt_CheckAll, &QPushButton::clicked, this, [this] { CheckAll(); });
    ov::onSignal(buttons_->Bt_ClearChecks, &QPushButton::clicked, this, [this] { ClearChecks(); });
    connect(edits_, &TEditsPanel::checkClicked, this, [this] { CheckClicked(); });
    ArrangeButtons();
    resize(fittingSize());
    fitSplitters();
}

// The rows get what the message memo (50 pixels) and the buttons leave.
void TSNMPEditorPanel::fitSplitters() {
    const QSize rows = edits_->rowsSize();
    horizontal_->setSizes({rows.width(), TCtrlBtnPanel::kWidth});
    const int top = std::max(rows.height(), buttons_->columnHeight());
    vertical_->setSizes({top, TMsgPanel::kHeight});
}

QSize TSNMPEditorPanel::fittingSize() const {
    const QSize rows = edits_->rowsSize();
    const int width = rows.width() + TCtrlBtnPanel::kWidth + vertical_->handleWidth() + 3;
    const int height = std::max(rows.height() + TMsgPanel::kHeight + vertical_->handleWidth(),
                                buttons_->columnHeight());
    return {width, height};
}

void TSNMPEditorPanel::ArrangeButtons() {
    const ov::CodeChange byCode; // the ticks set here are not the user's
    TCtrlBtnPanel& b = *buttons_;
    for (QWidget* w : std::initializer_list<QWidget*>{b.St_Counter, b.La_Samples, b.Bt_Edit,
                                                      b.Bt_Add, b.Bt_Delete})
        w->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{b.Bt_Refresh, b.Bt_SetChecked, b.Bt_CheckAll,
                                                      b.Bt_ClearChecks, b.Bt_Close})
        w->show();
    const auto& rows = edits_->rows();
    if (edits_->writableCount() == 0) {
        b.Bt_SetChecked->hide();
        b.Bt_CheckAll->hide();
        b.Bt_ClearChecks->hide();
    } else {
        const auto usable = std::count_if(rows.begin(), rows.end(), [](const auto& row) {
            return !row.check->isHidden() && row.check->isEnabled();
        });
        if (usable <= 1) {
            b.Bt_CheckAll->hide();
            b.Bt_ClearChecks->hide();
            b.Bt_SetChecked->setText("Set");
            b.Bt_SetChecked->setAccessibleName("Set");
            b.Bt_SetChecked->setEnabled(true);
            for (const auto& row : rows) {
                if (row.check->isEnabled())
                    row.check->setChecked(true);
            }
            const auto ticked = std::count_if(rows.begin(), rows.end(), [](const auto& row) {
                return !row.check->isHidden() && row.check->isChecked();
            });
            if (ticked <= 1) {
                for (const auto& row : rows)
                    row.check->hide();
            }
        }
    }
    b.Arrange();
}

bool TSNMPEditorPanel::anyVisibleChecked() const {
    const auto& rows = edits_->rows();
    return std::any_of(rows.begin(), rows.end(), [](const auto& row) {
        return !row.check->isHidden() && row.check->isChecked();
    });
}

void TSNMPEditorPanel::CheckClicked() {
    buttons_->Bt_SetChecked->setEnabled(anyVisibleChecked());
}

void TSNMPEditorPanel::CheckAll() {
    for (const auto& row : edits_->rows()) {
        if (row.check->isEnabled())
            row.check->setChecked(true);
    }
    if (anyVisibleChecked())
        buttons_->Bt_SetChecked->setEnabled(true);
}

void TSNMPEditorPanel::ClearChecks() {
    for (const auto& row : edits_->rows()) {
        if (row.check->isEnabled())
            row.check->setChecked(false);
    }
    if (!anyVisibleChecked())
        buttons_->Bt_SetChecked->setEnabled(false);
}

void TSNMPEditorPanel::showFailure(int operation) {
    binding_.ShowStatusOf(operation, ov::widgetText(*lastFailure_));
}

void TSNMPEditorPanel::RefreshButton() {
    try {
        lastFailure_->clear();
        if (!binding_.Refresh() && binding_.mode == 0)
            showFailure(0);
    } catch (...) {
        binding_.ShowStatusOf(0, ov::errorText(std::current_exception()));
    }
}

void TSNMPEditorPanel::ApplyChecked() {
    OvSNMPVarList& list = binding_.request.varList;
    const std::uint8_t mode = binding_.mode;
    std::vector<int> unticked;
    // The mode and the marks come back however the set ends.
    struct Restore {
        OvSNMPRequest2Edits& binding;
        OvSNMPVarList& list;
        std::uint8_t mode;
        std::vector<int>& unticked;
        ~Restore() {
            for (int p : unticked)
                list.SetInvalid(p, false);
            binding.mode = mode;
        }
    } restore{binding_, list, mode, unticked};
    binding_.mode = 0;
    try {
        binding_.Collect();
        bool empty = false;
        const auto& rows = edits_->rows();
        for (int p = 0; p < static_cast<int>(rows.size()); ++p) {
            if (!rows[p].check->isChecked()) {
                if (!(list.Item(p).access & ovaccess::invalid)) {
                    list.SetInvalid(p, true);
                    unticked.push_back(p);
                }
            } else if (valueText(rows[p].value).isEmpty()) {
                empty = true;
            }
        }
        if (empty) {
            ov::messageBox(window(), "Warning", "Some items are empty!");
            return;
        }
        lastFailure_->clear();
        if (!binding_.Apply(false, false))
            showFailure(1);
    } catch (...) {
        binding_.ShowStatusOf(1, ov::errorText(std::current_exception()));
    }
}

#include "moc_TSNMPPanels.cpp"
