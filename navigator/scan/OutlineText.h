// The outline as text, one item per line, tab-separated: file, line, top
// line, start column, end column, category, qualifier, text. The format
// qnavscan prints and golden test files hold.
#pragma once
#include <string>
#include <string_view>
#include <vector>
#include "Outline.h"

namespace qv {

std::string FormatItem(std::string_view file, const OutlineItem& item);
// The same line appended to `out`, without its line end.
void AppendItem(std::string& out, std::string_view file, const OutlineItem& item);

// An ItemSink that keeps every item (tools and tests; not for the IDE).
class CollectingSink final : public ItemSink {
public:
    void AddItem(const OutlineItem& item) override { items.push_back(item); }
    std::vector<OutlineItem> items;
};

}  // namespace qv
