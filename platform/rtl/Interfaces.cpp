#include "platform/rtl/Interfaces.h"

#include "platform/rtl/Publish.h"

QELL_DEFINE_CLASS_INFO(TInterfacedObject)

HRESULT TInterfacedObject::QueryInterface(const TGUID& IID, void** Obj)
{
    void* P = GetInterface(IID);
    *Obj = P;
    if (!P) return E_NOINTERFACE;
    _AddRef();
    return S_OK;
}

int32_t TInterfacedObject::_AddRef()
{
    return ++FRefCount;
}

int32_t TInterfacedObject::_Release()
{
    const int32_t Count = --FRefCount;
    if (Count == 0) delete this;
    return Count;
}

void* TInterfacedObject::GetInterface(const TGUID& IID)
{
    if (IID == IInterface::IID) return static_cast<IInterface*>(this);
    return nullptr;
}
