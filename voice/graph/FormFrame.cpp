// The process's Frame list and the Frame of a form (see FormFrame.h).
#include "FormFrame.h"

#include <algorithm>
#include <mutex>

#include "fw/ole/ComPtr.h"

namespace kvo {

namespace {
std::mutex g_lock;
std::vector<FormFrame*>& List() {
    static std::vector<FormFrame*> frames;
    return frames;
}

FormFrame* FindByIdentity(IUnknown* object) {
    fw::ole::ComPtr<IUnknown> identity;
    if (!object || FAILED(object->QueryInterface(IID_IUnknown, identity.PutVoid()))) return nullptr;
    for (FormFrame* f : Frames())
        if (f->Identity() == identity.Get()) return f;
    return nullptr;
}
}  // namespace

void AddFrame(FormFrame& frame) {
    std::lock_guard guard(g_lock);
    List().push_back(&frame);
}

void RemoveFrame(FormFrame& frame) {
    std::lock_guard guard(g_lock);
    auto& list = List();
    list.erase(std::remove(list.begin(), list.end(), &frame), list.end());
}

std::vector<FormFrame*> Frames() {
    std::lock_guard guard(g_lock);
    return List();
}

FormFrame* FindFrameByName(const std::string& name) {
    for (FormFrame* f : Frames())
        if (f->FrameName() == name) return f;
    return nullptr;
}

FormFrame* FrameOfSite(IOleClientSite* site) {
    fw::ole::ComPtr<IOleContainer> container;
    if (site && SUCCEEDED(site->GetContainer(container.Put())) && container) {
        fw::ole::ComPtr<IEnumUnknown> objects;
        if (FAILED(container->EnumObjects(OLECONTF_EMBEDDINGS, objects.Put())) || !objects) return nullptr;
        for (;;) {
            fw::ole::ComPtr<IUnknown> object;
            ULONG got = 0;
            if (objects->Next(1, object.Put(), &got) != S_OK || got != 1) return nullptr;
            if (FormFrame* f = FindByIdentity(object.Get())) return f;
        }
    }
    std::vector<FormFrame*> frames = Frames();
    return frames.empty() ? nullptr : frames.front();
}

}  // namespace kvo
