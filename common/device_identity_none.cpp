// Builds without a machine identity (the native build's tools and tests).
#include "common/device_identity.h"

std::u16string DeviceIdentifier() { return {}; }
std::u16string SecondDeviceIdentifier() { return {}; }
