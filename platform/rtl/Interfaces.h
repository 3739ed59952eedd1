#pragma once
// Interfaces and reference-counted objects. An interface is an abstract class that
// derives virtually from IInterface, so that an object implementing several of them
// has one reference count; TInterfacedObject counts references and frees itself when
// the last one is released. TInterfacePtr holds one reference.

#include <atomic>
#include <cstdint>
#include <utility>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Export.h"

// An interface's identity.
struct TGUID {
    uint32_t D1;
    uint16_t D2, D3;
    uint8_t D4[8];
    friend constexpr bool operator==(const TGUID&, const TGUID&) = default;
};

using HRESULT = int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);

class QELL_RTL_API IInterface {
public:
    static constexpr TGUID IID{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
    // Sets Obj to the object's implementation of the interface IID, with a reference
    // added, and answers S_OK; E_NOINTERFACE and null when it has none.
    virtual HRESULT QueryInterface(const TGUID& IID, void** Obj) = 0;
    virtual int32_t _AddRef() = 0;
    virtual int32_t _Release() = 0;

protected:
    // Released, never deleted through an interface.
    virtual ~IInterface() = default;
};

class QELL_RTL_API TInterfacedObject : public TObject, public virtual IInterface {
    QELL_CLASS(TInterfacedObject, TObject)
    TInterfacedObject() = default;
    TInterfacedObject(const TInterfacedObject&) = delete;
    TInterfacedObject& operator=(const TInterfacedObject&) = delete;

    HRESULT QueryInterface(const TGUID& IID, void** Obj) override;
    int32_t _AddRef() override;
    // Frees the object when the count reaches zero.
    int32_t _Release() override;
    int32_t RefCount() const { return FRefCount; }

protected:
    ~TInterfacedObject() override = default;
    // The object's implementation of IID, or nullptr: a class that implements an
    // interface answers it and otherwise asks its parent, as QueryInterface relies on.
    virtual void* GetInterface(const TGUID& IID);

private:
    std::atomic<int32_t> FRefCount{0};
};

// One reference to an interface (or to a reference-counted object), released when the
// pointer goes or changes.
template <typename I>
class TInterfacePtr {
public:
    TInterfacePtr() = default;
    TInterfacePtr(I* P) : FPtr(P)
    {
        if (FPtr) FPtr->_AddRef();
    }
    TInterfacePtr(const TInterfacePtr& Other) : TInterfacePtr(Other.FPtr) {}
    TInterfacePtr(TInterfacePtr&& Other) noexcept : FPtr(std::exchange(Other.FPtr, nullptr)) {}
    ~TInterfacePtr()
    {
        if (FPtr) FPtr->_Release();
    }
    TInterfacePtr& operator=(TInterfacePtr Other) noexcept
    {
        std::swap(FPtr, Other.FPtr);
        return *this;
    }
    // Takes over a reference already counted (what QueryInterface hands out).
    static TInterfacePtr Adopt(I* P)
    {
        TInterfacePtr R;
        R.FPtr = P;
        return R;
    }

    I* Get() const { return FPtr; }
    I* operator->() const { return FPtr; }
    I& operator*() const { return *FPtr; }
    explicit operator bool() const { return FPtr != nullptr; }

private:
    I* FPtr = nullptr;
};

// Intf answers Obj's implementation of interface I (which declares a static IID), with
// a reference of its own; false and empty when Obj has none.
template <typename I>
bool Supports(IInterface* Obj, TInterfacePtr<I>& Intf)
{
    void* P = nullptr;
    if (!Obj || Obj->QueryInterface(I::IID, &P) != S_OK || !P) {
        Intf = TInterfacePtr<I>();
        return false;
    }
    Intf = TInterfacePtr<I>::Adopt(static_cast<I*>(P));
    return true;
}
