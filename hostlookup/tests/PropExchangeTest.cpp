// The framework's property exchange, item types the lookup controls do not
// persist themselves: what a control saves it loads back, through both media,
// and damaged data fails cleanly.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "SiteParts.h"
#include "fw/ole/ComPtr.h"
#include "fw/ole/PropExchange.h"

namespace lurrin_test {
namespace {

using fw::ole::ComPtr;

struct Items {
    short count = 0;
    long size = 0;
    bool flag = false;
    std::wstring text;
    std::wstring empty = L"x";

    void Exchange(fw::ole::PropExchange& px) {
        px.Short(L"Count", count, -1);
        px.Long(L"Size", size, -2);
        px.Bool(L"Flag", flag, true);
        px.String(L"Text", text, L"default");
        px.String(L"Empty", empty, L"default");
    }
};

Items Sample() {
    Items items;
    items.count = -7;
    items.size = 123456789;
    items.flag = false;
    items.text = std::wstring(3000, L'q') + L"\u00e9\"=\n";
    items.empty = L"";
    return items;
}

void ExpectSame(const Items& a, const Items& b) {
    EXPECT_EQ(a.count, b.count);
    EXPECT_EQ(a.size, b.size);
    EXPECT_EQ(a.flag, b.flag);
    EXPECT_TRUE(a.text == b.text);
    EXPECT_TRUE(a.empty == b.empty);
}

ComPtr<IStream> NewStream() {
    ComPtr<IStream> s;
    EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, s.Put()), S_OK);
    return s;
}

void Rewind(IStream* s) {
    LARGE_INTEGER zero{};
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
}

TEST(PropExchange, StreamRoundTrip) {
    ComPtr<IStream> stream = NewStream();
    Items saved = Sample();
    fw::ole::StreamExchange save(stream.Get(), false);
    saved.Exchange(save);
    ASSERT_FALSE(save.Failed());
    Rewind(stream.Get());
    Items loaded;
    fw::ole::StreamExchange load(stream.Get(), true);
    loaded.Exchange(load);
    ASSERT_FALSE(load.Failed());
    ExpectSame(loaded, saved);
}

TEST(PropExchange, DamagedStreamsFailWithoutReadingOn) {
    struct { std::string bytes; const char* note; } cases[] = {
        {std::string("\x01", 1), "cut inside the first item"},
        {std::string("\x01\x00\x02\x00\x00\x00\x00\x00\xFF\xFF\xFF\x7F", 12), "absurd string length"},
        {std::string("\x01\x00\x02\x00\x00\x00\x00\x00\x05\x00\x00\x00\x41\x00", 14), "string shorter than its length"},
    };
    for (const auto& c : cases) {
        ComPtr<IStream> stream = NewStream();
        stream->Write(c.bytes.data(), ULONG(c.bytes.size()), nullptr);
        Rewind(stream.Get());
        Items loaded;
        fw::ole::StreamExchange load(stream.Get(), true);
        loaded.Exchange(load);
        EXPECT_TRUE(load.Failed()) << c.note;
    }
}

TEST(PropExchange, PropertyBagRoundTripAndDefaults) {
    ComPtr<container::TextBag> bag = ComPtr<container::TextBag>::Attach(new container::TextBag({}));
    Items saved = Sample();
    fw::ole::BagExchange save(bag.Get(), nullptr, false);
    saved.Exchange(save);
    ASSERT_FALSE(save.Failed());
    Items loaded;
    fw::ole::BagExchange load(bag.Get(), nullptr, true);
    loaded.Exchange(load);
    ASSERT_FALSE(load.Failed());
    ExpectSame(loaded, saved);

    ComPtr<container::TextBag> sparse = ComPtr<container::TextBag>::Attach(
        new container::TextBag({{"Count", "12"}, {"Size", "lots"}}));
    Items partial;
    fw::ole::BagExchange loadSparse(sparse.Get(), nullptr, true);
    partial.Exchange(loadSparse);
    EXPECT_FALSE(loadSparse.Failed()) << "missing and unreadable items take defaults";
    EXPECT_EQ(partial.count, 12);
    EXPECT_EQ(partial.size, -2);
    EXPECT_TRUE(partial.flag);
    EXPECT_TRUE(partial.text == L"default");
}

}  // namespace
}  // namespace lurrin_test
