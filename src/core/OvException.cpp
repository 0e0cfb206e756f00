#include "OvException.h"

#include "OvCatalog.h"

OvException::OvException(std::int32_t code) : OvException(code, ov::textOfCode(code)) {}
