// Design-time checks of the graph, written to one check report.
#pragma once
#include <string>
#include <vector>

namespace kvo {

class Vertex;
class ControlRegistry;

enum class Severity { Error, Warning, Info };

// Help topics of the checks.
enum : int {
    kHelpDestinationNotFound = 1403,
    kHelpNodeNotConnected = 1404,
    kHelpSameControlLoop = 1409,
    kHelpDuplicateName = 1410,
};

struct CheckEntry {
    Severity severity;
    std::string text;
    int helpTopic;
    bool operator==(const CheckEntry&) const = default;
};

// Every check of the system writes here; a tool or test may override Add to
// print or judge entries as they come.
class CheckReport {
public:
    virtual ~CheckReport() = default;
    virtual void Add(Severity severity, std::string text, int helpTopic);
    const std::vector<CheckEntry>& Entries() const { return entries_; }
    bool HasErrors() const;
    void Clear() { entries_.clear(); }
    // One line per entry: severity word ("error ", "warning ", "info "), text, topic.
    std::string Text() const;

private:
    std::vector<CheckEntry> entries_;
};

const char* SeverityWord(Severity s);

// "node %s not connected" (1404) or "destination control not found: node
// %s block id %li" (1403); nothing when the node resolves. True when fine.
bool CheckConnection(Vertex& v, int node, CheckReport& report);
// "node %s connected to input on same control" (1409); true when fine.
bool CheckSelfLoop(Vertex& v, int node, CheckReport& report);
// "2 controls of name %s" for each name held by more than one control.
void CheckDuplicateNames(const ControlRegistry& registry, CheckReport& report);
// Picked by name: "2 controls of name %s found: please rename one of these controls".
void ReportAmbiguousPick(const std::string& name, CheckReport& report);

}  // namespace kvo
