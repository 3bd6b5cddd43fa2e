// Exit nodes, vertices and the control registry (see Graph.h for the locking).
#include "Graph.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace kvo {

const char* SpecialExitName(long exit) {
    switch (exit) {
    case kExitSilence: return "Silence";
    case kExitInvalid: return "Invalid";
    case kExitHangup: return "Hangup";
    case kExitNoNodeSet: return "NoNodeSet";
    default: return "";
    }
}

// ---- ExitNode ----

ExitNode::~ExitNode() {
    std::lock_guard guard(owner_.registry_.lock_);
    Unlink();
}

void ExitNode::Unlink() {
    if (!dest_) return;
    auto& links = dest_->inputs_[size_t(std::clamp<int>(destInput_, 0, dest_->InputCount() - 1))];
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
    dest_ = nullptr;
}

Vertex* ExitNode::Resolve(short* destInput) {
    if (destInput) *destInput = destInput_;
    if (!dest_ && destBlockId_ != 0) {
        Vertex* found = owner_.registry_.FindByBlockIdLocked(destBlockId_);
        if (found && !found->inputs_.empty()) {
            dest_ = found;
            found->inputs_[size_t(std::clamp<int>(destInput_, 0, found->InputCount() - 1))].push_back(this);
        }
    }
    return dest_;
}

Vertex* ExitNode::GetDestControl(short* destInput) {
    std::lock_guard guard(owner_.registry_.lock_);
    return Resolve(destInput);
}

std::string ExitNode::GetDestName() {
    Vertex* dest = GetDestControl();
    return dest ? dest->Name() : std::string();
}

void ExitNode::Connect(Vertex* dest, short destInput, long connected) {
    std::lock_guard guard(owner_.registry_.lock_);
    Unlink();
    destInput_ = dest ? destInput : 0;
    connected_ = dest ? connected : 0;
    destBlockId_ = dest ? dest->blockId_ : 0;
    if (dest) Resolve(nullptr);
}

void ExitNode::Disconnect() {
    std::lock_guard guard(owner_.registry_.lock_);
    Unlink();
    destInput_ = 0;
    connected_ = 0;
    destBlockId_ = 0;
}

void ExitNode::SetDestBlockId(long id) {
    std::lock_guard guard(owner_.registry_.lock_);
    if (id == destBlockId_) return;
    Unlink();
    destBlockId_ = id;
}

void ExitNode::SetStored(long blockId, bool connected, short destInput) {
    std::lock_guard guard(owner_.registry_.lock_);
    Unlink();
    destBlockId_ = blockId;
    connected_ = connected ? 1 : 0;
    destInput_ = destInput;
}

long ExitNode::DestBlockId() const {
    std::lock_guard guard(owner_.registry_.lock_);
    return destBlockId_;
}
short ExitNode::DestInput() const {
    std::lock_guard guard(owner_.registry_.lock_);
    return destInput_;
}
long ExitNode::Connected() const {
    std::lock_guard guard(owner_.registry_.lock_);
    return connected_;
}

// ---- Vertex ----

Vertex::Vertex(ControlRegistry& registry, int inputCount)
    : registry_(registry), inputs_(size_t(std::max(inputCount, 1))) {}

Vertex::~Vertex() {
    // The derived control has left the registry already; this only drops
    // what still points at this vertex if it never did.
    registry_.Remove(*this);
    nodes_.clear();
}

std::string Vertex::NodeName(int node) const {
    char text[24];
    std::snprintf(text, sizeof text, "Node %d", node);
    return text;
}

long Vertex::BlockId() const {
    std::lock_guard guard(registry_.lock_);
    return blockId_;
}

int Vertex::NumNodes() const {
    std::lock_guard guard(registry_.lock_);
    return int(nodes_.size());
}

bool Vertex::SetNumNodes(int n) {
    if (registry_.Started()) return false;
    n = std::clamp(n, 0, kMaxNodes);
    std::vector<std::unique_ptr<ExitNode>> removed;
    {
        std::lock_guard guard(registry_.lock_);
        while (int(nodes_.size()) < n) nodes_.push_back(std::make_unique<ExitNode>(*this));
        while (int(nodes_.size()) > n) {
            nodes_.back()->Unlink();
            removed.push_back(std::move(nodes_.back()));
            nodes_.pop_back();
        }
    }
    return true;  // `removed` unlinked already; its destructors relock
}

