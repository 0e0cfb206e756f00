#include "TFM_StaticPoolEntry.h"

#include "OvAddressChecks.h"
#include "OvAddressProbe.h"
#include "OvDhcpChecks.h"
#include "OvDhcpRules.h"
#include "OvDialogs.h"
#include "OvEditBox.h"
#include "OvGuard.h"
#include "OvKitControls.h"
#include "OvPoolRange.h"
#include "OvSNMPRequest2Edits.h"
#include "OvStatusBar.h"
#include "OvWindowBindings.h"
#include "TFM_Waiting.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kFreeAddress = QString::fromLatin1(ovrules::kFreeSlotAddress);

using ovkit::control;
using ovkit::refuse;

std::string octets(const QLineEdit* edit) {
    return edit->text().toStdString();
}

} // namespace

TFM_StaticPoolEntry::TFM_StaticPoolEntry(OvStaticPoolList& dhcp)
    : OvDialog(dhcp.listWindow()), dhcp_(dhcp) {
    buildControls();
    buildHidden();
}

TFM_StaticPoolEntry::~TFM_StaticPoolEntry() = default;

void TFM_StaticPoolEntry::buildControls() {
    ovkit::frameWindow(this, QStringLiteral("Static Pool Settings"));
    LA_Index = control<QLabel>(this, "LA_Index");
    LA_Index->setText(QStringLiteral("1"));
    LA_Index->setAccessibleName(QStringLiteral("Index"));
    LA_Index->hide();
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    const auto field = [&](QLabel*& caption, QLineEdit*& edit, const char* name,
                           const char* captionName, const QString& text, const QString& initial) {
        edit = control<QLineEdit>(this, name);
        edit->setText(initial);
        edit->setMinimumWidth(160);
        caption = ovkit::label(this, captionName, text, edit);
        const int row = grid->rowCount();
        grid->addWidget(caption, row, 0);
        grid->addWidget(edit, row, 1);
    };
    field(LA_AsgIP, Ed_AsgIP, "Ed_AsgIP", "LA_AsgIP", QStringLiteral("Assigned IP"), kFreeAddress);
    field(LA_AsgMac, Ed_AsgMac, "Ed_AsgMac", "LA_AsgMac", QStringLiteral("Assigned MAC Address"),
          QString::fromLatin1(ovrules::kFreeSlotMac));
    field(LA_SubMask, Ed_SubMask, "Ed_SubMask", "LA_SubMask", QStringLiteral("SubMask"),
          kFreeAddress);
    field(LA_Gatway, Ed_Gatway, "Ed_Gatway", "LA_Gatway", QStringLiteral("Gateway"), kFreeAddress);
    field(LA_Wins, Ed_Wins, "Ed_Wins", "LA_Wins", QStringLiteral("Wins"), kFreeAddress);
    field(LA_DNS, Ed_DNS, "Ed_DNS", "LA_DNS", QStringLiteral("DNS"), kFreeAddress);
    field(LA_DomNa, Ed_DomNa, "Ed_DomNa", "LA_DomNa", QStringLiteral("Domain Name"), QString());
    CB_Stat = control<QComboBox>(this, "CB_Stat");
    LA_Stat = ovkit::label(this, "LA_Stat", QStringLiteral("Status"), CB_Stat);
    const int row = grid->rowCount();
    grid->addWidget(LA_Stat, row, 0);
    grid->addWidget(CB_Stat, row, 1);
    Apply = ovkit::button(this, "Apply", QStringLiteral("Apply"));
    StatusBar1 = ovkit::statusBar(this, "StatusBar1", false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Apply);
    auto* content = new QVBoxLayout;
    content->setContentsMargins(12, 12, 12, 8);
    content->addLayout(grid);
    content->addSpacing(8);
    content->addLayout(buttons);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->addLayout(content);
    window->addWidget(StatusBar1);
    setFixedSize(sizeHint());
    ov::onSignal(Apply, &QPushButton::clicked, this, [this] { ApplyClick(); });
}

void TFM_StaticPoolEntry::buildHidden() {
    const std::pair<QLineEdit*&, const char*> hidden[] = {
        {Ed_OldIP, "Ed_OldIP"},     {ED_OldMAC, "ED_OldMAC"},     {Ed_AsgIP2, "Ed_AsgIP2"},
        {Ed_AsgMac2, "Ed_AsgMac2"}, {Ed_SubMask2, "Ed_SubMask2"}, {Ed_Gatway2, "Ed_Gatway2"},
        {Ed_Wins2, "Ed_Wins2"},     {Ed_DNS2, "Ed_DNS2"},         {Ed_DomNa2, "Ed_DomNa2"},
    };
    for (const auto& [edit, name] : hidden) {
        edit = control<QLineEdit>(this, name);
        ovkit::neverVisible(edit);
    }
}

