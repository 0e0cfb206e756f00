#include "OvWindowBindings.h"

#include <QLineEdit>

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

namespace ovkit {

OvSNMPRequest2Edits* valueBinding(OvWindowBindings& bindings, QWidget* owner,
                                  const OvSNMPVarRow* table, OvListMode listMode, std::uint8_t mode,
                                  const std::vector<QLineEdit*>& boxes) {
    auto* binding = bindings.make<OvSNMPRequest2Edits>(owner);
    binding->request.varList.Assign(OvSNMPVarList(table, listMode, 0));
    binding->mode = mode;
    for (std::size_t position = 0; position < boxes.size(); ++position)
        binding->BindEdit(static_cast<int>(position), "%s", boxes[position]);
    return binding;
}

std::unique_ptr<OvSNMPRequest2Edits> newList(QWidget* owner, const OvSNMPVarRow* table,
                                             bool synchronous, OvListMode mode, int keys) {
    auto binding = std::make_unique<OvSNMPRequest2Edits>(owner);
    if (synchronous)
        binding->mode = 0;
    binding->request.varList.Assign(OvSNMPVarList(table, mode, keys));
    return binding;
}

} // namespace ovkit
