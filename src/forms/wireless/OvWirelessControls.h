// What the wireless window's parts share when they build and set controls:
// never-visible controls, the read-only look, choices picked by their text,
// and the channel choice. Named controls and labels come from
// OvFormControls.h.
#pragma once

#include "OvFormControls.h"

#include "OvSNMPRequest2Edits.h"

#include <QString>

#include <memory>
#include <string>

class QComboBox;
class QLineEdit;
class QWidget;

namespace ovwireless {

// The longest SSID the device takes, in octets.
inline constexpr int kSsidLength = 32;

// The refusal of an ASCII key that holds anything but printable ASCII.
inline const QString kAsciiOnly =
    QStringLiteral("Please input printable ASCII characters in the key!");

// A typed text as the octets the device keeps (UTF-8).
std::string utf8(const QString& text);

// A control's design name on a band's page: `name` followed by the 802.11a
// or the 802.11g ending ("CB_AuSc" with "" or "g").
QString bandControlName(const char* name, int band, const char* a, const char* g);

// A binding of a list built from a device table: synchronous unless said,
// every OID used as stored unless a table mode and its key columns are given.
std::unique_ptr<OvSNMPRequest2Edits> newList(QWidget* owner, const OvSNMPVarRow* table,
                                             bool synchronous = true, OvListMode mode = MVT_SV,
                                             int keys = 0);

// A control the user never sees: it carries a device value between the
// window's procedures. Screen readers, which may still list it, get its name.
void neverVisible(QWidget* control);

// Editable in the normal window colour, or read-only in the page colour.
void setEditable(QLineEdit* edit, bool editable);
bool isEditable(const QLineEdit* edit);

// Selects the item with this text; nothing when there is none.
void selectText(QComboBox* comboBox, const QString& text);

// Fills the drop-down list from a space-separated channel list and selects the
// item equal to the value text; answers whether one was selected.
bool FillChannelChoices(const QString& list, QComboBox* comboBox, const QString& value);

} // namespace ovwireless
