#include "TClientInformation.h"

#include "DeviceMib.h"
#include "OvButtonRow.h"
#include "OvDialogs.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvListView.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvTimeScale.h"
#include "OvWidgetText.h"

#include <QComboBox>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

using ovkit::button;
using ovkit::control;

namespace {

constexpr int kAcquire = 1;   // the trigger's item "acquire"
constexpr int kMacColumn = 1; // sub-items of a raw row: info index, MAC, band ...
const QString kFreeSlotMac = QStringLiteral("000000000000");
const QString kCaption = QStringLiteral("Client Information ");
const QString kStations = QStringLiteral("Station(s)");

QLabel* plainLabel(QWidget* parent, const char* name, const QString& text) {
    return ovkit::label(parent, name, text, nullptr);
}

void startIfIdle(QTimer* timer) {
    if (!timer->isActive())
        timer->start();
}

} // namespace

TClientInformation::TClientInformation(QWidget* owner) : OvDialog(owner) {
    buildControls();
    ov::runGuarded([this] { FormCreate(); });
}

TClientInformation::~TClientInformation() {
    FormClose();
}

QWidget* TClientInformation::page(const char* name) {
    return control<QWidget>(PageControl1, name);
}

OvListView* TClientInformation::clientList(QWidget* parent, const char* name) {
    auto* list = control<OvListView>(parent, name);
    list->setAccessibleName(kCaption.trimmed());
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (const char* column :
         {"Index", "Client MAC Address", "Band", "Authentication", "RSSI (%)", "Power Saving Mode"})
        list->addColumn(QString::fromLatin1(column), -1);
    return list;
}

void TClientInformation::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Status \\ Client Info"),
                       Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    PageControl1 = control<QTabWidget>(this, "PageControl1");

    TabSheet11a = page("TabSheet11a");
    User_ListView = clientList(TabSheet11a, "User_ListView");
    Label15 = ovkit::label(TabSheet11a, "Label15", kCaption, User_ListView);
    NumOfRecord = plainLabel(TabSheet11a, "NumOfRecord", QString());
    Label2 = plainLabel(TabSheet11a, "Label2", kStations);
    // The raw rows of the client table, both bands; never shown.
    ClientListView = control<OvListView>(TabSheet11a, "ClientListView");
    ClientListView->hide();
    Bt_Rfrsh = button(TabSheet11a, "Bt_Rfrsh", QStringLiteral("Refresh"));
    Bt_Close = button(TabSheet11a, "Bt_Close", QStringLiteral("Close"));
    layOutPage(TabSheet11a, Label15, NumOfRecord, Label2, User_ListView, Bt_Rfrsh, Bt_Close);

    TabSheet11g = page("TabSheet11g");
    User_ListView_g = clientList(TabSheet11g, "User_ListView_g");
    Label1 = ovkit::label(TabSheet11g, "Label1", kCaption, User_ListView_g);
    NumOfRecord_g = plainLabel(TabSheet11g, "NumOfRecord_g", QString());
    Label4 = plainLabel(TabSheet11g, "Label4", kStations);
    Bt_Rfrsh_g = button(TabSheet11g, "Bt_Rfrsh_g", QStringLiteral("Refresh"));
    Bt_Close_g = button(TabSheet11g, "Bt_Close_g", QStringLiteral("Close"));
    layOutPage(TabSheet11g, Label1, NumOfRecord_g, Label4, User_ListView_g, Bt_Rfrsh_g, Bt_Close_g);

    PageControl1->addTab(TabSheet11a, QStringLiteral("IEEE 802.11a"));
    PageControl1->addTab(TabSheet11g, QStringLiteral("IEEE 802.11g"));

    IfGetInfo0 = control<QComboBox>(this, "IfGetInfo0");
    IfGetInfo1 = control<QComboBox>(this, "IfGetInfo1");
    for (QComboBox* trigger : {IfGetInfo0, IfGetInfo1}) {
        ovkit::neverVisible(trigger);
    }
    StatusBar = control<OvStatusBar>(this, "StatusBar");
    StatusBar->addPanel(0);
    Timer1 = control<QTimer>(this, "Timer1");
    Timer1->setInterval(ov::scaledInterval(10000));
    Timer2 = control<QTimer>(this, "Timer2");
    Timer2->setInterval(ov::scaledInterval(1000));

    ovkit::contentAboveStatusBar(this, StatusBar, 6)->addWidget(PageControl1);
    resize(600, 380);
    connectHandlers();
}

// The list fills the page; the buttons keep their shares of its width.
void TClientInformation::layOutPage(QWidget* page, QLabel* caption, QLabel* count, QLabel* unit,
                                    OvListView* list, QPushButton* refresh, QPushButton* close) {
    auto* heading = new QHBoxLayout;
    heading->addWidget(caption);
    heading->addSpacing(24);
    heading->addWidget(count);
    heading->addWidget(unit);
    heading->addStretch();
    auto* buttons = new OvButtonRow(page);
    buttons->add(refresh, 5, 27);
    buttons->add(close, 37, 63);
    auto* column = new QVBoxLayout(page);
    column->addLayout(heading);
    column->addWidget(list, 1);
    column->addWidget(buttons);
}

