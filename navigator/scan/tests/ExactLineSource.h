// A LineSource for tests and fuzzing that hands out each line in its own
// allocation of exactly the line's size and frees it at the next call, so the
// sanitizers catch a scanner that reads past a line or keeps a line too long.
#pragma once
#include <cstring>
#include <memory>
#include <string_view>
#include "Outline.h"
#include "TextLineSource.h"

namespace qvtest {

class ExactLineSource final : public qv::LineSource {
public:
    ExactLineSource(std::string_view text, qv::LineConvention convention) : inner_(text, convention) {}

    const char* NextLine(std::size_t& length) override {
        current_.reset();
        const char* p = inner_.NextLine(length);
        if (!p) return nullptr;
        current_ = std::make_unique<char[]>(length);
        if (length) std::memcpy(current_.get(), p, length);
        ++delivered;
        return current_.get();
    }

    unsigned delivered = 0;

private:
    qv::TextLineSource inner_;
    std::unique_ptr<char[]> current_;
};

}  // namespace qvtest
