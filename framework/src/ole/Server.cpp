// Class-factory table, server lock and self-registration of a control library.
#include "fw/ole/Server.h"
#include <olectl.h>
#include <atomic>
#include <mutex>
#include <vector>
#include "fw/Handle.h"
#include "fw/ModulePath.h"
#include "fw/Window.h"
#include "fw/ole/ComPtr.h"
#include "fw/ole/Control.h"
#include "fw/ole/Object.h"
#include "fw/ole/Text.h"

namespace fw::ole {

HINSTANCE Server::module_ = nullptr;
std::span<const ClassEntry> Server::classes_;
TypeLibEntry Server::typeLib_{};

namespace {

std::atomic<LONG> g_locks{0};

// The library's type library, loaded on first use and kept for the process:
// every control and object of every thread asks for its type information.
std::mutex g_typeLibMutex;
ITypeLib* g_typeLib = nullptr;
LONG g_typeLibLoads = 0;

// One factory object per library; it lives in static storage, so its
// reference count only matters to the server lock taken by LockServer.
class ClassFactory : public IClassFactory {
public:
    explicit ClassFactory(const ClassEntry& entry) : entry_(entry) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        return QueryInterfaceTable(iid, out, {{IID_IUnknown, this}, {IID_IClassFactory, this}});
    }
    // Held references keep the library loaded like live objects do.
    STDMETHODIMP_(ULONG) AddRef() override { Server::Lock(); return 2; }
    STDMETHODIMP_(ULONG) Release() override { Server::Unlock(); return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return entry_.create(iid, out);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        lock ? Server::Lock() : Server::Unlock();
        return S_OK;
    }
private:
    const ClassEntry& entry_;
};

std::vector<ClassFactory>& Factories() {
    static std::vector<ClassFactory> factories;
    return factories;
}

bool CreateKey(const std::string& path, RegKey& key) {
    return RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                           key.Put(), nullptr) == ERROR_SUCCESS;
}

bool CreateKey(const std::string& path) {
    RegKey key;
    return CreateKey(path, key);
}

// Writes `value` as the default (name null) or named string value of
// root\path, creating the key.
bool SetString(const std::string& path, const char* name, const std::string& value) {
    RegKey key;
    return CreateKey(path, key) &&
           RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD(value.size() + 1)) == ERROR_SUCCESS;
}

// Removes root\path with everything below it.
void DeleteTree(HKEY root, const std::string& path) {
    {
        RegKey key;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | KEY_WRITE, key.Put()) != ERROR_SUCCESS)
            return;
        char name[256];
        // Always the first subkey: deleting shifts the indices.
        while (RegEnumKeyA(key.Get(), 0, name, sizeof name) == ERROR_SUCCESS)
            DeleteTree(key.Get(), name);
    }
    RegDeleteKeyA(root, path.c_str());
}

bool RegisterClassEntry(const ClassEntry& c) {
    const std::string clsid = GuidString(*c.clsid);
    const std::string key = "CLSID\\" + clsid;
    const std::string path = Server::ModulePath();
    const std::string typeName = LoadResString(Server::Module(), c.typeNameId);
    bool ok = SetString(key, nullptr, typeName) &&
              SetString(key + "\\InprocServer32", nullptr, path) &&
              SetString(key + "\\InprocServer32", "ThreadingModel", "Apartment") &&
              SetString(key + "\\ProgID", nullptr, c.progId) &&
              SetString(c.progId, nullptr, typeName) &&
              SetString(std::string(c.progId) + "\\CLSID", nullptr, clsid);
    if (!ok) return false;
    if (c.control) {
        const TypeLibEntry& lib = Server::TypeLib();
        char version[32];
        wsprintfA(version, "%u.%u", lib.major, lib.minor);
        char misc[16];
        wsprintfA(misc, "%lu", c.miscStatus);
        ok = CreateKey(key + "\\Control") &&
             SetString(key + "\\MiscStatus", nullptr, "0") &&
             SetString(key + "\\MiscStatus\\1", nullptr, misc) &&
             SetString(key + "\\TypeLib", nullptr, GuidString(*lib.libid)) &&
             SetString(key + "\\Version", nullptr, version);
        if (ok && c.toolboxBitmapId) {
            char bitmap[16];
            wsprintfA(bitmap, ", %u", c.toolboxBitmapId);
            ok = SetString(key + "\\ToolboxBitmap32", nullptr, path + bitmap);
        }
    }
    if (ok && c.insertable)
        ok = CreateKey(key + "\\Insertable") && CreateKey(std::string(c.progId) + "\\Insertable");
    return ok;
}

}  // namespace

