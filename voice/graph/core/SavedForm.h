// The saved form of call-flow controls, written once against a small item
// exchange so the same routine loads and saves through a property bag or a
// stream (the OLE side adapts the framework's exchange to ItemExchange).
// Counts read back are bounded: forms are text a user may edit.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace kvo {

class Vertex;

class ItemExchange {
public:
    virtual ~ItemExchange() = default;
    virtual bool Loading() const = 0;
    // A new control: loading from nothing, every item its default.
    virtual bool New() const { return false; }
    // Each loads `value` (`def` when the item is missing) or saves it.
    virtual void Short(const std::wstring& name, short& value, short def) = 0;
    virtual void Long(const std::wstring& name, long& value, long def) = 0;
    virtual void Bool(const std::wstring& name, bool& value, bool def) = 0;
    virtual void String(const std::wstring& name, std::wstring& value, const std::wstring& def) = 0;
};

// Clamps a count read from a form to 0..max; -1 and other negatives give 0.
int BoundCount(long stored, int max);

constexpr int kMaxConditions = 256;
constexpr int kMaxTransferProps = 16;
constexpr int kMaxInventory = 4096;
constexpr int kMaxPhrases = 1024;

// "Dest%hi" of node i: "Dest0" gives Dest0BlockID, Dest0.Conn, Dest0.DestNode.
std::wstring NodeKeyPrefix(int node);
// "%s.%s%i" of a greeting prefix: "EntryGreeting.Phrase0".
std::wstring PhraseKeyPrefix(const std::wstring& greetingPrefix, int phrase);

struct Condition {
    std::wstring name;
    std::wstring data;
    bool useVB = false;
    bool operator==(const Condition&) const = default;
};

// NumConditions (default -1: keep what is there) and Condition%i.Name/.Data/.UseVB.
void ExchangeConditions(ItemExchange& ex, std::vector<Condition>& conditions);

// NumNodes and the three items of each node. Loading resizes the vertex's
// node array (bounded) and stores the destinations for lazy resolution.
void ExchangeNodes(ItemExchange& ex, Vertex& v);

// Handler names: "[Default]" stands for both the default and the empty name.
constexpr wchar_t kDefaultHandler[] = L"[Default]";
void ExchangeHandlerName(ItemExchange& ex, const wchar_t* key, std::wstring& name);

// A phrase and a greeting as they are saved.
struct PhraseData {
    std::wstring file;  // Filename
    std::wstring data;  // Phrasename
    short type = -1;    // entry index or system-phrase kind
    short phrsType = 0; // kvoPhraseTypeConstants
    long format = 0;
    bool operator==(const PhraseData&) const = default;
};

struct GreetingData {
    std::wstring name;  // the role, "Entry" for a control's entry greeting
    bool termOnDtmf = true;
    long fileformat = -1;
    std::vector<PhraseData> phrases;
    bool operator==(const GreetingData&) const = default;
};

// <Name>Greeting.Fileformat, .TermOnDTMF, .NumPhrase (-1: keep the phrases),
// and per phrase .File, .Data, .Type = PhrsType << 16 | Type (low word).
void ExchangeGreeting(ItemExchange& ex, GreetingData& greeting);
long PackPhraseType(short phrsType, short type);
void UnpackPhraseType(long packed, short& phrsType, short& type);

// One entry of a Frame's control inventory: "%i,%s" (page, name).
struct InventoryEntry {
    long page = 0;
    std::wstring name;
    bool operator==(const InventoryEntry&) const = default;
};
std::wstring FormatInventoryEntry(const InventoryEntry& e);
// Nothing when the text has no page number before the first comma.
std::optional<InventoryEntry> ParseInventoryEntry(const std::wstring& text);

// NumControls and Control%i. Unparsable entries are dropped on loading.
void ExchangeInventory(ItemExchange& ex, std::vector<InventoryEntry>& inventory);

// The page stored for `name`, taken out of the list; none when absent.
std::optional<long> TakeInventoryPage(std::vector<InventoryEntry>& inventory, const std::wstring& name);

// Directory values of the Frame.
std::string WithTrailingBackslash(std::string dir);
// A value starting with a backslash or with a drive ("x:") is used as it
// is; otherwise it is appended to `base`.
std::string ResolveDirectory(const std::string& value, const std::string& base);
bool SameDirectory(const std::string& a, const std::string& b);  // ignoring case

}  // namespace kvo
