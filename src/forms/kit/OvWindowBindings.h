// The bindings a window owns and how it lets them go when it closes, the
// busy flag that keeps a window open while it walks or writes, and the
// bindings of device tables that windows make.
#pragma once

#include "OvSNMPRequest2Edits.h"

#include <cstdint>
#include <memory>
#include <vector>

class QLineEdit;
class QWidget;

// The bindings of one window, in the order it made them.
class OvWindowBindings {
public:
    OvWindowBindings();
    ~OvWindowBindings();
    OvWindowBindings(const OvWindowBindings&) = delete;
    OvWindowBindings& operator=(const OvWindowBindings&) = delete;

    // A new binding (OvSNMPRequest2Edits or a kind of it), owned here.
    template <typename Binding> Binding* make(QWidget* owner) {
        auto binding = std::make_unique<Binding>(owner);
        Binding* made = binding.get();
        bindings_.push_back(std::move(binding));
        return made;
    }

    // The close rule: first every request is deactivated and every closure
    // dropped, so that no walk goes on and no answer still arriving reaches a
    // window that is going; then the bindings are freed, newest first. The
    // window calls this before the controls the bindings touch go.
    void release();

    bool empty() const { return bindings_.empty(); }

private:
    std::vector<std::unique_ptr<OvSNMPRequest2Edits>> bindings_;
};

// The busy flag: set while a window waits for a walk into its list view or for
// a write of its own to end. While it is set the window refuses to close.
class OvBusyFlag {
public:
    void set() { set_ = true; }
    void clear() { set_ = false; }
    bool isSet() const { return set_; }

    // Starts the binding's (asynchronous) walk, whose end clears the flag. A
    // walk that cannot start leaves no end to wait for: when the refresh raises
    // (the error goes on to the caller) or starts nothing (an inactive
    // request), the flag is cleared here.
    void startWalk(OvSNMPRequest2Controls& binding);

private:
    bool set_ = false;
};

namespace ovkit {

// A binding of the window over the table's variables, each shown in the box of
// its position ("%s"); synchronous (mode 0) or asynchronous (mode 1).
OvSNMPRequest2Edits* valueBinding(OvWindowBindings& bindings, QWidget* owner,
                                  const OvSNMPVarRow* table, OvListMode listMode, std::uint8_t mode,
                                  const std::vector<QLineEdit*>& boxes);

// A binding of a list built from a device table: synchronous unless said,
// every OID used as stored unless a table mode and its key columns are given.
std::unique_ptr<OvSNMPRequest2Edits> newList(QWidget* owner, const OvSNMPVarRow* table,
                                             bool synchronous = true, OvListMode mode = MVT_SV,
                                             int keys = 0);

} // namespace ovkit
