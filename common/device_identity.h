#pragma once
// The machine's opaque, stable device identifier that API requests and diagnostic
// codes carry. Empty when it cannot be determined.

#include <string>

std::u16string DeviceIdentifier();
