// A property bag for the graph tests: items kept as text in save order,
// read back by name, as the container's text bag does. A number that does
// not fit its type reads as missing, like a failed conversion.
#pragma once
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "SavedForm.h"

namespace kvo_test {

class MapExchange : public kvo::ItemExchange {
public:
    using Items = std::vector<std::pair<std::wstring, std::wstring>>;
    MapExchange() = default;  // saving
    explicit MapExchange(Items items) : items_(std::move(items)), loading_(true) {}

    bool Loading() const override { return loading_; }
    const Items& Saved() const { return items_; }
    std::vector<std::wstring> Names() const {
        std::vector<std::wstring> names;
        for (const auto& [n, v] : items_) names.push_back(n);
        return names;
    }

    void Short(const std::wstring& name, short& value, short def) override { Number(name, value, def, -32768, 32767); }
    void Long(const std::wstring& name, long& value, long def) override {
        Number(name, value, def, -2147483647L - 1, 2147483647L);
    }
    void Bool(const std::wstring& name, bool& value, bool def) override {
        if (!loading_) return Put(name, value ? L"True" : L"False");
        const std::wstring* text = Find(name);
        value = text ? (*text == L"True" || *text == L"-1") : def;
    }
    void String(const std::wstring& name, std::wstring& value, const std::wstring& def) override {
        if (!loading_) return Put(name, value);
        const std::wstring* text = Find(name);
        value = text ? *text : def;
    }

private:
    template <class T>
    void Number(const std::wstring& name, T& value, T def, long min, long max) {
        if (!loading_) return Put(name, std::to_wstring(value));
        const std::wstring* text = Find(name);
        value = def;
        if (!text || text->empty()) return;
        wchar_t* end = nullptr;
        long long n = std::wcstoll(text->c_str(), &end, 10);
        if (*end == 0 && n >= min && n <= max) value = T(n);
    }
    void Put(const std::wstring& name, std::wstring value) { items_.emplace_back(name, std::move(value)); }
    const std::wstring* Find(const std::wstring& name) const {
        for (const auto& [n, v] : items_)
            if (n == name) return &v;
        return nullptr;
    }

    Items items_;
    bool loading_ = false;
};

}  // namespace kvo_test
