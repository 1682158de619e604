#pragma once
// The machine's two opaque, stable identifier forms that API requests and diagnostic
// codes carry. Each is computed once per process; empty when it cannot be determined.

#include <string>

std::u16string DeviceIdentifier();
std::u16string SecondDeviceIdentifier();
