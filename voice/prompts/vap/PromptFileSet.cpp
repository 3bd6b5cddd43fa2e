#include "PromptFileSet.h"

#include <algorithm>
#include <cerrno>

namespace kvo {

VoiceFileOpener::Result StdioVoiceFileOpener::Open(const std::string& path) {
    auto file = std::make_unique<StdioFile>(path, StdioFile::Mode::Read);
    Result r;
    if (file->IsOpen()) {
        r.file = std::move(file);
    } else {
        r.error = file->OpenError();
        r.missing = r.error == ENOENT;
    }
    return r;
}

PromptFile* PromptFileSet::Open(std::string_view name, VoiceFileKind kind, const void* language, const VoiceDirs& dirs,
                                VoiceFileOpener& opener, Failure* failure) {
    for (const Entry& e : entries_)
        if (e.kind == kind && e.language == language && SameVoiceName(e.name, name)) return e.file.get();

    Failure why;
    for (const std::string& path : VoiceCandidates(name, dirs)) {
        VoiceFileOpener::Result r = opener.Open(path);
        why = {path, r.error};
        if (r.file) {
            std::unique_ptr<PromptFile> file = kind == VoiceFileKind::Wave ? PromptFile::OpenWave(std::move(r.file))
                                                                           : PromptFile::Open(std::move(r.file));
            if (!file) break;
            entries_.push_back({std::string(name), kind, language, std::move(file)});
            return entries_.back().file.get();
        }
        if (!r.missing) break;
    }
    if (failure) *failure = why;
    return nullptr;
}

void PromptFileSet::Release(PromptFile* file) {
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.file.get() == file; });
    if (it != entries_.end()) entries_.erase(it);
    if (entries_.empty()) std::vector<Entry>().swap(entries_);
}

}  // namespace kvo