// The WINS box goes with position 5, the column the table names "DNS", and
// the DNS box with position 6, named "Wins": the device's columns are swapped.
void TFM_StaticPoolEntry::bindControls(OvSNMPRequest2Edits& binding) {
    binding.BindControl(0, LA_Index);
    binding.BindEdit(1, "%s", Ed_AsgIP);
    binding.BindEdit(2, "%h", Ed_AsgMac);
    binding.BindEdit(3, "%s", Ed_SubMask);
    binding.BindEdit(4, "%s", Ed_Gatway);
    binding.BindEdit(5, "%s", Ed_Wins);
    binding.BindEdit(6, "%s", Ed_DNS);
    binding.BindEdit(7, "%s", Ed_DomNa);
    binding.BindComboBox(8, CB_Stat);
    for (QLineEdit* edit : {Ed_AsgIP, Ed_SubMask, Ed_Gatway, Ed_Wins, Ed_DNS})
        ov::setTypingLimit(edit, 15);
    ov::setTypingLimit(Ed_AsgMac, ovrules::kMacHexDigits);
    ov::setTypingLimit(Ed_DomNa, 63);
}

void TFM_StaticPoolEntry::showFreeSlot() {
    for (QLineEdit* edit : {Ed_AsgIP, Ed_SubMask, Ed_Gatway, Ed_Wins, Ed_DNS})
        edit->setText(kFreeAddress);
    Ed_AsgMac->setText(QString::fromLatin1(ovrules::kFreeSlotMac));
    Ed_DomNa->clear();
    CB_Stat->setCurrentIndex(0); // "OFF"
}

void TFM_StaticPoolEntry::rememberOldValues() {
    Ed_OldIP->setText(Ed_AsgIP->text());
    ED_OldMAC->setText(Ed_AsgMac->text());
    old_ = {Ed_SubMask->text(), Ed_Gatway->text(), Ed_Wins->text(),
            Ed_DNS->text(),     Ed_DomNa->text(),  CB_Stat->currentIndex()};
}

void TFM_StaticPoolEntry::restoreOldValues() {
    Ed_AsgIP->setText(Ed_OldIP->text());
    Ed_AsgMac->setText(ED_OldMAC->text());
    Ed_SubMask->setText(old_.mask);
    Ed_Gatway->setText(old_.gateway);
    Ed_Wins->setText(old_.wins);
    Ed_DNS->setText(old_.dns);
    Ed_DomNa->setText(old_.domain);
    CB_Stat->setCurrentIndex(old_.status);
}

// ---- Apply

void TFM_StaticPoolEntry::ApplyClick() {
    if (dhcp_.staticPoolBinding() == nullptr || !checkEntry())
        return;
    if (Ed_OldIP->isEnabled())
        writeAdd();
    else
        writeEdit();
}

bool TFM_StaticPoolEntry::checkEntry() {
    return checkAddressUnique() && checkServerAddresses() && checkAssignedAddress() && checkMac() &&
           checkOutsideDevice();
}

// Another row than the one being written holds the address: rows count from 1
// as the device numbers its slots.
bool TFM_StaticPoolEntry::checkAddressUnique() {
    const long long index = LA_Index->text().toLongLong();
    if (!ovrules::addressTakenElsewhere(dhcp_.staticPoolColumn(ovrules::kStaticPoolIp),
                                        octets(Ed_AsgIP), index))
        return true;
    return refuse(this, nullptr, ovkit::kWarning,
                  QStringLiteral("Reject: The IP has already existed. "), false);
}

bool TFM_StaticPoolEntry::checkServerAddresses() {
    if (!ovnet::checkGivenMask(this, Ed_SubMask) ||
        !ovnet::checkGivenServers(this, Ed_Gatway, Ed_Wins, Ed_DNS))
        return false;
    if (!ovkit::textCheck(this, Ed_DomNa->text(), ovrules::TextCheckMode::NoQuotationMark)) {
        Ed_DomNa->setFocus();
        return false;
    }
    return true;
}

// Probed in both modes, even when the address is the entry's own.
bool TFM_StaticPoolEntry::checkAssignedAddress() {
    if (!ovrules::isHostAddress(octets(Ed_AsgIP)))
        return refuse(this, Ed_AsgIP, QString::fromLatin1(ovrules::kDhcpCheckTitle),
                      QString::fromLatin1(ovrules::kDhcpAddressRefusal), true);
    if (ovnet::addressProbe(this, Ed_AsgIP->text()))
        return refuse(this, Ed_AsgIP, ovkit::kWarning,
                      QStringLiteral("Reject: The IP already has been used."), false);
    return true;
}

bool TFM_StaticPoolEntry::checkMac() {
    if (Ed_AsgMac->text().size() < ovrules::kMacHexDigits ||
        Ed_AsgMac->text() == QLatin1String(ovrules::kFreeSlotMac))
        return refuse(this, nullptr, ovkit::kWarning, QStringLiteral("Please input valid MAC."),
                      false);
    return true;
}

