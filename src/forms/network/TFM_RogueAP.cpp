#include "TFM_RogueAP.h"

#include "DeviceMib.h"
#include "OvButtonRow.h"
#include "OvDeviceContext.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvListView.h"
#include "OvOptionList.h"
#include "OvRadioGroup.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvUserChange.h"
#include "OvWidgetText.h"
#include "TFM_Waiting.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Positions in the filter list (T68).
constexpr int kFilterBssType = 0, kFilterBands = 1, kFilterSecurities = 2;
constexpr int kAdHoc = 1;             // the item "Ad Hoc" of the BSS type
constexpr int kDetect = 1;            // the item "detect" of the trigger
constexpr int kFilterTimeout = 500;   // 5 s
constexpr int kDetectTimeout = 50000; // a scan takes up to 500 s
constexpr int kListTimeout = 1000;    // 10 s

// The band mask's bits: 0 "11a", 2 "11b", 3 "11g" (bit 1 is never set).
constexpr int kBandBits[] = {0, 2, 3};

struct SecurityBox {
    QCheckBox* TFM_RogueAP::*box;
    const char* name;
    const char* caption;
};
// In the order of their bits in the security mask.
const SecurityBox kSecurityBoxes[] = {
    {&TFM_RogueAP::ChcBxo_off, "ChcBxo_off", "OFF"},
    {&TFM_RogueAP::ChcBxo_wep, "ChcBxo_wep", "WEP"},
    {&TFM_RogueAP::ChcBxo_eap, "ChcBxo_eap", "WPA-Enterprise"},
    {&TFM_RogueAP::ChcBxo_psk, "ChcBxo_psk", "WPA-Personal  "},
    {&TFM_RogueAP::WPA2EAPCkBox, "WPA2EAPCkBox", "WPA2-Enterprise"},
    {&TFM_RogueAP::WPA2PSKCkBox, "WPA2PSKCkBox", "WPA2-Personal "},
    {&TFM_RogueAP::WPA2AUTECkBox, "WPA2AUTECkBox", "WPA-Enterprise-AUTO "},
    {&TFM_RogueAP::WPA2AUTPCkBox, "WPA2AUTPCkBox", "WPA-Personal-AUTO"},
};
// Ad-hoc networks know only OFF and WEP: bits 0 and 1.
constexpr int kAdHocSecurityBits = 2;

using ovkit::control;

QGroupBox* group(QWidget* parent, const char* name, const QString& title) {
    auto* g = control<QGroupBox>(parent, name);
    g->setTitle(title);
    return g;
}

QCheckBox* checkBox(QWidget* parent, const char* name, const char* caption) {
    auto* box = control<QCheckBox>(parent, name);
    box->setText(QString::fromLatin1(caption));
    return box;
}

template <typename T> T* hidden(QWidget* parent, const char* name) {
    auto* c = control<T>(parent, name);
    ovkit::neverVisible(c);
    return c;
}

bool bitSet(std::int32_t mask, int bit) {
    return (mask >> bit & 1) != 0;
}

// A list group: its list view above, its row of buttons across the group's
// whole width below it.
void layOutListGroup(QGroupBox* box, OvListView* list, OvButtonRow* buttons) {
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 4, 0, 4);
    auto* view = new QHBoxLayout;
    view->setContentsMargins(8, 0, 8, 0);
    view->addWidget(list);
    column->addLayout(view, 1);
    column->addWidget(buttons);
}

} // namespace

TFM_RogueAP::TFM_RogueAP(const OvDeviceContext& device, QWidget* owner)
    : OvDialog(owner), device_(device) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TFM_RogueAP::~TFM_RogueAP() {
    FormClose();
}

// ---- Controls

void TFM_RogueAP::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Advanced \\ Rogue AP"),
                       Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    buildFilters();
    buildLists();
    Apply_Btn = ovkit::button(this, "Apply_Btn", QStringLiteral("Apply"));
    Cancel_Btn = ovkit::button(this, "Cancel_Btn", QStringLiteral("Cancel"));
    StatusBar1 = control<OvStatusBar>(this, "StatusBar1");
    buildHidden();
    for (QPushButton* b : {AddBtn, DelBtn, ListDelBtn, Apply_Btn, Cancel_Btn})
        b->setEnabled(false);
    layOut();
    resize(660, 600);
    connectHandlers();
}

