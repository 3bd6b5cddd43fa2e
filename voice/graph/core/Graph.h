// The call-flow graph without the OLE side: a vertex per call-flow control,
// its exit nodes, and the process-wide registry that finds controls by block
// id and by name. Connections are stored by block id and resolved lazily, so
// a form loads whatever the order of its controls.
//
// Locking: the registry's lock guards its list, every exit node's cached
// destination and every input link. Line threads only read while the system
// runs; the changes that would race them are refused then. The lock is never
// held across a call that leaves this file.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kvo {

// Exits a control may name instead of one of its nodes.
enum SpecialExit : short {
    kExitSilence = -1,
    kExitInvalid = -2,
    kExitHangup = -3,
    kExitHelpDigit = -4,
    kExitNoNodeSet = -5,
};
// "Silence", "Invalid", "Hangup", "NoNodeSet"; empty for -4 and anything else.
const char* SpecialExitName(long exit);

// Bounds for counts read from saved forms, which may be damaged or hand-edited.
constexpr int kMaxNodes = 64;
constexpr int kMaxControls = 32767;  // the registry's count is 16-bit

class Vertex;
class ControlRegistry;

class ExitNode {
public:
    explicit ExitNode(Vertex& owner) : owner_(owner) {}
    ~ExitNode();
    ExitNode(const ExitNode&) = delete;
    ExitNode& operator=(const ExitNode&) = delete;

    // The destination, resolved through the registry by block id when not
    // cached; none when unconnected or when no registered control has the id.
    Vertex* GetDestControl(short* destInput = nullptr);
    std::string GetDestName();
    // Stores the destination, its input and the flag; a null control clears.
    void Connect(Vertex* dest, short destInput, long connected);
    void Disconnect();
    void Clear() { Disconnect(); }
    void SetDestBlockId(long id);

    long DestBlockId() const;
    short DestInput() const;
    long Connected() const;
    Vertex& Owner() const { return owner_; }

    // Loading: the stored values; the destination is resolved on first use.
    void SetStored(long blockId, bool connected, short destInput);

private:
    friend class Vertex;
    friend class ControlRegistry;
    // Callers hold the registry lock.
    void Unlink();
    Vertex* Resolve(short* destInput);

    Vertex& owner_;
    Vertex* dest_ = nullptr;  // cached; linked into dest_'s input list
    short destInput_ = 0;
    long connected_ = 0;
    long destBlockId_ = 0;
};

// A call-flow control as the graph sees it. The OLE control derives from it.
class Vertex {
public:
    Vertex(ControlRegistry& registry, int inputCount);
    virtual ~Vertex();
    Vertex(const Vertex&) = delete;
    Vertex& operator=(const Vertex&) = delete;

    virtual std::string Name() const = 0;
    virtual bool IsLineGroup() const { return false; }
    // The exit label of a node, shown on the form, in logs and checks.
    virtual std::string NodeName(int node) const;

    ControlRegistry& Registry() const { return registry_; }
    long BlockId() const;
    int NumNodes() const;
    ExitNode& Node(int i) { return *nodes_[size_t(i)]; }
    // Bounded to 0..kMaxNodes; false (nothing changed) while the system runs.
    bool SetNumNodes(int n);
    int InputCount() const { return int(inputs_.size()); }
    // Source nodes linked to input `input` (a copy taken under the lock).
    std::vector<ExitNode*> InputLinks(int input) const;

    long Page() const { return page_; }
    void SetPage(long page) { page_ = page; }

private:
    friend class ExitNode;
    friend class ControlRegistry;

    ControlRegistry& registry_;
    long blockId_ = 0;
    long page_ = -1;
    std::vector<std::unique_ptr<ExitNode>> nodes_;
    std::vector<std::vector<ExitNode*>> inputs_;
};

class ControlRegistry {
public:
    // The process's registry.
    static ControlRegistry& Process();

    // A control joins with a fresh block id; false (not joined) while the
    // system runs or when the registry is full.
    bool Add(Vertex& v, long now);
    // Leaves the registry: incoming nodes drop their cached reference (and
    // keep the block id, so they resolve to none), outgoing ones unlink.
    void Remove(Vertex& v);
    bool Contains(const Vertex& v) const;
    short Count() const;
    std::vector<Vertex*> Controls() const;  // creation order

    Vertex* FindByBlockId(long id) const;
    // Exact, case-sensitive; with `ambiguous` in test mode the search goes on
    // and sets it when a second control has the name.
    Vertex* FindByName(const std::string& name, bool* ambiguous = nullptr) const;
    // Empty or "[Default]": none (default processing); else FindByName.
    Vertex* ResolveHandlerName(const std::string& name) const;
    Vertex* GetDestination(Vertex& v, int node, short* destInput = nullptr) const;

    // id = now (seconds since 1970), increased while taken.
    void AssignNewBlockId(Vertex& v, long now);
    // Rewrites every input link to the new id, then the control takes it.
    bool ChangeBlockId(Vertex& v, long id);
    // A loaded control keeps its stored id; another control holding it gets
    // a fresh one (from `now`), keeping the links it had.
    bool AdoptStoredBlockId(Vertex& v, long id, long now);

    // Written by the dispatcher; changes of the graph are refused while set.
    void SetStarted(bool on);
    bool Started() const;
    void SetTestMode(bool on);
    bool TestMode() const;

private:
    friend class ExitNode;
    friend class Vertex;
    Vertex* FindByBlockIdLocked(long id, const Vertex* except = nullptr) const;
    long FreeIdLocked(long from) const;
    void ChangeBlockIdLocked(Vertex& v, long id);

    mutable std::mutex lock_;
    std::vector<Vertex*> controls_;
    std::atomic<bool> started_{false};
    std::atomic<bool> testMode_{false};
};

}  // namespace kvo
