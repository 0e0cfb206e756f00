#include "TMainForm.h"

#include "DeviceMib.h"
#include "HomeInformation.h"
#include "OvCatalog.h"
#include "OvDialogs.h"
#include "OvException.h"
#include "OvFrontPanel.h"
#include "OvGuard.h"
#include "OvInstanceLock.h"
#include "OvLedShape.h"
#include "OvListView.h"
#include "OvSNMPEngine.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvTimeScale.h"
#include "OvTrendSampler.h"
#include "TAboutForm.h"
#include "TClientInformation.h"
#include "TFM_Admin.h"
#include "TFM_CfgFile.h"
#include "TFM_DHCP.h"
#include "TFM_DevInfo.h"
#include "TFM_Filters.h"
#include "TFM_Firmware.h"
#include "TFM_Grouping.h"
#include "TFM_LAN.h"
#include "TFM_Misc.h"
#include "TFM_MultiSSIDForm.h"
#include "TFM_Performace.h"
#include "TFM_RogueAP.h"
#include "TFM_Static.h"
#include "TFM_Sytem.h"
#include "TFM_Wirless.h"
#include "TIndicationForm.h"
#include "TLogForm.h"
#include "TTrendsForm.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

#include <type_traits>

namespace {

const QString kSiblingModel = QStringLiteral("ORW-5200AP");
const QString kTimedOutText = QStringLiteral("SNMP request timed out!");

QLineEdit* factEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(QString::fromLatin1(name));
    edit->hide();
    return edit;
}

QTimer* timer(QObject* parent, const char* name, int milliseconds) {
    auto* t = new QTimer(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(ov::scaledInterval(milliseconds));
    return t;
}

// Starts a timer only when it is not running: starting restarts it in Qt.
void startIfIdle(QTimer* t) {
    if (!t->isActive())
        t->start();
}

} // namespace

