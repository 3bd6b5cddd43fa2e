// Any bytes as a paste-buffer file, bookmark value and date pattern: decoding
// must stay inside its input and a re-encoded file must decode to the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include "Bookmarks.h"
#include "FileDateFormat.h"
#include "PasteBufferFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qnav::state;
    const PasteBuffers buffers = DecodePasteBuffers(data, size);
    for (const auto& b : buffers)
        if (b.size() > kMaxPasteBufferSize) std::abort();
    const auto bytes = EncodePasteBuffers(buffers);
    if (DecodePasteBuffers(bytes.data(), bytes.size()) != buffers) std::abort();

    const std::string text(reinterpret_cast<const char*>(data), size);
    if (auto b = ParseBookmark(text); b && b->path.empty()) std::abort();
    IntlSettings intl;
    intl.shortDate = text.substr(0, 20);
    if (size >= 4) FormatFileDateTime(static_cast<std::uint16_t>(data[0] | data[1] << 8),
                                      static_cast<std::uint16_t>(data[2] | data[3] << 8), intl);
    return 0;
}
