// A vertex with a name, as the graph tests need one.
#pragma once
#include <string>

#include "Graph.h"

namespace kvo_test {

class TestVertex : public kvo::Vertex {
public:
    TestVertex(kvo::ControlRegistry& registry, std::string name, int nodes = 2, bool lineGroup = false)
        : Vertex(registry, 1), name_(std::move(name)), lineGroup_(lineGroup) {
        SetNumNodes(nodes);
    }
    ~TestVertex() override { Registry().Remove(*this); }
    std::string Name() const override { return name_; }
    bool IsLineGroup() const override { return lineGroup_; }
    void Rename(std::string name) { name_ = std::move(name); }

private:
    std::string name_;
    bool lineGroup_;
};

}  // namespace kvo_test
