// Any bytes as a prompt file: the run-time reader, the editor's list and a
// rebuild must stay inside the file, and a rebuild must give a file that the
// reader accepts with every clip inside it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "PromptFile.h"
#include "VapEditor.h"

namespace {

class QuietUi : public kvo::VapEditorUi {
public:
    void Show(const std::string&) override {}
    Answer Ask(const std::string&, bool) override { return Answer::Yes; }
};

void ReadAll(kvo::PromptFile& file, const std::string& wanted) {
    for (std::uint32_t i = 0; i <= file.Count(); ++i) (void)file.Range(i);
    (void)file.FindClip(wanted);
    (void)file.FindClip(wanted, 3);
    (void)file.ClipNameIs(wanted, 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kvo;
    // The first byte picks the length of the name looked up, taken from the
    // end of the input.
    if (size < 1) return 0;
    const std::size_t nameLength = std::min<std::size_t>(data[0] % 16, size - 1);
    const std::string wanted(reinterpret_cast<const char*>(data + size - nameLength), nameLength);
    ++data;
    --size;

    if (auto file = PromptFile::Open(std::make_unique<MemoryFile>(data, size))) ReadAll(*file, wanted);

    QuietUi ui;
    MemoryFile source(data, size);
    (void)VapListClips(source, "fuzz.vap", wanted, ui);

    auto rebuilt = std::make_unique<MemoryFile>();
    if (VapRebuild(source, "fuzz.vap", *rebuilt, ui)) {
        const std::uint64_t rebuiltSize = rebuilt->Size();
        auto again = PromptFile::Open(std::move(rebuilt));
        if (!again) __builtin_trap();
        for (std::uint32_t i = 0; i < again->Count(); ++i)
            if (!again->Range(i)) __builtin_trap();
        if (rebuiltSize < VapSlotPosition(again->Count())) __builtin_trap();
        ReadAll(*again, wanted);
    }
    return 0;
}
