#pragma once
// The IUnknown half of every object the stand-in hands out: an atomic reference count,
// QueryInterface over the object's chain of interface versions, and the refusal of the
// interfaces named in QUORVEL_RUNTIME_LACK, so that a host's fallback paths for an older
// runtime can be reached.

#include <windows.h>
#include <wrl/client.h>

#include <atomic>
#include <memory>
#include <string_view>
#include <utility>

#include "tools/runtime-standin/runtime.h"
#include "webview/abi/WebView2.h"

namespace standin {

using Microsoft::WRL::ComPtr;

// The name QUORVEL_RUNTIME_LACK uses for an interface.
template <class Interface>
struct InterfaceName;

#define STANDIN_INTERFACE_NAME(Interface)                 \
  template <>                                             \
  struct InterfaceName<Interface> {                       \
    static constexpr std::string_view value = #Interface; \
  };
#include "tools/runtime-standin/interface_names.inc"
#undef STANDIN_INTERFACE_NAME

// Objects of the stand-in alive in the process; exported for the tests' leak checks.
long LiveObjects();
void CountLiveObject(long change);

// Derived implements Top, which derives from each of Bases. A Derived that declares
// `static const GUID kSelfIid` also answers that private IID with itself, so the stand-in
// can recognise its own objects when the host hands them back (OwnObject below).
template <class Derived, class Top, class... Bases>
class ComObject : public Top {
 public:
  explicit ComObject(std::shared_ptr<Runtime> runtime) : runtime_(std::move(runtime)) {
    CountLiveObject(1);
  }
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, __uuidof(IUnknown))) {
      *object = static_cast<IUnknown*>(static_cast<Top*>(this));
    } else if (IsSelf(iid)) {
      *object = static_cast<Derived*>(this);
    } else if (!(Offer<Top>(iid, object) || ... || Offer<Bases>(iid, object))) {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }

  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }

  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~ComObject() { CountLiveObject(-1); }

  Runtime& runtime() const { return *runtime_; }
  const std::shared_ptr<Runtime>& shared_runtime() const { return runtime_; }

 private:
  static bool IsSelf(REFIID iid) {
    if constexpr (requires { Derived::kSelfIid; }) {
      return IsEqualIID(iid, Derived::kSelfIid);
    } else {
      return false;
    }
  }

  template <class Interface>
  bool Offer(REFIID iid, void** object) {
    if (!IsEqualIID(iid, __uuidof(Interface)) || runtime_->Lacks(InterfaceName<Interface>::value)) {
      return false;
    }
    *object = static_cast<Interface*>(this);
    return true;
  }

  std::shared_ptr<Runtime> runtime_;
  std::atomic<ULONG> references_{1};
};

// A new object holding its first reference.
template <class T, class... Args>
ComPtr<T> Make(Args&&... args) {
  ComPtr<T> object;
  // mingw's ComPtr::Attach would add a second reference; store the first one as it is.
  *object.GetAddressOf() = new T(std::forward<Args>(args)...);
  return object;
}

// The stand-in's own object behind an interface the host passed back; null when the
// object is someone else's.
template <class T>
ComPtr<T> OwnObject(IUnknown* object) {
  ComPtr<T> own;
  if (object != nullptr) {
    object->QueryInterface(T::kSelfIid, reinterpret_cast<void**>(own.GetAddressOf()));
  }
  return own;
}

// Gives the caller its own reference through an out-parameter.
template <class Interface, class T>
HRESULT HandOut(const ComPtr<T>& object, Interface** out) {
  if (out == nullptr) return E_POINTER;
  *out = object.Get();
  if (*out != nullptr) (*out)->AddRef();
  return S_OK;
}

// The thread's last system error as a failure code; E_FAIL when it names none.
inline HRESULT LastErrorCode() {
  const HRESULT code = HRESULT_FROM_WIN32(GetLastError());
  return FAILED(code) ? code : E_FAIL;
}

// Reads a plain value through an out-parameter.
template <class T, class Value>
HRESULT GetValue(T* out, const Value& value) {
  if (out == nullptr) return E_POINTER;
  *out = static_cast<T>(value);
  return S_OK;
}

}  // namespace standin
