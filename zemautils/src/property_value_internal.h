#pragma once
// What the property value and the property buffer share inside the library.

#include <zemautils/property.h>

namespace zema {

// A value with all eight bytes zero, whichever member is read.
_PV ZeroPropertyValue();

}  // namespace zema
