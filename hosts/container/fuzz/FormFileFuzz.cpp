// Any bytes into the form reader: it must never crash, and whatever it
// accepts must come back unchanged through the writer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include "FormFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    container::Form form;
    if (container::ParseForm(std::string_view(reinterpret_cast<const char*>(data), size), form)) return 0;
    const std::string text = container::FormatForm(form);
    container::Form again;
    if (container::ParseForm(text, again) || container::FormatForm(again) != text) std::abort();
    return 0;
}
