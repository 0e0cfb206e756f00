#include "OvReportedOperation.h"

#include "OvSNMPRequest2Controls.h"
#include "OvWidgetText.h"

#include <QWidget>

#include <functional>
#include <string>
#include <utility>

namespace ov {
namespace {

// The request's own failure hook stays in place and is called first.
bool reported(OvSNMPRequest2Controls& binding, int operation, const std::function<bool()>& run) {
    std::string failure;
    OvSNMPRequest::ResultHook previous = binding.request.resultHook;
    binding.request.resultHook = [&failure, previous](const OvSNMPError& result) {
        if (previous)
            previous(result);
        failure = result.message;
    };
    const auto restore = [&binding, &previous] {
        binding.request.resultHook = std::move(previous);
    };
    bool ok = false;
    try {
        ok = run();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (!ok)
        binding.ShowStatusOf(operation, widgetText(failure));
    return ok;
}

} // namespace

bool refreshReported(OvSNMPRequest2Controls& binding) {
    return reported(binding, 0, [&binding] { return binding.Refresh(); });
}

bool applyReported(OvSNMPRequest2Controls& binding) {
    return reported(binding, 1, [&binding] { return binding.Apply(false, true); });
}

} // namespace ov
