#include "OvWindowBindings.h"

OvWindowBindings::OvWindowBindings() = default;

OvWindowBindings::~OvWindowBindings() {
    release();
}

void OvWindowBindings::release() {
    for (const auto& binding : bindings_) {
        binding->request.active = 0;
        binding->OnGetDone = nullptr;
        binding->OnSetDone = nullptr;
        binding->BeforeRefresh = binding->BeforeApply = nullptr;
        binding->AfterRefresh = binding->AfterApply = nullptr;
    }
    while (!bindings_.empty()) {
        // Taken out first: destroying a request waits for its answers and lets
        // events through, which must not find it half gone in the list.
        std::unique_ptr<OvSNMPRequest2Edits> last = std::move(bindings_.back());
        bindings_.pop_back();
        last.reset();
    }
}

void OvBusyFlag::startWalk(OvSNMPRequest2Controls& binding) {
    try {
        binding.Refresh();
    } catch (...) {
        clear();
        throw;
    }
    if (!binding.IsBusy())
        clear();
}
