// Message digests: one item per subject, qualified by the sender of the
// message when a "From:" line comes shortly before it.
#include <string_view>
#include "LineScan.h"
#include "Scanners.h"

namespace qv {

namespace {

using linescan::Line;

constexpr std::string_view kSeparator = "::    ";
constexpr std::size_t kMaxSender = 40;
// Lines after "From:" searched for its subject.
constexpr int kSubjectWindow = 8;

// The position of the subject text when the line is a "Subject:" line with a
// non-empty subject, else 0; n receives its length.
std::size_t SubjectText(const Line& line, std::size_t& n) {
    const std::size_t lead = line.SkipBlanks(0);
    if (line.length - lead < 9 || !line.HasKeyword(lead, "SUBJECT:")) return 0;
    const std::size_t start = line.SkipBlanks(lead + 8);
    n = line.TextLength(start);
    return n ? start : 0;
}

bool IsFromLine(const Line& line, std::size_t& senderAt) {
    const std::size_t lead = line.SkipBlanks(0);
    if (line.length - lead < 6 || !line.HasKeyword(lead, "FROM:")) return false;
    senderAt = line.SkipBlanks(lead + 5);
    return true;
}

class SubjectOutline {
public:
    explicit SubjectOutline(ItemSink& items) : out_(items) {}

    void Scan(const Line& line) {
        std::size_t n = 0;
        const std::size_t subject = SubjectText(line, n);
        if (linesLeft_ > 0) {
            --linesLeft_;
            if (subject) {
                Report(line, subject, n, fromLine_, sender_);
                linesLeft_ = 0;
            }
            return;
        }
        std::size_t senderAt = 0;
        if (subject) Report(line, subject, n, line.number, kSeparator);
        else if (IsFromLine(line, senderAt)) Sender(line, senderAt);
    }

    int Count() const { return out_.count; }

private:
    // The sender as the qualifier shows it: long names end in "...". The
    // separator is cut where the qualifier is full, so a long sender keeps
    // its colons but loses some of the blanks.
    void Sender(const Line& line, std::size_t pos) {
        std::size_t n = line.TextLength(pos, kMaxSender);
        std::size_t used = 0;
        if (n >= kMaxSender) {
            used = linescan::AppendBounded(sender_, sizeof sender_, 0, std::string_view(line.text + pos, 37));
            used = linescan::AppendBounded(sender_, sizeof sender_, used, "...");
        } else {
            used = linescan::AppendBounded(sender_, sizeof sender_, 0, std::string_view(line.text + pos, n));
        }
        linescan::AppendBounded(sender_, sizeof sender_, used, kSeparator);
        fromLine_ = line.number;
        linesLeft_ = kSubjectWindow;
    }

    void Report(const Line& line, std::size_t start, std::size_t n, unsigned top, std::string_view qualifier) {
        out_.Emit(linescan::MakeItem(line.number, top, start, start + n, 0, "",
                                          std::string_view(line.text + start, n), qualifier));
    }

    linescan::Reporter out_;
    char sender_[kItemQualifierSize] = {};
    unsigned fromLine_ = 0;
    int linesLeft_ = 0;
};

}  // namespace

int ScanSubjects(LineSource& lines, ItemSink& items, const ScanOptions&) {
    SubjectOutline outline(items);
    linescan::ForEachOutlineLine(lines, [&](const Line& line) { outline.Scan(line); });
    return outline.Count();
}

}  // namespace qv
