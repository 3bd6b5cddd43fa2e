// Connection, self-loop and name checks (see Checks.h).
#include "Checks.h"

#include <cstdio>
#include <map>

#include "Graph.h"

namespace kvo {

const char* SeverityWord(Severity s) {
    switch (s) {
    case Severity::Error: return "error ";
    case Severity::Warning: return "warning ";
    default: return "info ";
    }
}

void CheckReport::Add(Severity severity, std::string text, int helpTopic) {
    entries_.push_back({severity, std::move(text), helpTopic});
}

bool CheckReport::HasErrors() const {
    for (const CheckEntry& e : entries_)
        if (e.severity == Severity::Error) return true;
    return false;
}

std::string CheckReport::Text() const {
    std::string text;
    for (const CheckEntry& e : entries_)
        text += SeverityWord(e.severity) + e.text + "\t" + std::to_string(e.helpTopic) + "\n";
    return text;
}

bool CheckConnection(Vertex& v, int node, CheckReport& report) {
    if (node < 0 || node >= v.NumNodes()) return true;
    ExitNode& n = v.Node(node);
    if (n.GetDestControl()) return true;
    const std::string name = v.NodeName(node);
    const long id = n.DestBlockId();
    if (id == 0) {
        report.Add(Severity::Warning, "node " + name + " not connected", kHelpNodeNotConnected);
    } else {
        char text[64];
        std::snprintf(text, sizeof text, " block id %ld", id);
        report.Add(Severity::Error, "destination control not found: node " + name + text, kHelpDestinationNotFound);
    }
    return false;
}

bool CheckSelfLoop(Vertex& v, int node, CheckReport& report) {
    if (node < 0 || node >= v.NumNodes()) return true;
    if (v.Node(node).DestBlockId() != v.BlockId()) return true;
    report.Add(Severity::Error, "node " + v.NodeName(node) + " connected to input on same control", kHelpSameControlLoop);
    return false;
}

void CheckDuplicateNames(const ControlRegistry& registry, CheckReport& report) {
    std::map<std::string, int> seen;
    for (Vertex* v : registry.Controls())
        if (++seen[v->Name()] == 2) report.Add(Severity::Error, "2 controls of name " + v->Name(), kHelpDuplicateName);
}

void ReportAmbiguousPick(const std::string& name, CheckReport& report) {
    report.Add(Severity::Error, "2 controls of name " + name + " found: please rename one of these controls",
               kHelpDuplicateName);
}

}  // namespace kvo
