// The static pool entry dialog: one entry of the DHCP server's static pool (a
// fixed address for one client MAC address, with its own mask, gateway, WINS
// and DNS servers, domain and status). The DHCP server window owns it (through
// OvStaticPoolList, which this header declares for it), binds
// its controls to the static pool binding, loads a row into them and opens it
// to add or to edit. An entry is written in two SETs: the target row is
// cleared, then the new values go into it.
#pragma once

#include "OvDialog.h"

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class OvBusyFlag;
class OvDeviceContext;
class OvSNMPRequest2Edits;
class OvStatusBar;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// What the dialog needs of the window that lists the static pool (its
// parent): the window's bindings, busy flag and pending refresh, the pool's
// rows, the typed dynamic pool and the device's own address.
class OvStaticPoolList {
public:
    virtual QWidget* listWindow() = 0;
    virtual const OvDeviceContext& device() const = 0;
    virtual OvBusyFlag& busyFlag() = 0;
    virtual void setPendingRefresh(bool pending = true) = 0;
    // How many SETs of the static pool binding have been answered (or failed).
    virtual std::uint64_t staticPoolSetsAnswered() const = 0;
    virtual OvSNMPRequest2Edits* switchBinding() const = 0;
    virtual OvSNMPRequest2Edits* staticPoolBinding() const = 0;
    // One column of the full static pool list, row by row: 0 "IP", 1 "MAC".
    virtual std::vector<std::string> staticPoolColumn(int subItem) const = 0;
    // Loads the row of the full static pool list into the dialog's controls.
    virtual void loadStaticPoolRow(int row) = 0;
    // The dynamic pool's start and size as typed, and the device's address.
    virtual const QLineEdit* dynamicPoolStartBox() const = 0;
    virtual const QLineEdit* dynamicPoolSizeBox() const = 0;
    virtual const QLineEdit* deviceAddressBox() const = 0;

protected:
    ~OvStaticPoolList() = default;
};

class TFM_StaticPoolEntry : public OvDialog {
    Q_OBJECT
public:
    explicit TFM_StaticPoolEntry(OvStaticPoolList& dhcp);
    ~TFM_StaticPoolEntry() override;

    // Binds the controls to the static pool binding, in the order of its table.
    void bindControls(OvSNMPRequest2Edits& binding);
    // Puts the free slot's values into the controls.
    void showFreeSlot();
    // Edit mode: the loaded entry becomes the old values.
    void rememberOldValues();

    QLabel* LA_Index;
    QLabel* LA_AsgIP;
    QLineEdit* Ed_AsgIP;
    QLabel* LA_AsgMac;
    QLineEdit* Ed_AsgMac;
    QLabel* LA_SubMask;
    QLineEdit* Ed_SubMask;
    QLabel* LA_Gatway;
    QLineEdit* Ed_Gatway;
    QLabel* LA_Wins;
    QLineEdit* Ed_Wins;
    QLabel* LA_DNS;
    QLineEdit* Ed_DNS;
    QLabel* LA_DomNa;
    QLineEdit* Ed_DomNa;
    QLabel* LA_Stat;
    QComboBox* CB_Stat;
    QPushButton* Apply;
    OvStatusBar* StatusBar1;

    // Enabled: add mode; disabled: edit mode, holding the entry's address.
    QLineEdit* Ed_OldIP;
    QLineEdit* ED_OldMAC;
    // The typed values while the target row is cleared.
    QLineEdit* Ed_AsgIP2;
    QLineEdit* Ed_AsgMac2;
    QLineEdit* Ed_SubMask2;
    QLineEdit* Ed_Gatway2;
    QLineEdit* Ed_Wins2;
    QLineEdit* Ed_DNS2;
    QLineEdit* Ed_DomNa2;

    void ApplyClick();

private:
    void buildControls();
    void buildHidden();

    // The checks in order, each ending the procedure.
    bool checkEntry();
    bool checkAddressUnique();
    bool checkServerAddresses();
    bool checkAssignedAddress();
    bool checkMac();
    bool checkOutsideDevice();

    // The three ways to write.
    void writeAdd();
    void writeEdit();
    // Clears and writes the row (none: the one loaded).
    void rewriteRow(std::optional<std::size_t> row);
    void clearTarget();
    // Each box the user types in with the hidden box that keeps its text.
    std::array<std::pair<QLineEdit*, QLineEdit*>, 7> typedCopies() const;
    void copyTyped();
    void restoreTyped();
    void restoreOldValues();
    // Empty mask, gateway, WINS and DNS boxes go out as "0.0.0.0".
    void finalWrite();
    void finish();

    struct OldValues {
        QString mask, gateway, wins, dns, domain;
        int status = -1;
    };

    OvStaticPoolList& dhcp_;
    OldValues old_;
    int typedStatus_ = -1;
};
