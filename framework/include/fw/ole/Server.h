// The in-process server side of a control library: one table of the classes
// it serves (what to create, how to register), the server lock, the generic
// class factory, and the registry entries written by self-registration.
//
// A library fills a ClassEntry table, calls Server::Init from DllMain and
// forwards its DllGetClassObject / DllCanUnloadNow / DllRegisterServer /
// DllUnregisterServer exports to the functions here.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <new>
#include <span>
#include <string>

namespace fw::ole {

using CreateFn = HRESULT (*)(REFIID iid, void** out);

struct ClassEntry {
    const CLSID* clsid;
    CreateFn create;
    const char* progId;
    UINT typeNameId;       // string resource: the class's user type name
    bool control;          // controls also get Control, MiscStatus, TypeLib, ...
    DWORD miscStatus;      // OLEMISC_* flags of the content aspect
    UINT toolboxBitmapId;  // 0: none
    bool insertable;
};

struct TypeLibEntry {
    const GUID* libid;
    WORD major;
    WORD minor;
};

class Server {
public:
    static void Init(HINSTANCE module, std::span<const ClassEntry> classes, TypeLibEntry typeLib);
    // From DllMain on detach: drops what the library registered with USER.
    static void Detach();

    static HINSTANCE Module() { return module_; }
    static std::string ModulePath();
    static const ClassEntry* Find(REFCLSID clsid);
    static const TypeLibEntry& TypeLib() { return typeLib_; }

    // Every live object and every IClassFactory::LockServer(TRUE) holds one.
    static void Lock();
    static void Unlock();
    static LONG LockCount();

    static HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);
    static HRESULT CanUnloadNow();

    // Type library first (SELFREG_E_TYPELIB), then every class
    // (SELFREG_E_CLASS); S_OK when all is written.
    static HRESULT Register();
    // Removes what Register wrote; missing keys are not an error.
    static HRESULT Unregister();

    // The library's embedded type library, loaded once per process.
    static HRESULT TypeLibrary(ITypeLib** out);
    static LONG TypeLibraryLoads();
    // The type info of `guid` in that library.
    static HRESULT LoadTypeInfo(REFGUID guid, ITypeInfo** out);

private:
    static HINSTANCE module_;
    static std::span<const ClassEntry> classes_;
    static TypeLibEntry typeLib_;
};

// Keeps the server locked for one object's lifetime.
struct ServerLock {
    ServerLock() { Server::Lock(); }
    ~ServerLock() { Server::Unlock(); }
    ServerLock(const ServerLock&) = delete;
    ServerLock& operator=(const ServerLock&) = delete;
};

// "{xxxxxxxx-...}" of a GUID.
std::string GuidString(REFGUID guid);

// Creates a T (default constructor) and hands out `iid`; T is reference
// counted starting at one, as Object below is.
template <class T>
HRESULT CreateObject(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    T* object = new (std::nothrow) T();
    if (!object) return E_OUTOFMEMORY;
    HRESULT hr = object->Initialize();
    if (SUCCEEDED(hr)) hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
}

}  // namespace fw::ole