void TFM_RogueAP::buildFilters() {
    GB_Detection = group(this, "GB_Detection", QStringLiteral(" Rogue AP Detection  "));
    BSSTypRadGrp = control<OvRadioGroup>(GB_Detection, "BSSTypRadGrp");
    BSSTypRadGrp->setTitle(QStringLiteral(" BSS Type "));
    BSSTypRadGrp->setAccessibleName(QStringLiteral("BSS Type"));
    BSSTypRadGrp->setColumns(4);
    GB_Band = group(GB_Detection, "GB_Band", QStringLiteral("Band "));
    CheckBox_11a = checkBox(GB_Band, "CheckBox_11a", "11a");
    CheckBox_11b = checkBox(GB_Band, "CheckBox_11b", "11b");
    CheckBox_11g = checkBox(GB_Band, "CheckBox_11g", "11g");
    auto* bands = new QHBoxLayout(GB_Band);
    for (QCheckBox* box : {CheckBox_11a, CheckBox_11b, CheckBox_11g})
        bands->addWidget(box, 0, Qt::AlignLeft);
    GB_Security = group(GB_Detection, "GB_Security", QStringLiteral("Security "));
    auto* securities = new QGridLayout(GB_Security);
    for (std::size_t bit = 0; bit < securityBoxes_.size(); ++bit) {
        const SecurityBox& s = kSecurityBoxes[bit];
        this->*s.box = checkBox(GB_Security, s.name, s.caption);
        securityBoxes_[bit] = this->*s.box;
        securities->addWidget(securityBoxes_[bit], static_cast<int>(bit / 4),
                              static_cast<int>(bit % 4), Qt::AlignLeft);
    }
    auto* top = new QHBoxLayout;
    top->addWidget(BSSTypRadGrp, 1);
    top->addWidget(GB_Band, 1);
    auto* filters = new QVBoxLayout(GB_Detection);
    filters->addLayout(top);
    filters->addWidget(GB_Security);
}

void TFM_RogueAP::buildLists() {
    GB_RogueList = group(this, "GB_RogueList", QStringLiteral("Rogue AP List"));
    RogueListView = control<OvListView>(GB_RogueList, "RogueListView");
    RogueListView->setAccessibleName(QStringLiteral("Rogue AP List"));
    DetectBtn = ovkit::button(GB_RogueList, "DetectBtn", QStringLiteral("Detect"));
    AddBtn = ovkit::button(GB_RogueList, "AddBtn", QStringLiteral("Add"));
    DelBtn = ovkit::button(GB_RogueList, "DelBtn", QStringLiteral("Del"));
    GB_APList = group(this, "GB_APList", QStringLiteral("AP List"));
    AP_ListView = control<OvListView>(GB_APList, "AP_ListView");
    AP_ListView->setAccessibleName(QStringLiteral("AP List"));
    ListDelBtn = ovkit::button(GB_APList, "ListDelBtn", QStringLiteral("Del"));
}

void TFM_RogueAP::buildHidden() {
    BandEdit = hidden<QLineEdit>(this, "BandEdit");
    SecEdit = hidden<QLineEdit>(this, "SecEdit");
    DetectRogueCoBox = hidden<QComboBox>(this, "DetectRogueCoBox");
    AddCoBox = hidden<QLineEdit>(this, "AddCoBox");
    DelDetcetEdit = hidden<QLineEdit>(this, "DelDetcetEdit");
    DelCoBox = hidden<QLineEdit>(this, "DelCoBox");
}

