// Saving and loading the controls (form files and streams), their property
// pages and their design-time drawing.
#include "TestSupport.h"
#include "fw/ole/Text.h"
#include "fw/testing/Files.h"

namespace lurrin_test {
namespace {

using container::Variant;
using fw::ole::ComPtr;

const container::FormProperty* FindProperty(const container::FormControl& c, const char* name) {
    for (const auto& p : c.properties)
        if (p.name == name) return &p;
    return nullptr;
}

class Persistence : public ContainerTest {};

TEST_F(Persistence, FormFileRoundTripsBothControls) {
    ASSERT_NE(Add(L"Ostrel.GetAddress", L"Address1"), nullptr);
    ASSERT_NE(Add(L"Ostrel.GetName", L"Name1"), nullptr);
    // Lookup state is not part of the form.
    host_->Find(L"Address1")->Put(L"ErrorNumber", Variant(short(5)));
    fw::testing::TempDir dir("lurrin");
    const std::string path = dir.File("roundtrip.frm");
    std::string error;
    ASSERT_TRUE(host_->SaveFile(fw::ole::Widen(path), error)) << error;

    container::Form saved;
    ASSERT_FALSE(container::ParseForm(fw::testing::ReadText(path), saved));
    ASSERT_EQ(saved.controls.size(), 2u);
    for (const auto& c : saved.controls) {
        const container::FormProperty* version = FindProperty(c, "_Version");
        ASSERT_NE(version, nullptr) << c.name;
        EXPECT_EQ(version->value, "262144") << c.name << ": version 4.0, major in the high word";
        EXPECT_EQ(FindProperty(c, "ErrorNumber"), nullptr);
        EXPECT_EQ(FindProperty(c, "HostName"), nullptr);
    }

    host_->Clear();
    container::Form loaded;
    ASSERT_TRUE(host_->LoadFile(fw::ole::Widen(path), loaded, error)) << error;
    ASSERT_EQ(host_->Sites().size(), 2u);
    EXPECT_EQ(host_->Find(L"Address1")->ProgId(), L"Ostrel.GetAddress");
    EXPECT_EQ(host_->Find(L"Address1")->Get(L"ErrorNumber").value.Long(), 0);
    EXPECT_EQ(host_->Find(L"Name1")->Get(L"Version").value.Str(), L"4.00.002");
}

TEST_F(Persistence, BagsWithOddItemsStillLoad) {
    const std::vector<container::FormProperty> odd = {
        {"_Version", "not a number"}, {"_ExtentX", "-5"}, {"SomethingElse", "x"}, {"HostName", "localhost"}};
    HRESULT hr;
    container::ControlSite* site = host_->Add(L"Ostrel.GetAddress", L"Ctl", &odd, &hr);
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(site->Get(L"HostName").value.Str(), L"") << "the input is never loaded";
    host_->PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(host_->Events().empty()) << "loading starts no lookup";
}

TEST_F(Persistence, StreamHoldsStockDataOnlyAndRejectsTruncation) {
    container::ControlSite* site = Add(L"Ostrel.GetName", L"Ctl");
    ASSERT_NE(site, nullptr);
    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(site->Object()->QueryInterface(IID_IPersistStreamInit, persist.PutVoid()), S_OK);
    ComPtr<IStream> stream;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()), S_OK);
    ASSERT_EQ(persist->Save(stream.Get(), TRUE), S_OK);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    EXPECT_EQ(stat.cbSize.QuadPart, 16u) << "version, two extents, stock flags";
    ULARGE_INTEGER max{};
    EXPECT_EQ(persist->GetSizeMax(&max), S_OK);
    EXPECT_EQ(max.QuadPart, 16u);

    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(persist->Load(stream.Get()), S_OK);

    ComPtr<IStream> cut;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, cut.Put()), S_OK);
    const DWORD half[2] = {0x40000, 847};
    cut->Write(half, sizeof half, nullptr);
    cut->Seek(start, STREAM_SEEK_SET, nullptr);
    EXPECT_TRUE(FAILED(persist->Load(cut.Get())));
    EXPECT_EQ(site->Get(L"Version").value.Str(), L"4.00.002") << "the control survives a bad stream";
}

TEST_F(Persistence, EachControlOffersItsGeneralPage) {
    for (const wchar_t* progId : {L"Ostrel.GetAddress", L"Ostrel.GetName"}) {
        container::ControlSite* site = Add(progId, L"Ctl");
        ASSERT_NE(site, nullptr);
        ComPtr<ISpecifyPropertyPages> specify;
        ASSERT_EQ(site->Object()->QueryInterface(IID_ISpecifyPropertyPages, specify.PutVoid()), S_OK);
        CAUUID pages{};
        ASSERT_EQ(specify->GetPages(&pages), S_OK);
        ASSERT_EQ(pages.cElems, 1u);
        ComPtr<IPropertyPage> page;
        HRESULT hr = CoCreateInstance(pages.pElems[0], nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, page.PutVoid());
        CoTaskMemFree(pages.pElems);
        ASSERT_EQ(hr, S_OK);
        PROPPAGEINFO info{};
        ASSERT_EQ(page->GetPageInfo(&info), S_OK);
        EXPECT_STREQ(info.pszTitle, L"General");
        EXPECT_GT(info.size.cx, 0);
        CoTaskMemFree(info.pszTitle);
        IUnknown* object = site->Object();
        EXPECT_EQ(page->SetObjects(1, &object), S_OK);
        RECT where{0, 0, info.size.cx, info.size.cy};
        EXPECT_EQ(page->Activate(host_->Handle(), &where, TRUE), S_OK);
        EXPECT_EQ(page->Show(SW_SHOW), S_OK);
        EXPECT_EQ(page->IsPageDirty(), S_FALSE);
        EXPECT_EQ(page->Deactivate(), S_OK);
        page->SetObjects(0, nullptr);
        host_->Remove(L"Ctl");
    }
}

TEST_F(Persistence, DesignTimeDrawingShowsTheBitmap) {
    host_->SetUserMode(false);
    container::ControlSite* site = Add(L"Ostrel.GetAddress", L"Ctl");
    ASSERT_NE(site, nullptr);
    ComPtr<IViewObject> view;
    ASSERT_EQ(site->Object()->QueryInterface(IID_IViewObject, view.PutVoid()), S_OK);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP surface = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, surface);
    RECT all{0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECTL bounds{0, 0, 32, 32};
    EXPECT_EQ(view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, dc, &bounds, nullptr, nullptr, 0), S_OK);
    int painted = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) painted += GetPixel(dc, x, y) != RGB(255, 255, 255);
    SelectObject(dc, old);
    DeleteObject(surface);
    DeleteDC(dc);
    EXPECT_GT(painted, 512) << "the bitmap covers the control";

    HWND window = nullptr;
    ComPtr<IOleInPlaceObject> inPlace;
    ASSERT_EQ(site->Object()->QueryInterface(IID_IOleInPlaceObject, inPlace.PutVoid()), S_OK);
    ASSERT_EQ(inPlace->GetWindow(&window), S_OK) << "at design time the control is in place";
    EXPECT_EQ(GetParent(window), host_->Handle());
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE);
    host_->SetUserMode(true);
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) << "invisible at run time";
}

}  // namespace
}  // namespace lurrin_test
