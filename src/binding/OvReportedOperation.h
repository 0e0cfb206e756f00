// A synchronous binding reports its failures to no one: a window whose status
// bar shows them runs its refreshes and applies through these, which write the
// operation's status line ("Get: ..." or "Set: ...") with the failure's text
// into the binding's status target when the operation answers false. Errors of
// the module's own making reach the caller unchanged.
#pragma once

class OvSNMPRequest2Controls;

namespace ov {

bool refreshReported(OvSNMPRequest2Controls& binding);
// Collects the controls first; no refresh afterwards.
bool applyReported(OvSNMPRequest2Controls& binding);

} // namespace ov