std::vector<ExitNode*> Vertex::InputLinks(int input) const {
    std::lock_guard guard(registry_.lock_);
    if (input < 0 || input >= InputCount()) return {};
    return inputs_[size_t(input)];
}

// ---- ControlRegistry ----

ControlRegistry& ControlRegistry::Process() {
    static ControlRegistry registry;
    return registry;
}

bool ControlRegistry::Add(Vertex& v, long now) {
    if (Started()) return false;
    std::lock_guard guard(lock_);
    if (controls_.size() >= size_t(kMaxControls)) return false;
    if (std::find(controls_.begin(), controls_.end(), &v) != controls_.end()) return true;
    v.blockId_ = FreeIdLocked(now);
    controls_.push_back(&v);
    return true;
}

void ControlRegistry::Remove(Vertex& v) {
    std::lock_guard guard(lock_);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), &v), controls_.end());
    for (auto& links : v.inputs_) {
        for (ExitNode* source : links) source->dest_ = nullptr;
        links.clear();
    }
    for (auto& node : v.nodes_) node->Unlink();
}

bool ControlRegistry::Contains(const Vertex& v) const {
    std::lock_guard guard(lock_);
    return std::find(controls_.begin(), controls_.end(), &v) != controls_.end();
}

short ControlRegistry::Count() const {
    std::lock_guard guard(lock_);
    return short(controls_.size());
}

std::vector<Vertex*> ControlRegistry::Controls() const {
    std::lock_guard guard(lock_);
    return controls_;
}

Vertex* ControlRegistry::FindByBlockIdLocked(long id, const Vertex* except) const {
    if (id == 0) return nullptr;
    for (Vertex* v : controls_)
        if (v->blockId_ == id && v != except) return v;
    return nullptr;
}

Vertex* ControlRegistry::FindByBlockId(long id) const {
    std::lock_guard guard(lock_);
    return FindByBlockIdLocked(id);
}

Vertex* ControlRegistry::FindByName(const std::string& name, bool* ambiguous) const {
    if (ambiguous) *ambiguous = false;
    // Names come from the controls, outside the lock's contract: take a copy.
    Vertex* first = nullptr;
    for (Vertex* v : Controls()) {
        if (v->Name() != name) continue;
        if (!first) {
            first = v;
            if (!ambiguous || !TestMode()) break;
        } else {
            *ambiguous = true;
            break;
        }
    }
    return first;
}

Vertex* ControlRegistry::ResolveHandlerName(const std::string& name) const {
    if (name.empty() || name == "[Default]") return nullptr;
    return FindByName(name);
}

Vertex* ControlRegistry::GetDestination(Vertex& v, int node, short* destInput) const {
    std::lock_guard guard(lock_);
    if (node < 0 || node >= int(v.nodes_.size())) return nullptr;
    return v.nodes_[size_t(node)]->Resolve(destInput);
}

long ControlRegistry::FreeIdLocked(long from) const {
    long id = from == 0 ? 1 : from;
    while (FindByBlockIdLocked(id)) id = (id == LONG_MAX || id == -1) ? 1 : id + 1;
    return id;
}

void ControlRegistry::AssignNewBlockId(Vertex& v, long now) {
    std::lock_guard guard(lock_);
    v.blockId_ = FreeIdLocked(now);
}

void ControlRegistry::ChangeBlockIdLocked(Vertex& v, long id) {
    for (auto& links : v.inputs_)
        for (ExitNode* source : links) source->destBlockId_ = id;
    // Outgoing links point at the source node itself: nothing on the
    // destination names this control's id.
    v.blockId_ = id;
}

bool ControlRegistry::ChangeBlockId(Vertex& v, long id) {
    if (Started()) return false;
    std::lock_guard guard(lock_);
    ChangeBlockIdLocked(v, id);
    return true;
}

bool ControlRegistry::AdoptStoredBlockId(Vertex& v, long id, long now) {
    if (Started()) return false;
    std::lock_guard guard(lock_);
    if (id == 0) return true;  // never valid: keep the fresh one
    if (Vertex* other = FindByBlockIdLocked(id, &v)) ChangeBlockIdLocked(*other, FreeIdLocked(now));
    ChangeBlockIdLocked(v, id);
    return true;
}

void ControlRegistry::SetStarted(bool on) { started_ = on; }
bool ControlRegistry::Started() const { return started_; }
void ControlRegistry::SetTestMode(bool on) { testMode_ = on; }
bool ControlRegistry::TestMode() const { return testMode_; }

}  // namespace kvo
