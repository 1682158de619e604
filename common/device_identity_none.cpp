// Builds without a device-identity source report none: diagnostic codes then carry an
// empty "mk=" field, which support reads as "unknown machine".
#include "common/device_identity.h"

std::u16string DeviceIdentifier() { return {}; }
