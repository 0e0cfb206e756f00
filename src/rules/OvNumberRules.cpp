#include "OvNumberRules.h"

#include "OvAddressChecks.h"

namespace ovrules {

const char* numberRefusal(std::string_view text, const NumberField& field) {
    return !text.empty() && numberWithin(text, field.low, field.high) ? nullptr : field.refusal;
}

} // namespace ovrules