void TFM_RogueAP::connectHandlers() {
    for (QCheckBox* box : {CheckBox_11a, CheckBox_11b, CheckBox_11g})
        ov::onUserChange(box, this, [this] { BandClick(); });
    for (QCheckBox* box : securityBoxes_)
        ov::onUserChange(box, this, [this] { SecurityClick(); });
    ov::onUserChange(BSSTypRadGrp, this, [this] { BSSTypRadGrpClick(); });
    const std::pair<QPushButton*, void (TFM_RogueAP::*)()> clicks[] = {
        {DetectBtn, &TFM_RogueAP::DetectBtnClick}, {AddBtn, &TFM_RogueAP::AddBtnClick},
        {DelBtn, &TFM_RogueAP::DelBtnClick},       {ListDelBtn, &TFM_RogueAP::ListDelBtnClick},
        {Apply_Btn, &TFM_RogueAP::Apply_BtnClick}, {Cancel_Btn, &TFM_RogueAP::Cancel_BtnClick},
    };
    for (const auto& [b, handler] : clicks)
        ov::onSignal(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
}

// The filters keep their height at the top; the two lists share what is left
// above the Apply and Cancel row equally; the buttons stand at fixed shares of
// their group's or the window's width.
void TFM_RogueAP::layOut() {
    auto* rogueButtons = new OvButtonRow(GB_RogueList);
    rogueButtons->add(DetectBtn, 4323, 10000);
    rogueButtons->add(AddBtn, 6215, 10000);
    rogueButtons->add(DelBtn, 8108, 10000);
    layOutListGroup(GB_RogueList, RogueListView, rogueButtons);
    auto* listButtons = new OvButtonRow(GB_APList);
    listButtons->add(ListDelBtn, 8108, 10000);
    layOutListGroup(GB_APList, AP_ListView, listButtons);
    auto* windowButtons = new OvButtonRow(this);
    windowButtons->add(Apply_Btn, 5089, 10000);
    windowButtons->add(Cancel_Btn, 7575, 10000);

    auto* content = new QVBoxLayout;
    content->setContentsMargins(8, 8, 8, 0);
    content->addWidget(GB_Detection);
    content->addWidget(GB_RogueList, 1);
    content->addWidget(GB_APList, 1);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addLayout(content, 1);
    window->addWidget(windowButtons);
    window->addWidget(StatusBar1);
}

// ---- Creation

// Every binding is made before the first request goes out, so that a failure
// while building leaves no button that reaches a binding never made.
void TFM_RogueAP::FormCreate() {
    scanning_.clear();
    try {
        createBindings();
        built_ = true;
        filterFailure_.clear();
        if (!filterBinding_->Refresh())
            filterBinding_->ShowStatusOf(0, ov::widgetText(filterFailure_));
        decodeMasks();
        followBssType();
        apListBinding_->Refresh();
    } catch (...) {
        StatusBar1->setSimpleText(ov::errorText(std::current_exception()));
        // No walk will end to let the user out by the button.
        Cancel_Btn->setEnabled(true);
    }
    if (BSSTypRadGrp->itemIndex() < 0) {
        BSSTypRadGrp->setItemIndex(0);
        BSSTypRadGrpClick();
    }
}

void TFM_RogueAP::createBindings() {
    filterBinding_ = bindings_.make<OvSNMPRequest2Edits>(this);
    filterBinding_->request.varList.Assign(OvSNMPVarList(mib::T68, MVT_SV, 0));
    filterBinding_->mode = 0;
    filterBinding_->request.timeout = kFilterTimeout;
    filterBinding_->BindRadioGroup(kFilterBssType, BSSTypRadGrp);
    filterBinding_->BindEdit(kFilterBands, "%u", BandEdit);
    filterBinding_->BindEdit(kFilterSecurities, "%u", SecEdit);
    // A synchronous binding reports nothing itself: the window shows its failures.
    filterBinding_->request.resultHook = [this](const OvSNMPError& result) {
        filterFailure_ = result.message;
    };

    // The scan: sent without blocking, so the window stays responsive (and the
    // main window's LED poll goes on) for the up to 500 s it may take; never
    // repeated, since a second SET would start a second scan.
    detectBinding_ = bindings_.make<OvSNMPRequest2Edits>(this);
    detectBinding_->request.varList.Assign(OvSNMPVarList(mib::T69, SVT_SV, 0));
    detectBinding_->request.timeout = kDetectTimeout;
    detectBinding_->request.retries = 0;
    detectBinding_->BindComboBox(0, DetectRogueCoBox);
    detectBinding_->OnSetDone = [this](OvSNMPRequest2Controls*, const OvSNMPError& result) {
        DetectDone(result);
    };

    addBinding_ = command(mib::T70, AddCoBox);
    addBinding_->AfterApply = [this] { refreshBothLists(); };
    resultDeleteBinding_ = command(mib::T71, DelDetcetEdit);
    resultDeleteBinding_->AfterApply = [this] { startResultWalk(); };

    resultListBinding_ = bindings_.make<OvSNMPRequest2Edits>(this);
    resultListBinding_->request.varList.Assign(OvSNMPVarList(mib::T72, MVT_UMV, 1));
    resultListBinding_->request.timeout = kListTimeout;
    resultListBinding_->BindListView(RogueListView, false);
    resultListBinding_->OnGetDone = [this](OvSNMPRequest2Controls* b, const OvSNMPError& r) {
        ResultListDone(b, r);
    };

    listDeleteBinding_ = command(mib::T73, DelCoBox);
    listDeleteBinding_->AfterApply = [this] { refreshBothLists(); };

    apListBinding_ = bindings_.make<OvSNMPRequest2Edits>(this);
    apListBinding_->request.varList.Assign(OvSNMPVarList(mib::T74, MVT_UMV, 1));
    apListBinding_->request.timeout = kListTimeout;
    apListBinding_->BindListView(AP_ListView, false);
    apListBinding_->OnGetDone = [this](OvSNMPRequest2Controls* b, const OvSNMPError& r) {
        APListDone(b, r);
    };
    // The index is each row's hidden caption.
    for (OvListView* list : {RogueListView, AP_ListView})
        list->setColumnHidden(0, true);
    for (OvSNMPRequest2Edits* binding :
         {filterBinding_, detectBinding_, addBinding_, resultDeleteBinding_, resultListBinding_,
          listDeleteBinding_, apListBinding_})
        binding->SetStatusTarget(StatusBar1);
}

// A command naming a row by its index ("%u"), sent asynchronously. A failed
// one runs no AfterApply hook: the buttons stay off until the window opens again.
OvSNMPRequest2Edits* TFM_RogueAP::command(const OvSNMPVarRow* table, QLineEdit* row) {
    OvSNMPRequest2Edits* binding = bindings_.make<OvSNMPRequest2Edits>(this);
    binding->request.varList.Assign(OvSNMPVarList(table, SVT_SV, 0));
    binding->BindEdit(0, "%u", row);
    binding->OnSetDone = [this](OvSNMPRequest2Controls* b, const OvSNMPError& result) {
        showFailure(b, result);
    };
    return binding;
}

// The masks as read: bands and securities into their check boxes. Nothing is
// decoded from a text that is no number (an empty box: the read failed).
void TFM_RogueAP::decodeMasks() {
    std::int32_t bands = 0, securities = 0;
    if (!ov::parseInt32(BandEdit->text().toStdString(), bands))
        return;
    QCheckBox* bandBoxes[] = {CheckBox_11a, CheckBox_11b, CheckBox_11g};
    for (std::size_t i = 0; i < std::size(kBandBits); ++i)
        bandBoxes[i]->setChecked(bitSet(bands, kBandBits[i]));
    if (!ov::parseInt32(SecEdit->text().toStdString(), securities))
        securities = 0;
    for (std::size_t bit = 0; bit < securityBoxes_.size(); ++bit)
        securityBoxes_[bit]->setChecked(bitSet(securities, static_cast<int>(bit)));
}

// ---- The filters

void TFM_RogueAP::followBssType() {
    const bool adHoc = BSSTypRadGrp->itemIndex() == kAdHoc;
    for (std::size_t bit = kAdHocSecurityBits; bit < securityBoxes_.size(); ++bit)
        securityBoxes_[bit]->setEnabled(!adHoc);
}

void TFM_RogueAP::BandClick() {
    const QCheckBox* boxes[] = {CheckBox_11a, CheckBox_11b, CheckBox_11g};
    int mask = 0;
    for (std::size_t i = 0; i < std::size(kBandBits); ++i)
        mask |= boxes[i]->isChecked() ? 1 << kBandBits[i] : 0;
    BandEdit->setText(QString::number(mask));
}

void TFM_RogueAP::SecurityClick() {
    const std::size_t counted = BSSTypRadGrp->itemIndex() == kAdHoc
                                    ? static_cast<std::size_t>(kAdHocSecurityBits)
                                    : securityBoxes_.size();
    int mask = 0;
    for (std::size_t bit = 0; bit < counted; ++bit)
        mask |= securityBoxes_[bit]->isChecked() ? 1 << bit : 0;
    SecEdit->setText(QString::number(mask));
}

void TFM_RogueAP::BSSTypRadGrpClick() {
    followBssType();
    SecurityClick();
}

bool TFM_RogueAP::applyFilters() {
    filterFailure_.clear();
    if (filterBinding_->Apply(true, true))
        return true;
    filterBinding_->ShowStatusOf(1, ov::widgetText(filterFailure_));
    return false;
}

void TFM_RogueAP::Apply_BtnClick() {
    if (!built_)
        return;
    if (!applyFilters()) {
        StatusBar1->setSimpleText(QStringLiteral("Set Error!"));
        return;
    }
    StatusBar1->setSimpleText(QStringLiteral("Set Success!"));
    TFM_Waiting waiting(device_, this);
    waiting.exec();
}

// ---- The scan and the lists

void TFM_RogueAP::enableButtons(bool enabled) {
    for (QPushButton* b : {DetectBtn, AddBtn, DelBtn, ListDelBtn, Cancel_Btn, Apply_Btn})
        b->setEnabled(enabled);
}

void TFM_RogueAP::DetectBtnClick() {
    if (!built_)
        return;
    enableButtons(false);
    try {
        DetectRogueCoBox->setCurrentIndex(kDetect);
        applyFilters();
        detectBinding_->Apply(true, true);
        scanning_.set();
    } catch (...) {
        // No scan runs: nothing would give the buttons and the close back.
        enableButtons(true);
        scanning_.clear();
        throw;
    }
}

// A failed scan still reads the list again, which gives the buttons back.
void TFM_RogueAP::DetectDone(const OvSNMPError& result) {
    showFailure(detectBinding_, result);
    startResultWalk();
}

void TFM_RogueAP::startResultWalk() {
    try {
        if (!resultListBinding_->IsBusy())
            scanning_.startWalk(*resultListBinding_);
    } catch (...) {
        StatusBar1->setSimpleText(ov::errorText(std::current_exception()));
    }
    // A walk that did not start has no end to wait for.
    if (!resultListBinding_->IsBusy())
        ResultListDone(resultListBinding_, OvSNMPError{});
}

void TFM_RogueAP::refreshBothLists() {
    startResultWalk();
    if (!apListBinding_->IsBusy())
        apListBinding_->Refresh();
}

// The end of the result walk, whether it read the rows or failed.
void TFM_RogueAP::ResultListDone(OvSNMPRequest2Controls* walked, const OvSNMPError& result) {
    showFailure(walked, result);
    RogueListView->resizeColumnsToContents();
    enableButtons(true);
    scanning_.clear();
}

void TFM_RogueAP::APListDone(OvSNMPRequest2Controls* walked, const OvSNMPError& result) {
    showFailure(walked, result);
    AP_ListView->resizeColumnsToContents();
    for (QPushButton* b : {ListDelBtn, Cancel_Btn, Apply_Btn})
        b->setEnabled(true);
}

void TFM_RogueAP::showFailure(OvSNMPRequest2Controls* binding, const OvSNMPError& result) {
    if (result.code != 0 && binding != nullptr)
        binding->ShowStatus(result.message);
}

void TFM_RogueAP::sendRowCommand(OvListView* list, QLineEdit* row, OvSNMPRequest2Edits* binding) {
    const int selected = list->selectedRow();
    if (!built_ || selected < 0)
        return;
    enableButtons(false);
    try {
        row->setText(list->caption(selected));
        binding->Apply(true, true);
    } catch (...) {
        enableButtons(true);
        throw;
    }
}

void TFM_RogueAP::AddBtnClick() {
    sendRowCommand(RogueListView, AddCoBox, addBinding_);
}

void TFM_RogueAP::DelBtnClick() {
    sendRowCommand(RogueListView, DelDetcetEdit, resultDeleteBinding_);
}

void TFM_RogueAP::ListDelBtnClick() {
    sendRowCommand(AP_ListView, DelCoBox, listDeleteBinding_);
}

void TFM_RogueAP::Cancel_BtnClick() {
    close();
}

// ---- Closing

bool TFM_RogueAP::FormCloseQuery() {
    return closable();
}

void TFM_RogueAP::FormClose() {
    bindings_.release();
    filterBinding_ = detectBinding_ = addBinding_ = resultDeleteBinding_ = nullptr;
    resultListBinding_ = listDeleteBinding_ = apListBinding_ = nullptr;
    built_ = false;
}

#include "moc_TFM_RogueAP.cpp"
