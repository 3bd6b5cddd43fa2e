#include "KvoDigits.h"

#include <optional>
#include <string_view>

#include "DigitEntry.h"
#include "DigitMask.h"
#include "References.h"
#include "Substitute.h"
#include "VoiceRules.h"

namespace kvo {

std::string KvoDigitsUsage() {
    return "usage: kvodigits [options] condition... [--entry KEYS]...\n"
           "  condition          PATTERN or NAME=PATTERN (the exit node's name)\n"
           "  --host NAME        a condition the host decides (never accepted here)\n"
           "  --max-keys N       IMaxKeys (default 0: no maximum)\n"
           "  --max-sil N        IMaxSil (default 3)\n"
           "  --term KEYS        ITermDtmf as keys, for example \"#\" or \"*#\"\n"
           "  --term-mask N      ITermDtmf as a number (110: no termination key)\n"
           "  --own-errors       UseDefaultError off: nodes 0 and 1 are the error exits\n"
           "  --value C.V=TEXT   the value V of control C, for references in patterns\n"
           "  --entry KEYS       keys a caller typed; prints the exit they take\n";
}

namespace {

std::optional<long> Number(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

}  // namespace

KvoDigitsArgs ParseKvoDigitsArgs(int argc, const char* const* argv) {
    KvoDigitsArgs a;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            a.help = true;
            return a;
        }
        if (arg.rfind("--", 0) == 0 && arg != "--own-errors") {
            if (i + 1 >= argc) {
                a.error = std::string(arg) + " needs a value";
                return a;
            }
            const std::string_view value = argv[++i];
            std::optional<long> n;
            if (arg == "--entry") a.entries.emplace_back(value);
            else if (arg == "--host") a.settings.conditions.push_back({std::string(value), "", true});
            else if (arg == "--max-keys" && (n = Number(value))) a.settings.maxKeys = *n;
            else if (arg == "--max-sil" && (n = Number(value))) a.settings.maxSil = *n;
            else if (arg == "--term-mask" && (n = Number(value))) a.settings.termDtmf = *n;
            else if (arg == "--term") {
                for (char key : value) {
                    if (!DigitMaskOf(key)) {
                        a.error = "--term takes the keys 0-9, * and #";
                        return a;
                    }
                    a.settings.termDtmf |= DigitMaskOf(key);
                }
            } else if (arg == "--value" && value.find('.') < value.find('=') &&
                       value.find('=') != std::string_view::npos) {
                const std::size_t eq = value.find('=');
                a.values[std::string(value.substr(0, eq))] = std::string(value.substr(eq + 1));
            } else {
                a.error = "bad option or value: " + std::string(arg) + " " + std::string(value);
                return a;
            }
        } else if (arg == "--own-errors") {
            a.settings.useDefaultError = false;
        } else {
            const std::size_t eq = arg.find('=');
            const std::string_view name = eq == std::string_view::npos ? arg : arg.substr(0, eq);
            const std::string_view data = eq == std::string_view::npos ? arg : arg.substr(eq + 1);
            a.settings.conditions.push_back({std::string(name), std::string(data), false});
        }
    }
    if (a.settings.conditions.empty()) a.error = "no conditions";
    return a;
}

namespace {

// Values given on the command line, read as a running system reads them.
class CommandLineValue : public ValueOwner {
public:
    CommandLineValue(std::string name, const std::map<std::string, std::string>& values)
        : name_(std::move(name)) {
        for (const auto& [key, text] : values)
            if (key.size() > name_.size() && key.compare(0, name_.size(), name_) == 0 && key[name_.size()] == '.') {
                names_.push_back(key.substr(name_.size() + 1));
                texts_.push_back(text);
            }
    }
    std::string Name() const override { return name_; }
    std::optional<std::string> GetValueName(int, int index) const override {
        if (index < 0 || index >= static_cast<int>(names_.size())) return std::nullopt;
        return names_[index];
    }
    std::optional<std::string> GetValueText(int channel, int index) const override {
        const auto name = GetValueName(channel, index);
        if (!name) return std::string();
        return texts_[index];
    }
    void SetValueText(int, std::string_view, int) override {}
    bool ValueReady(int) const override { return true; }

private:
    std::string name_;
    std::vector<std::string> names_, texts_;
};

class CommandLineForm : public ValueContext, public DigitCheckContext {
public:
    CommandLineForm(const std::map<std::string, std::string>& values, std::FILE* out) : out_(out) {
        for (const auto& entry : values) {
            const std::string control = entry.first.substr(0, entry.first.find('.'));
            if (controls_.empty() || controls_.back().Name() != control) controls_.emplace_back(control, values);
        }
    }
    ValueOwner* FindCallFlowControl(std::string_view name, bool&) override {
        for (auto& c : controls_)
            if (c.Name() == name) return &c;
        return nullptr;
    }
    ValueOwner* FindFrame(std::string_view) override { return nullptr; }
    bool SystemRunning() const override { return true; }
    bool GreetingsPageOpen() const override { return false; }
    std::optional<std::string> AskForValue(ValueOwner&, std::string_view) override { return std::nullopt; }
    void Log(int, int kind, std::string_view text) override {
        std::fprintf(out_, "log\t%d\t%.*s\n", kind, static_cast<int>(text.size()), text.data());
    }
    bool ControlExists(std::string_view name) override {
        bool ambiguous = false;
        return FindCallFlowControl(name, ambiguous) != nullptr;
    }
    bool NodeLeadsBackHere(int) override { return false; }

private:
    std::FILE* out_;
    std::vector<CommandLineValue> controls_;
};

class PrintedReport : public CheckReport {
public:
    explicit PrintedReport(std::FILE* out) : out_(out) {}
    void Add(Severity severity, std::string text, int helpTopic) override {
        if (severity == Severity::Error) errors = true;
        std::string s(SeverityWord(severity));
        s.pop_back();  // the report's trailing blank
        std::fprintf(out_, "check\t%s\t%.*s\t%d\n", s.c_str(), static_cast<int>(text.size()), text.data(),
                     helpTopic);
    }
    bool errors = false;

private:
    std::FILE* out_;
};

std::string ExitName(const DigitSettings& s, int node) {
    if (node == kExitNoDigits) return "Silence";
    if (node == kExitInvalid) return "Invalid";
    return DigitNodeName(s, node);
}

}  // namespace

int RunKvoDigits(const KvoDigitsArgs& a, std::FILE* out) {
    CommandLineForm form(a.values, out);
    PrintedReport report(out);
    const DigitRules rules = CheckDigitSettings(a.settings, form, report);
    std::fprintf(out, "mask\t%s\t%lx\n", MaskKeys(rules.mask).c_str(), static_cast<unsigned long>(rules.mask));
    std::fprintf(out, "max\t%ld\n", rules.maxKeys);
    const ReferenceResolver resolve = [&form](std::string_view p) { return Substitute(form, nullptr, p, 0); };
    for (const std::string& keys : a.entries) {
        std::string digits = keys;
        const ExitChoice choice = ChooseExit(digits, a.settings, rules, resolve, nullptr);
        if (choice.substitutionFailed)
            std::fprintf(out, "entry\t%s\t%s\tcontrol error %ld\n", keys.c_str(), digits.c_str(),
                         kErrorTypeSubstitution);
        else
            std::fprintf(out, "entry\t%s\t%s\t%d\t%s\n", keys.c_str(), digits.c_str(), choice.node,
                         ExitName(a.settings, choice.node).c_str());
    }
    return report.errors ? 1 : 0;
}

}  // namespace kvo
