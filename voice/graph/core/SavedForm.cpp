// Saved-form items of the call-flow controls and the Frame (see SavedForm.h).
#include "SavedForm.h"

#include <algorithm>
#include <cctype>
#include <cwctype>

#include "Graph.h"

namespace kvo {

int BoundCount(long stored, int max) {
    if (stored < 0) return 0;
    return stored > max ? max : int(stored);
}

std::wstring NodeKeyPrefix(int node) { return L"Dest" + std::to_wstring(short(node)); }

std::wstring PhraseKeyPrefix(const std::wstring& greetingPrefix, int phrase) {
    return greetingPrefix + L".Phrase" + std::to_wstring(phrase);
}

void ExchangeConditions(ItemExchange& ex, std::vector<Condition>& conditions) {
    long count = long(conditions.size());
    ex.Long(L"NumConditions", count, -1);
    if (ex.Loading()) {
        if (count == -1) return;  // absent: keep what is there
        conditions.assign(size_t(BoundCount(count, kMaxConditions)), Condition{});
    }
    for (size_t i = 0; i < conditions.size(); ++i) {
        const std::wstring prefix = L"Condition" + std::to_wstring(i);
        Condition& c = conditions[i];
        ex.String(prefix + L".Name", c.name, L"");
        ex.String(prefix + L".Data", c.data, L"");
        ex.Bool(prefix + L".UseVB", c.useVB, false);
    }
}

void ExchangeNodes(ItemExchange& ex, Vertex& v) {
    // A missing or unreadable count keeps the class's own nodes.
    short count = short(v.NumNodes());
    ex.Short(L"NumNodes", count, count);
    int n = count;
    if (ex.Loading()) {
        n = BoundCount(count, kMaxNodes);
        v.SetNumNodes(n);  // refused while the system runs: the items are still read
    }
    for (int i = 0; i < n; ++i) {
        const std::wstring prefix = NodeKeyPrefix(i);
        long blockId = 0;
        bool connected = false;
        short destInput = 0;
        if (!ex.Loading()) {
            ExitNode& node = v.Node(i);
            blockId = node.DestBlockId();
            connected = node.Connected() != 0;
            destInput = node.DestInput();
        }
        ex.Long(prefix + L"BlockID", blockId, 0);
        ex.Bool(prefix + L".Conn", connected, false);
        ex.Short(prefix + L".DestNode", destInput, 0);
        if (ex.Loading() && i < v.NumNodes()) v.Node(i).SetStored(blockId, connected, destInput);
    }
}

void ExchangeHandlerName(ItemExchange& ex, const wchar_t* key, std::wstring& name) {
    if (!ex.Loading() && name.empty()) name = kDefaultHandler;
    ex.String(key, name, kDefaultHandler);
    if (name.empty()) name = kDefaultHandler;
}

long PackPhraseType(short phrsType, short type) {
    return long((unsigned long)(unsigned short)phrsType << 16 | (unsigned short)type);
}

void UnpackPhraseType(long packed, short& phrsType, short& type) {
    phrsType = short((unsigned long)packed >> 16 & 0xFFFF);
    type = short((unsigned long)packed & 0xFFFF);
}

void ExchangeGreeting(ItemExchange& ex, GreetingData& greeting) {
    const std::wstring prefix = greeting.name + L"Greeting";
    ex.Long(prefix + L".Fileformat", greeting.fileformat, -1);
    ex.Bool(prefix + L".TermOnDTMF", greeting.termOnDtmf, true);
    short count = short(std::min<size_t>(greeting.phrases.size(), kMaxPhrases));
    ex.Short(prefix + L".NumPhrase", count, -1);
    if (ex.Loading()) {
        if (count == -1) return;  // absent: the greeting keeps what it has
        greeting.phrases.assign(size_t(BoundCount(count, kMaxPhrases)), PhraseData{});
    }
    for (int i = 0; i < count && size_t(i) < greeting.phrases.size(); ++i) {
        const std::wstring phrase = PhraseKeyPrefix(prefix, i);
        PhraseData& p = greeting.phrases[size_t(i)];
        ex.String(phrase + L".File", p.file, L"");
        ex.String(phrase + L".Data", p.data, L"");
        long packed = PackPhraseType(p.phrsType, p.type);
        ex.Long(phrase + L".Type", packed, 0);
        if (ex.Loading()) UnpackPhraseType(packed, p.phrsType, p.type);
    }
}

std::wstring FormatInventoryEntry(const InventoryEntry& e) {
    return std::to_wstring(e.page) + L"," + e.name;
}

std::optional<InventoryEntry> ParseInventoryEntry(const std::wstring& text) {
    const size_t comma = text.find(L',');
    if (comma == std::wstring::npos || comma == 0) return std::nullopt;
    size_t i = 0;
    if (text[0] == L'-' || text[0] == L'+') ++i;
    if (i == comma) return std::nullopt;
    long page = 0;
    for (; i < comma; ++i) {
        if (!std::iswdigit(text[i])) return std::nullopt;
        if (page > 100000000) return std::nullopt;  // no form has that many pages
        page = page * 10 + long(text[i] - L'0');
    }
    if (text[0] == L'-') page = -page;
    return InventoryEntry{page, text.substr(comma + 1)};
}

void ExchangeInventory(ItemExchange& ex, std::vector<InventoryEntry>& inventory) {
    long count = long(inventory.size());
    ex.Long(L"NumControls", count, 0);
    const int n = ex.Loading() ? BoundCount(count, kMaxInventory) : int(count);
    std::vector<InventoryEntry> loaded;
    for (int i = 0; i < n; ++i) {
        const std::wstring key = L"Control" + std::to_wstring(i);
        std::wstring text = ex.Loading() ? std::wstring() : FormatInventoryEntry(inventory[size_t(i)]);
        ex.String(key, text, L"");
        if (ex.Loading())
            if (auto e = ParseInventoryEntry(text)) loaded.push_back(std::move(*e));
    }
    if (ex.Loading()) inventory = std::move(loaded);
}

std::optional<long> TakeInventoryPage(std::vector<InventoryEntry>& inventory, const std::wstring& name) {
    auto it = std::find_if(inventory.begin(), inventory.end(), [&](const InventoryEntry& e) { return e.name == name; });
    if (it == inventory.end()) return std::nullopt;
    long page = it->page;
    inventory.erase(it);
    return page;
}

std::string WithTrailingBackslash(std::string dir) {
    if (dir.empty() || dir.back() != '\\') dir += '\\';
    return dir;
}

std::string ResolveDirectory(const std::string& value, const std::string& base) {
    if (!value.empty() && value[0] == '\\') return value;
    if (value.size() >= 2 && value[1] == ':') return value;
    return base + value;
}

bool SameDirectory(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower((unsigned char)x) == std::tolower((unsigned char)y);
           });
}

}  // namespace kvo