void TClientInformation::connectHandlers() {
    for (QPushButton* refresh : {Bt_Rfrsh, Bt_Rfrsh_g})
        ov::onSignal(refresh, &QPushButton::clicked, this, [this] { StartRefresh(); });
    for (QPushButton* close : {Bt_Close, Bt_Close_g})
        ov::onSignal(close, &QPushButton::clicked, this, [this] { this->close(); });
    ov::onSignal(PageControl1, &QTabWidget::currentChanged, this, [this] { StartRefresh(); });
    ov::onSignal(Timer1, &QTimer::timeout, this, [this] { StartRefresh(); });
    ov::onSignal(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
}

// Both bindings exist before the first trigger goes out, so that an error
// there leaves none half made; the device gets the trigger, then the walk.
void TClientInformation::FormCreate() {
    refreshing_.set();
    try {
        trigger_ = bindings_.make<OvSNMPRequest2Edits>(this);
        trigger_->request.varList.Assign(OvSNMPVarList(mib::T39, MVT_SV, 1));
        trigger_->BindComboBox(0, IfGetInfo0);
        trigger_->BindComboBox(1, IfGetInfo1);

        table_ = bindings_.make<OvSNMPRequest2Edits>(this);
        table_->request.varList.Assign(OvSNMPVarList(mib::T40, MVT_UMV, 2));
        table_->BindListView(ClientListView, true);
        table_->OnGetDone = [this](OvSNMPRequest2Controls*, const OvSNMPError& result) {
            ShowClients(result);
        };
        table_->SetStatusTarget(StatusBar);
        sendRefresh();
    } catch (...) {
        refreshing_.clear();
        showInPanel(ov::errorText(std::current_exception()));
    }
    countdown_ = 2;
}

int TClientInformation::shownBand() const {
    return PageControl1->currentWidget() == TabSheet11g ? 1 : 0;
}

void TClientInformation::showInPanel(const QString& text) {
    StatusBar->panel(0)->setText(text);
    StatusBar->setSimplePanel(false);
}

// A walk still on its way would get a second walk's rows between its own: the
// refresh (a page change, Refresh, a tick) runs once it has ended.
void TClientInformation::StartRefresh() {
    if (table_ == nullptr)
        return;
    if (table_->IsBusy()) {
        refreshAsked_ = true;
        return;
    }
    refreshAsked_ = false;
    showInPanel(QStringLiteral("Refresh..."));
    try {
        sendRefresh();
    } catch (...) {
        showInPanel(ov::errorText(std::current_exception()));
    }
}

// Only the shown band's trigger is written; then the whole table is walked.
// An error on the way leaves no walk to wait for, so the window may close.
void TClientInformation::sendRefresh() {
    refreshing_.set();
    OvSNMPVarList& triggers = trigger_->request.varList;
    triggers.SetInvalid(0, true);
    triggers.SetInvalid(1, true);
    const int band = shownBand();
    (band == 0 ? IfGetInfo0 : IfGetInfo1)->setCurrentIndex(kAcquire);
    triggers.SetInvalid(band, false);
    try {
        trigger_->Apply(true, true);
    } catch (...) {
        refreshing_.clear();
        throw;
    }
    refreshing_.startWalk(*table_);
    User_ListView->clearItems();
    User_ListView_g->clearItems();
}

void TClientInformation::ShowClients(const OvSNMPError& result) {
    showInPanel(ov::widgetText(result.message));
    refreshing_.clear();
    // The page asked for meanwhile has its own band's trigger written first.
    if (refreshAsked_ && !closeWaiting_) {
        StartRefresh();
        return;
    }
    if (result.code != 0)
        return;
    const bool bandG = shownBand() == 1;
    OvListView* shown = bandG ? User_ListView_g : User_ListView;
    const QString band = bandG ? QStringLiteral("2") : QStringLiteral("1");
    int number = 1;
    for (int row = 0; row < ClientListView->itemCount(); ++row) {
        if (ClientListView->subItem(row, kMacColumn) == kFreeSlotMac ||
            ClientListView->caption(row) != band)
            continue;
        QStringList station;
        for (int i = kMacColumn; i <= kMacColumn + 4; ++i)
            station << ClientListView->subItem(row, i);
        shown->addItem(QString::number(number++), station);
    }
    NumOfRecord->setText(QString::number(User_ListView->itemCount()));
    NumOfRecord_g->setText(QString::number(User_ListView_g->itemCount()));
    emit clientsRead(bandG ? 1 : 0, shown->itemCount());
}

void TClientInformation::showEvent(QShowEvent* event) {
    OvDialog::showEvent(event);
    if (event->spontaneous())
        return;
    startIfIdle(Timer1);
    startIfIdle(Timer2);
}

// From the third tick on: no walk has succeeded yet and the 802.11a page is
// shown, so the firmware has no client table.
void TClientInformation::Timer2Timer() {
    if (countdown_ > 0) {
        --countdown_;
        return;
    }
    if (!NumOfRecord->text().isEmpty() || shownBand() != 0)
        return;
    Timer2->stop();
    ov::messageBox(this, QStringLiteral("Warning"),
                   QStringLiteral("Maybe this firmware is so old that client info function is "
                                  "not supported."));
    forcedClose_ = true;
    close();
}

// While a walk is outstanding the window stays, stops refreshing and lets a
// second pass; the user's input waits meanwhile, the answers do not.
bool TClientInformation::FormCloseQuery() {
    if (!refreshing_.isSet() || forcedClose_)
        return true;
    // A close that comes while we wait (the window manager's, a signal's) is
    // refused at once: waits nested in waits would never end.
    if (closeWaiting_)
        return false;
    Timer1->stop();
    Timer2->stop();
    refreshAsked_ = false;
    closeWaiting_ = true;
    const QPointer<TClientInformation> alive(this);
    QEventLoop wait;
    QTimer::singleShot(ov::scaledInterval(1000), &wait, &QEventLoop::quit);
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    if (alive)
        closeWaiting_ = false;
    return false;
}

// No timer starts a refresh on bindings that are going.
void TClientInformation::FormClose() {
    Timer1->stop();
    Timer2->stop();
    bindings_.release();
    trigger_ = table_ = nullptr;
}

#include "moc_TClientInformation.cpp"