TMainForm::TMainForm(QWidget* parent, const QString& modelName)
    : QMainWindow(parent), modelName_(modelName) {
    setWindowTitle(modelName_);
    const std::string exeFolder = QCoreApplication::applicationDirPath().toStdString();
    ov::loadCatalogs(OvExecutableCatalogFolder(exeFolder),
                     {OvCatalog::SnmpClass, OvCatalog::Snmp, OvCatalog::Messages, OvCatalog::OvSnmp,
                      OvCatalog::SnmpV3, OvCatalog::Usm, OvCatalog::Common});
    buildPanel();
    buildMenus();
    Timer1 = timer(this, "Timer1", 3000);
    Timer2 = timer(this, "Timer2", 500);
    Timer3 = timer(this, "Timer3", 100);
    Timer4 = timer(this, "Timer4", 2000);
    ov::onSignal(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    ov::onSignal(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
    ov::onSignal(Timer3, &QTimer::timeout, this, [this] { Timer3Timer(); });
    ov::onSignal(Timer4, &QTimer::timeout, this, [this] { Timer4Timer(); });
}

TMainForm::~TMainForm() {
    stopPolling();
}

void TMainForm::buildPanel() {
    auto* central = new QWidget(this);
    central->setFixedSize(390, 94);
    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAccessibleName(QStringLiteral("Front panel of the ") + modelName_);
    Image1->setPixmap(ov::frontPanelPicture(modelName_));
    Image1->setGeometry(1, 0, 390, 94);
    Sh_11g = new OvLedShape(QStringLiteral("Sh_11g"), QStringLiteral("802.11g LED"), central);
    Sh_11a = new OvLedShape(QStringLiteral("Sh_11a"), QStringLiteral("802.11a LED"), central);
    Sh_Lan = new OvLedShape(QStringLiteral("Sh_Lan"), QStringLiteral("LAN LED"), central);
    Sh_power = new OvLedShape(QStringLiteral("Sh_power"), QStringLiteral("Power LED"), central);
    Sh_11g->move(183, 53);
    Sh_11a->move(209, 53);
    Sh_Lan->move(236, 53);
    Sh_power->move(262, 53);
    Ed_FwVer = factEdit(central, "Ed_FwVer");
    Ed_Countrycode = factEdit(central, "Ed_Countrycode");
    ED_Turbomode = factEdit(central, "ED_Turbomode");
    ED_Turbomode_g = factEdit(central, "ED_Turbomode_g");
    APModeSupport = factEdit(central, "APModeSupport");
    ifMultiSSID_Edit = factEdit(central, "ifMultiSSID_Edit");
    IPAddressEdit = factEdit(central, "IPAddressEdit");
    SubMaskEdit = factEdit(central, "SubMaskEdit");
    Ifclientinfosupported = factEdit(central, "Ifclientinfosupported");
    setCentralWidget(central);

    MainStatusBar = new OvStatusBar(this);
    MainStatusBar->setObjectName(QStringLiteral("MainStatusBar"));
    MainStatusBar->setFixedHeight(19);
    MainStatusBar->setSizeGripEnabled(false);
    // The panel takes the bar's width so that failure texts can be read.
    OvStatusPanel* panel = MainStatusBar->addPanel(0);
    panel->setObjectName(QStringLiteral("StatusPanel0"));
    panel->setAccessibleName(QStringLiteral("Status"));
    setStatusBar(MainStatusBar);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
}

// Each window of the menus opens modally on the main window; those that talk to
// the device are given its facts and status as their context.
template <typename Window> void TMainForm::openWindow() {
    if constexpr (std::is_constructible_v<Window, const OvDeviceContext&, QWidget*>) {
        Window window(*this, this);
        window.exec();
    } else {
        Window window(this);
        window.exec();
    }
}

QAction* TMainForm::addItem(QMenu* menu, const QString& caption, void (TMainForm::*open)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(caption.trimmed().remove(QLatin1Char(' ')) + QStringLiteral("Item"));
    ov::onSignal(action, &QAction::triggered, this, [this, open] { (this->*open)(); });
    return action;
}

void TMainForm::buildMenus() {
    QMenu* home = menuBar()->addMenu(QStringLiteral("Home"));
    addItem(home, QStringLiteral("Information"), &TMainForm::OpenInformation);
    addItem(home, QStringLiteral("Wireless"), &TMainForm::openWindow<TFM_Wirless>);
    addItem(home, QStringLiteral("LAN"), &TMainForm::openWindow<TFM_LAN>);
    QMenu* advanced = menuBar()->addMenu(QStringLiteral("Advanced"));
    addItem(advanced, QStringLiteral("Performance"), &TMainForm::openWindow<TFM_Performace>);
    addItem(advanced, QStringLiteral("Filters"), &TMainForm::openWindow<TFM_Filters>);
    addItem(advanced, QStringLiteral("Grouping"), &TMainForm::openWindow<TFM_Grouping>);
    addItem(advanced, QStringLiteral("DHCP Server"), &TMainForm::openWindow<TFM_DHCP>);
    addItem(advanced, QStringLiteral("Multi-SSID"), &TMainForm::openWindow<TFM_MultiSSIDForm>);
    RogueAPItem =
        addItem(advanced, QStringLiteral("Rogue AP "), &TMainForm::openWindow<TFM_RogueAP>);
    addItem(advanced, QStringLiteral("System Log"), &TMainForm::openWindow<TLogForm>);
    ov::onSignal(advanced, &QMenu::aboutToShow, this, [this] { AdvancedMenuShow(); });
    QMenu* tools = menuBar()->addMenu(QStringLiteral("Tools"));
    addItem(tools, QStringLiteral("Admin"), &TMainForm::openWindow<TFM_Admin>);
    addItem(tools, QStringLiteral("System"), &TMainForm::openWindow<TFM_Sytem>);
    addItem(tools, QStringLiteral("Firmware"), &TMainForm::openWindow<TFM_Firmware>);
    addItem(tools, QStringLiteral("Configuration File"), &TMainForm::openWindow<TFM_CfgFile>);
    addItem(tools, QStringLiteral("Miscellaneous"), &TMainForm::openWindow<TFM_Misc>);
    QMenu* status = menuBar()->addMenu(QStringLiteral("Status"));
    addItem(status, QStringLiteral("Device Info"), &TMainForm::openWindow<TFM_DevInfo>);
    addItem(status, QStringLiteral("Stats"), &TMainForm::openWindow<TFM_Static>);
    addItem(status, QStringLiteral("Indication"), &TMainForm::openWindow<TIndicationForm>);
    ClientInfoItem = addItem(status, QStringLiteral("Client Info"), &TMainForm::OpenClientInfo);
    addItem(status, QStringLiteral("Trends"), &TMainForm::OpenTrends);
    ov::onSignal(status, &QMenu::aboutToShow, this, [this] { StatusMenuShow(); });
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    addItem(help, QStringLiteral("About"), &TMainForm::OpenAbout);
    AdvancedMenuShow();
}

std::optional<int> TMainForm::FormCreate(const std::vector<std::string>& arguments) {
    auto plainBox = [this](const QString& text) { ov::messageBox(this, modelName_, text); };
    try {
        OvSNMPSetup("");
    } catch (const OvException& e) {
        plainBox(QString::fromStdString(e.text()));
        return 1;
    }
    OvSNMPSecurity.version = 0;
    const OvStationFolders folders = OvReadStationFolders(ovstation::configPath());
    ov::loadCatalogs(
        OvCatalogFolderBelow(folders.moduleFolder.empty() ? "." : folders.moduleFolder, "errmsg"),
        {OvCatalog::Common, OvCatalog::Snmp, OvCatalog::SnmpV3, OvCatalog::Usm,
         OvCatalog::SnmpClass, OvCatalog::OvSnmp, OvCatalog::Messages});
    if (arguments.empty()) {
        plainBox(QStringLiteral("This module is only used in the Panorel or HP-Openview."));
        return 1;
    }
    startup_.device = OvSNMPDevice;
    startup_.scope = OvSNMPScope;
    startup_.security = OvSNMPSecurity;
    try {
        OvApplyArguments(startup_, arguments, folders.profileFolder);
    } catch (const OvConversionError& e) {
        plainBox(QString::fromStdString(e.what()));
        return 1;
    }
    OvSNMPDevice = startup_.device;
    OvSNMPScope = startup_.scope;
    OvSNMPSecurity = startup_.security;
    setWindowTitle(windowTitle() + QStringLiteral(" : ") + agentAddressText());
    instanceLock_ = std::make_unique<OvInstanceLock>(windowTitle().toStdString());
    if (!instanceLock_->held()) {
        // The model's name without its hyphen: "Another ORW3300AP module ...".
        ov::messageBox(this, QStringLiteral("Warning"),
                       QStringLiteral("Another %1 module is running!")
                           .arg(QString(modelName_).remove(QLatin1Char('-'))));
        return 1;
    }
    HandOver();
    if (OvTrendsSampleAlways(ovstation::configPath()))
        trendSampler().start();
    return std::nullopt;
}

OvTrendSampler& TMainForm::trendSampler() {
    if (!trends_) {
        trends_ = std::make_unique<OvTrendSampler>();
        // Samples are stamped on the module's time scale, as its timers run.
        const qint64 start = QDateTime::currentMSecsSinceEpoch();
        const double scale = ov::timeScale();
        trends_->setTiming(ov::scaledInterval(1000), [start, scale] {
            const qint64 elapsed = QDateTime::currentMSecsSinceEpoch() - start;
            return start + static_cast<qint64>(static_cast<double>(elapsed) / scale);
        });
    }
    return *trends_;
}

// The client window's reads give the trends their client counts.
void TMainForm::OpenClientInfo() {
    TClientInformation window(this);
    connect(&window, &TClientInformation::clientsRead, &trendSampler(),
            &OvTrendSampler::noteClients);
    window.exec();
}

void TMainForm::OpenTrends() {
    TTrendsForm window(trendSampler(), this);
    window.exec();
}

void TMainForm::HandOver() {
    ledBinding_ = std::make_unique<OvSNMPRequest2Edits>(this);
    ledBinding_->request.varList.Assign(OvSNMPVarList(mib::T41, SVT_SV, 0));
    ledBinding_->SetStatusTarget(statusPanel());
    ledBinding_->OnGetDone = [this](OvSNMPRequest2Controls*, const OvSNMPError& result) {
        LedUpdate(result);
    };
    ledBinding_->request.timeout = 600;
    ledBinding_->request.retries = 0;
    Timer1Timer();
    startIfIdle(Timer1);
    startIfIdle(Timer4);

    const struct {
        const OvSNMPVarRow* table;
        OvListMode mode;
        std::vector<std::pair<int, QLineEdit*>> controls;
        const char* format;
    } facts[] = {
        {mib::T44, SVT_SV, {{0, Ed_FwVer}}, "%s"},
        {mib::T48, SVT_SV, {{0, Ed_Countrycode}}, "%s"},
        {mib::T49, MVT_SV, {{0, ED_Turbomode}, {1, ED_Turbomode_g}}, "%s"},
        {mib::T50, SVT_SV, {{0, APModeSupport}}, "%u"},
        {mib::T51, SVT_SV, {{0, ifMultiSSID_Edit}}, "%u"},
        {mib::T3, SVT_SV, {{1, IPAddressEdit}, {2, SubMaskEdit}}, "%s"},
    };
    for (const auto& fact : facts) {
        auto binding = std::make_unique<OvSNMPRequest2Edits>(this);
        binding->request.varList.Assign(OvSNMPVarList(fact.table, fact.mode, 0));
        for (const auto& [position, edit] : fact.controls)
            binding->BindEdit(position, fact.format, edit);
        factBindings_.push_back(std::move(binding));
    }
    factBindings_.front()->request.timeout = 2000;
    refreshFact(*factBindings_.back()); // the device's address, once at once
}

void TMainForm::Timer1Timer() {
    if (ledBinding_) {
        // An address that cannot name the device fails each poll as a silent
        // device does; the next poll tries again (a name may resolve later).
        try {
            ledBinding_->Refresh();
        } catch (const OvException& e) {
            OvSNMPError failure;
            failure.code = e.code();
            failure.message = e.text();
            LedUpdate(failure);
        }
    }
    saveStatusText();
}

// The LED poll reports an unusable address; the facts just stay as they are.
void TMainForm::refreshFact(OvSNMPRequest2Edits& binding) {
    try {
        binding.Refresh();
    } catch (const OvException&) {
    }
}

void TMainForm::LedUpdate(const OvSNMPError& result) {
    OvLedShape* all[] = {Sh_power, Sh_Lan, Sh_11g, Sh_11a};
    if (result.code != 0) {
        Timer2->stop();
        Timer3->stop();
        statusPanel()->setText(QString::fromStdString(result.message));
        saveStatusText();
        for (OvLedShape* led : all) {
            led->setColour(OvLedShape::offColour());
            led->setBlinking(false);
        }
        return;
    }
    std::int32_t v = 0;
    if (!ov::parseInt32(ledBinding_->request.varList.Item(0).value, v))
        v = 0;
    statusPanel()->setText(kOvReadyText);
    // Each LED has a lit bit and, just above it, a blink bit.
    const std::pair<OvLedShape*, int> bits[] = {
        {Sh_power, 0x01}, {Sh_Lan, 0x04}, {Sh_11g, 0x10}, {Sh_11a, 0x40}};
    for (const auto& [led, lit] : bits) {
        led->setColour((v & lit) ? OvLedShape::litColour() : OvLedShape::offColour());
        led->setBlinkFlag((v & (lit << 1)) != 0);
        led->setBlinking(true);
    }
    startIfIdle(Timer2);
    startIfIdle(Timer3);
    saveStatusText();
}

void TMainForm::Timer2Timer() {
    for (OvLedShape* led : {Sh_power, Sh_11a, Sh_11g}) {
        if (led->blinkFlag())
            led->toggle();
    }
    saveStatusText();
}

void TMainForm::Timer3Timer() {
    if (Sh_Lan->blinkFlag())
        Sh_Lan->toggle();
    saveStatusText();
}

void TMainForm::Timer4Timer() {
    for (const auto& binding : factBindings_)
        refreshFact(*binding);
}

void TMainForm::AdvancedMenuShow() {
    RogueAPItem->setVisible(modelName_ == kSiblingModel);
}

void TMainForm::StatusMenuShow() {
    if (savedStatusText_ == kTimedOutText || savedStatusText_.isEmpty()) {
        ClientInfoItem->setVisible(false);
        return;
    }
    bool shown = true;
    try {
        OvSNMPRequest2Edits binding(this);
        binding.request.varList.Assign(OvSNMPVarList(mib::T47, SVT_SV, 0));
        binding.mode = 0;
        binding.BindEdit(0, "%u", Ifclientinfosupported);
        if (binding.Refresh())
            shown = Ifclientinfosupported->text() == QStringLiteral("1");
    } catch (const std::exception&) {
        shown = true; // a failing query shows the item
    }
    ClientInfoItem->setVisible(shown);
}

void TMainForm::saveStatusText() {
    savedStatusText_ = statusPanel()->text();
}

OvStatusPanel* TMainForm::statusPanel() const {
    return MainStatusBar->panel(0);
}

void TMainForm::OpenAbout() {
    TAboutForm about(modelName_, this);
    about.exec();
}

void TMainForm::OpenInformation() {
    ShowInformationWindow(this);
}

OvDeviceFacts TMainForm::deviceFacts() const {
    return {Ed_FwVer->text(),       Ed_Countrycode->text(), ED_Turbomode->text(),
            ED_Turbomode_g->text(), APModeSupport->text(),  ifMultiSSID_Edit->text(),
            IPAddressEdit->text(),  SubMaskEdit->text()};
}

QString TMainForm::statusText() const {
    return statusPanel()->text();
}

QString TMainForm::agentAddressText() const {
    return QString::fromStdString(startup_.agentAddressText);
}

QWidget* TMainForm::ownerWindow() const {
    return const_cast<TMainForm*>(this);
}

void TMainForm::stopPolling() {
    if (shutDown_)
        return;
    shutDown_ = true;
    for (QTimer* t : {Timer1, Timer2, Timer3, Timer4})
        t->stop();
    if (trends_)
        trends_->stop();
    // Requests stop before the bindings go, so no answer reaches a freed control.
    if (ledBinding_)
        ledBinding_->request.active = 0;
    for (const auto& binding : factBindings_)
        binding->request.active = 0;
    // Outstanding answers end now ("session destroyed"), so closing never waits
    // for a silent device.
    if (ledBinding_ || !factBindings_.empty()) {
        ovengine::closeAll();
        std::vector<std::exception_ptr> errors;
        ovengine::processPendingEvents(errors);
    }
    ledBinding_.reset();
    factBindings_.clear();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    stopPolling();
    event->accept();
}

#include "moc_TMainForm.cpp"
