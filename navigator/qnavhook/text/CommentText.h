// Commenting and uncommenting a block of text as the document's language
// writes comments. The text is what the editor copied: lines joined by CR LF.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include "DocKind.h"

namespace qnav::text {

// Whether the kind has a comment style at all.
bool HasCommentStyle(qv::DocKind kind);

// The commented text, or nothing for kinds without a comment style.
// `lineComments` is the C++Comments setting (C-style kinds only).
std::optional<std::string> CommentBlock(qv::DocKind kind, bool lineComments, std::string_view text);

// The uncommented text, or nothing for kinds without a comment style.
std::optional<std::string> UncommentBlock(qv::DocKind kind, std::string_view text);

}  // namespace qnav::text
