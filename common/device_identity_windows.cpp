// Both identifier forms derive from the machine GUID that Windows sets up at
// installation. They are keyed digests of it, so the platform can recognise a machine
// without ever receiving the GUID itself, and the two forms cannot be mapped onto each
// other.
#include <windows.h>

#include <string>

#include "common/base64.h"
#include "common/crypto.h"
#include "common/device_identity.h"
#include "common/text.h"
#include "common/wide_text.h"

namespace {

std::string ReadMachineGuid() {
  wchar_t value[128] = {};
  DWORD size = sizeof(value);
  // The 64-bit view: a 32-bit process would otherwise read a redirected, absent key.
  const LSTATUS status =
      RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", L"MachineGuid",
                   RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, value, &size);
  if (status != ERROR_SUCCESS) return {};
  return Utf16ToUtf8(FromWide(value));
}

std::u16string DeriveForm(std::string_view label) {
  try {
    const std::string guid = ReadMachineGuid();
    if (guid.empty()) return {};
    return AsciiToUtf16(HexLower(HmacSha256(label, guid)));
  } catch (...) {
    return {};  // no CNG: no identifier, as with no GUID
  }
}

}  // namespace

std::u16string DeviceIdentifier() {
  static const std::u16string form = DeriveForm("quorvel device identifier");
  return form;
}

std::u16string SecondDeviceIdentifier() {
  static const std::u16string form = DeriveForm("quorvel machine identifier");
  return form;
}