// Strict conversions: a part that is no number ends the handler with the
// application's error report.
bool TFM_StaticPoolEntry::checkOutsideDevice() {
    const std::uint32_t start = ovrules::checkedDottedValue(octets(dhcp_.dynamicPoolStartBox()));
    const std::uint32_t size = ovrules::checkedDottedValue(octets(dhcp_.dynamicPoolSizeBox()));
    const std::uint32_t address = ovrules::checkedDottedValue(octets(Ed_AsgIP));
    if (ovrules::poolCovers(start, size, address))
        return refuse(this, nullptr, ovkit::kWarning,
                      QStringLiteral("Reject: The IP has already existed in IP Dynamic pool."),
                      false);
    // By the four numbers: a leading zero does not make another address.
    if (ovrules::sameAddress(octets(Ed_AsgIP), octets(dhcp_.deviceAddressBox())))
        return refuse(this, nullptr, ovkit::kWarning,
                      QStringLiteral("Reject: The IP is the system IP."), false);
    return true;
}

// ---- Writing

void TFM_StaticPoolEntry::writeAdd() {
    const std::vector<std::string> macs = dhcp_.staticPoolColumn(ovrules::kStaticPoolMac);
    if (macs.empty()) {
        finish();
        return;
    }
    // The client has an entry already: it is replaced in its own row, and the
    // free slot chosen stays free.
    if (const auto row = ovrules::rowOfMac(macs, octets(Ed_AsgMac))) {
        rewriteRow(row);
        return;
    }
    finalWrite();
}

void TFM_StaticPoolEntry::writeEdit() {
    // A MAC cannot change while the address stays.
    if (ovrules::sameAddress(octets(Ed_AsgIP), octets(Ed_OldIP)) &&
        !ovrules::sameMac(octets(Ed_AsgMac), octets(ED_OldMAC))) {
        restoreOldValues();
        ov::messageBox(
            this, ovkit::kWarning,
            QStringLiteral("Reject: DHCPS static IP already exists in static DHCP server!"));
        return;
    }
    // The client's row, if it has one, else the row being edited.
    rewriteRow(
        ovrules::rowOfMac(dhcp_.staticPoolColumn(ovrules::kStaticPoolMac), octets(Ed_AsgMac)));
}

// The typed values are kept aside while the row is cleared, then written.
void TFM_StaticPoolEntry::rewriteRow(std::optional<std::size_t> row) {
    copyTyped();
    if (row)
        dhcp_.loadStaticPoolRow(static_cast<int>(*row));
    clearTarget();
    restoreTyped();
    finalWrite();
}

// The clearing SET is waited for: were it still unanswered when the entry is
// written, its retransmission could reach the device after that write and
// wipe the new entry. Its answer starts no walk, and the DHCP window stays
// open, until the entry is written.
void TFM_StaticPoolEntry::clearTarget() {
    showFreeSlot();
    OvSNMPRequest2Edits* pool = dhcp_.staticPoolBinding();
    const std::uint64_t answered = dhcp_.staticPoolSetsAnswered();
    dhcp_.setPendingRefresh(false);
    dhcp_.busyFlag().set();
    try {
        pool->Apply(false, true);
    } catch (...) {
        dhcp_.busyFlag().clear();
        throw;
    }
    const QPointer<QWidget> window(dhcp_.listWindow());
    while (window && dhcp_.staticPoolBinding() == pool && pool->IsBusy() &&
           dhcp_.staticPoolSetsAnswered() == answered)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                        QEventLoop::WaitForMoreEvents);
}

std::array<std::pair<QLineEdit*, QLineEdit*>, 7> TFM_StaticPoolEntry::typedCopies() const {
    return {{{Ed_AsgIP, Ed_AsgIP2},
             {Ed_AsgMac, Ed_AsgMac2},
             {Ed_SubMask, Ed_SubMask2},
             {Ed_Gatway, Ed_Gatway2},
             {Ed_Wins, Ed_Wins2},
             {Ed_DNS, Ed_DNS2},
             {Ed_DomNa, Ed_DomNa2}}};
}

void TFM_StaticPoolEntry::copyTyped() {
    for (const auto& [typed, copy] : typedCopies())
        copy->setText(typed->text());
    typedStatus_ = CB_Stat->currentIndex();
}

void TFM_StaticPoolEntry::restoreTyped() {
    for (const auto& [typed, copy] : typedCopies())
        typed->setText(copy->text());
    CB_Stat->setCurrentIndex(typedStatus_);
}

// The window stays busy until the finish; an error raised on the way must not
// leave it unable to close.
void TFM_StaticPoolEntry::finalWrite() {
    ovnet::fillEmptyAddresses({Ed_SubMask, Ed_Gatway, Ed_Wins, Ed_DNS});
    dhcp_.busyFlag().set();
    try {
        dhcp_.switchBinding()->Apply(false, true);
        dhcp_.staticPoolBinding()->Apply(false, true);
    } catch (...) {
        dhcp_.busyFlag().clear();
        throw;
    }
    dhcp_.setPendingRefresh();
    finish();
}

void TFM_StaticPoolEntry::finish() {
    hide();
    {
        TFM_Waiting waiting(dhcp_.device(), dhcp_.listWindow());
        waiting.restartCommand = false;
        waiting.Label3->setText(QStringLiteral("But the device isn't restarting."));
        waiting.restartTick = 22;
        waiting.countdown = 15;
        waiting.exec();
    }
    dhcp_.busyFlag().clear();
    accept();
}

#include "moc_TFM_StaticPoolEntry.cpp"
