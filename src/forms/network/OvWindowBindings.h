// What windows that walk tables into list views share: the bindings they own
// and how they let them go when they close, and the busy flag that keeps such
// a window open while it walks or writes.
#pragma once

#include "OvSNMPRequest2Edits.h"

#include <memory>
#include <vector>

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
