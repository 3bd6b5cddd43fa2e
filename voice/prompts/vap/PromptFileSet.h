// The prompt and wave files one channel has open: each (name, kind,
// language) is opened once and shared by every play list of the channel
// until it is released. Opening goes through the caller's opener, so the
// run time decides how files are opened (read-only, shared for reading).
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "PromptFile.h"
#include "VoicePath.h"

namespace kvo {

class VoiceFileOpener {
public:
    struct Result {
        std::unique_ptr<ByteReader> file;  // null when the open failed
        long error = 0;                    // the operating system's code
        bool missing = false;              // the file or its path does not exist
    };
    virtual ~VoiceFileOpener() = default;
    virtual Result Open(const std::string& path) = 0;
};

// Opens files on disk read-only through stdio.
class StdioVoiceFileOpener : public VoiceFileOpener {
public:
    Result Open(const std::string& path) override;
};

enum class VoiceFileKind { Prompt, Wave };

class PromptFileSet {
public:
    struct Failure {
        std::string path;  // the full name, for "file open error '%s', code %lx"
        long error = 0;    // 0 when the file opened but is no prompt file
    };

    // The open file for `name` (compared without regard to case), `kind` and
    // `language` (any identity, usually the channel's language record). A
    // name not open yet is looked for as `dirs` say: each missing candidate
    // gives way to the next; any other failure ends the search. Null with
    // `failure` filled when it cannot be opened.
    PromptFile* Open(std::string_view name, VoiceFileKind kind, const void* language, const VoiceDirs& dirs,
                     VoiceFileOpener& opener, Failure* failure = nullptr);

    // Closes one file; the set lets go of all its storage when it is empty.
    void Release(PromptFile* file);

    std::size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        std::string name;
        VoiceFileKind kind;
        const void* language;
        std::unique_ptr<PromptFile> file;
    };
    std::vector<Entry> entries_;
};

}  // namespace kvo