std::string GuidString(REFGUID guid) {
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return Narrow(text);
}

void Server::Init(HINSTANCE module, std::span<const ClassEntry> classes, TypeLibEntry typeLib) {
    module_ = module;
    classes_ = classes;
    typeLib_ = typeLib;
    auto& factories = Factories();
    factories.clear();
    factories.reserve(classes.size());
    for (const ClassEntry& c : classes) factories.emplace_back(c);
}

void Server::Detach() {
    {
        std::lock_guard<std::mutex> lock(g_typeLibMutex);
        if (g_typeLib) g_typeLib->Release();
        g_typeLib = nullptr;
    }
    // Our window classes belong to the module; a later load at another
    // address must not find the old procedure.
    UnregisterClassA(kControlWindowClass, module_);
}

std::string Server::ModulePath() { return ModuleFileName(module_); }

const ClassEntry* Server::Find(REFCLSID clsid) {
    for (const ClassEntry& c : classes_)
        if (*c.clsid == clsid) return &c;
    return nullptr;
}

void Server::Lock() { ++g_locks; }
void Server::Unlock() { --g_locks; }
LONG Server::LockCount() { return g_locks; }

HRESULT Server::GetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    for (size_t i = 0; i < classes_.size(); ++i)
        if (*classes_[i].clsid == clsid) return Factories()[i].QueryInterface(iid, out);
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT Server::CanUnloadNow() { return g_locks == 0 ? S_OK : S_FALSE; }

HRESULT Server::Register() {
    ComPtr<ITypeLib> lib;
    if (FAILED(TypeLibrary(lib.Put()))) return SELFREG_E_TYPELIB;
    std::wstring pathCopy = Widen(ModulePath());  // RegisterTypeLib wants a writable string
    if (FAILED(RegisterTypeLib(lib.Get(), pathCopy.data(), nullptr))) return SELFREG_E_TYPELIB;
    for (const ClassEntry& c : classes_)
        if (!RegisterClassEntry(c)) return SELFREG_E_CLASS;
    return S_OK;
}

HRESULT Server::Unregister() {
    for (const ClassEntry& c : classes_) {
        DeleteTree(HKEY_CLASSES_ROOT, "CLSID\\" + GuidString(*c.clsid));
        DeleteTree(HKEY_CLASSES_ROOT, c.progId);
    }
    // Absent already is fine: unregistering twice must not fail.
    char version[32];
    wsprintfA(version, "\\%x.%x", typeLib_.major, typeLib_.minor);
    RegKey registered;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, ("TypeLib\\" + GuidString(*typeLib_.libid) + version).c_str(), 0,
                      KEY_READ, registered.Put()) != ERROR_SUCCESS)
        return S_OK;
    registered.Reset();
    if (FAILED(UnRegisterTypeLib(*typeLib_.libid, typeLib_.major, typeLib_.minor, LOCALE_NEUTRAL, SYS_WIN32)))
        return SELFREG_E_TYPELIB;
    return S_OK;
}

HRESULT Server::TypeLibrary(ITypeLib** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    std::lock_guard<std::mutex> lock(g_typeLibMutex);
    if (!g_typeLib) {
        HRESULT hr = LoadTypeLibEx(Widen(ModulePath()).c_str(), REGKIND_NONE, &g_typeLib);
        if (FAILED(hr)) return hr;
        ++g_typeLibLoads;
    }
    g_typeLib->AddRef();
    *out = g_typeLib;
    return S_OK;
}

LONG Server::TypeLibraryLoads() { return g_typeLibLoads; }

HRESULT Server::LoadTypeInfo(REFGUID guid, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    ComPtr<ITypeLib> lib;
    HRESULT hr = TypeLibrary(lib.Put());
    if (FAILED(hr)) return hr;
    return lib->GetTypeInfoOfGuid(guid, out);
}

}  // namespace fw::ole
