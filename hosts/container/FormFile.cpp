// Reading and writing form files, line by line; steps through a small cursor.
#include "FormFile.h"
#include <cctype>
#include <cstdlib>

namespace container {

namespace {

bool Space(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool NameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool Digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && Space(s.front())) s.remove_prefix(1);
    while (!s.empty() && Space(s.back())) s.remove_suffix(1);
    return s;
}

// Property names may also hold dots ("Dest0.Conn"): controls name items by prefix.
bool IsName(std::string_view s, bool property = false) {
    if (s.empty()) return false;
    for (char c : s)
        if (!NameChar(c) && !(property && c == '.')) return false;
    return true;
}

// Splits off the first blank-separated word.
std::string_view Word(std::string_view& rest) {
    rest = Trim(rest);
    size_t end = 0;
    while (end < rest.size() && !Space(rest[end])) ++end;
    std::string_view word = rest.substr(0, end);
    rest = Trim(rest.substr(end));
    return word;
}

// Reads one step line from left to right.
class Cursor {
public:
    explicit Cursor(std::string_view s) : s_(s) {}

    bool AtEnd() { Skip(); return i_ == s_.size(); }
    bool Eat(char c) {
        Skip();
        if (i_ < s_.size() && s_[i_] == c) { ++i_; return true; }
        return false;
    }
    bool Name(std::string& out) {
        Skip();
        size_t start = i_;
        while (i_ < s_.size() && NameChar(s_[i_])) ++i_;
        out = s_.substr(start, i_ - start);
        return !out.empty();
    }
    // A whole number, as a bare word.
    bool Number(Argument& out) {
        Skip();
        size_t start = i_;
        if (i_ < s_.size() && s_[i_] == '-') ++i_;
        const size_t digits = i_;
        while (i_ < s_.size() && Digit(s_[i_]) && i_ - digits < 9) ++i_;
        if (i_ == digits || (i_ < s_.size() && NameChar(s_[i_]))) return false;
        out = Argument{std::string(s_.substr(start, i_ - start)), 0, true};
        return true;
    }
    // "quoted", $n, or a bare word that ends before any of `stops`.
    bool Arg(Argument& out, std::string_view stops) {
        Skip();
        out = Argument{};
        if (i_ == s_.size()) return false;
        if (s_[i_] == '"') return Quoted(out.text);
        if (s_[i_] == '$' && i_ + 1 < s_.size() && Digit(s_[i_ + 1])) {
            ++i_;
            int n = 0;
            while (i_ < s_.size() && Digit(s_[i_]) && n < 1000) n = n * 10 + (s_[i_++] - '0');
            out.eventArg = n;
            return n > 0;
        }
        size_t start = i_;
        while (i_ < s_.size() && stops.find(s_[i_]) == std::string_view::npos) ++i_;
        std::string_view bare = Trim(s_.substr(start, i_ - start));
        if (bare.empty() || bare.find('"') != std::string_view::npos) return false;
        out.text = bare;
        return true;
    }
    bool Quoted(std::string& out) {
        Skip();
        if (i_ == s_.size() || s_[i_] != '"') return false;
        size_t end = i_ + 1;
        while (end < s_.size() && s_[end] != '"') end += s_[end] == '\\' ? 2 : 1;
        if (end >= s_.size()) return false;
        const bool ok = UnquoteValue(s_.substr(i_, end + 1 - i_), out);
        i_ = end + 1;
        return ok;
    }
    // Arguments in parentheses after a member name; none without them.
    bool Args(std::vector<Argument>& out, char close) {
        if (Eat(close)) return true;
        do {
            Argument a;
            if (!Arg(a, close == ')' ? ",)" : ",")) return false;
            out.push_back(std::move(a));
        } while (Eat(','));
        return close == '\0' ? AtEnd() : Eat(close);
    }
    bool Path(std::vector<PathPart>& path) {
        do {
            PathPart part;
            if (!Name(part.name)) return false;
            if (Eat('(') && !Args(part.args, ')')) return false;
            path.push_back(std::move(part));
        } while (Eat('.'));
        return true;
    }

private:
    void Skip() { while (i_ < s_.size() && Space(s_[i_])) ++i_; }
    std::string_view s_;
    size_t i_ = 0;
};

bool PlainTarget(const std::vector<PathPart>& path, size_t parts) {
    if (path.size() != parts) return false;
    for (const PathPart& p : path)
        if (!p.args.empty()) return false;
    return true;
}

// Parses the text after the step's keyword; the message says what was expected.
const char* ParseStep(std::string_view keyword, std::string_view rest, FormStep& step) {
    step.verb = keyword;
    Cursor c(rest);
    if (keyword == "Set") {
        Argument target;
        if (rest.starts_with("$")) {
            if (!c.Arg(target, "=") || target.eventArg == 0) return "expected: Set $<n> = <value>";
            step.args.push_back(target);
        } else if (!c.Path(step.path) || step.path.size() < 2) {
            return "expected: Set <control>.<member> = <value>";
        }
        if (!c.Eat('=')) return "expected: Set <control>.<member> = <value>";
        // A bare value runs to the end of the line, commas and all.
        Argument value;
        if (!c.Arg(value, "") || !c.AtEnd()) return "bad value quoting";
        step.args.push_back(std::move(value));
        return nullptr;
    }
    if (keyword == "Get" || keyword == "Call") {
        if (!c.Path(step.path) || step.path.size() < 2) return "expected <control>.<member>";
        if (keyword == "Get" && !c.AtEnd()) return "unexpected text after the target";
        if (keyword == "Call" && !c.AtEnd() && !c.Args(step.args, '\0')) return "bad argument list";
        return nullptr;
    }
    if (keyword == "Wait") {
        if (!c.Path(step.path) || !PlainTarget(step.path, 2)) return "expected <control>.<event>";
        for (int i = 0; i < 2 && !c.AtEnd(); ++i) {
            Argument n;
            if (!c.Number(n) || n.text[0] == '-') return "expected: Wait <control>.<event> [count [timeout]]";
            step.args.push_back(n);
        }
        return c.AtEnd() ? nullptr : "unexpected text after the target";
    }
    if (keyword == "Verb") {
        Argument n;
        if (!c.Path(step.path) || !PlainTarget(step.path, 1) || !c.Number(n) || !c.AtEnd())
            return "expected: Verb <control> <number>";
        step.args.push_back(n);
        return nullptr;
    }
    if (keyword == "Unload") {
        if (!c.AtEnd() && (!c.Path(step.path) || !PlainTarget(step.path, 1) || !c.AtEnd()))
            return "expected: Unload [<control>]";
        return nullptr;
    }
    if (keyword == "Break" || keyword == "Continue") return c.AtEnd() ? nullptr : "unexpected text";
    if (keyword == "Mode") {
        Argument mode;
        if (!c.Name(mode.text) || (mode.text != "design" && mode.text != "run") || !c.AtEnd())
            return "expected: Mode design|run";
        mode.word = true;
        step.args.push_back(mode);
        return nullptr;
    }
    if (keyword == "Pause") {
        Argument ms;
        if (!c.Number(ms) || ms.text[0] == '-' || !c.AtEnd()) return "expected: Pause <milliseconds>";
        step.args.push_back(ms);
        return nullptr;
    }
    if (keyword == "Answer") {
        Argument title, answer;
        if (!c.Quoted(title.text)) return "expected: Answer \"<title>\" <answer>";
        if (c.Name(answer.text)) {
            if (answer.text != "OK" && answer.text != "Cancel" && answer.text != "Yes" && answer.text != "No")
                return "expected an answer: \"<text>\", OK, Cancel, Yes or No";
            answer.word = true;
        } else if (!c.Quoted(answer.text)) {
            return "expected an answer: \"<text>\", OK, Cancel, Yes or No";
        }
        if (!c.AtEnd()) return "unexpected text after the answer";
        step.args = {title, answer};
        return nullptr;
    }
    return "unknown step (Set, Get, Call, Wait, Verb, Unload, Break, Continue, Mode, Pause, Answer)";
}

std::string FormatArg(const Argument& a) {
    if (a.eventArg) return "$" + std::to_string(a.eventArg);
    return a.word ? a.text : QuoteValue(a.text);
}

std::string FormatArgs(const std::vector<Argument>& args) {
    std::string out;
    for (size_t i = 0; i < args.size(); ++i) out += (i ? ", " : "") + FormatArg(args[i]);
    return out;
}

// "Begin <ProgID> <name> [<left> <top> <width> <height>]"
bool ParseBegin(std::string_view rest, FormControl& control) {
    control.progId = Word(rest);
    control.name = Word(rest);
    if (control.progId.empty() || !IsName(control.name)) return false;
    if (rest.empty()) return true;
    int* place[] = {&control.left, &control.top, &control.width, &control.height};
    for (int* value : place) {
        std::string_view word = Word(rest);
        if (word.empty()) break;
        if (word.size() > 6) return false;
        for (size_t i = 0; i < word.size(); ++i)
            if (!Digit(word[i]) && !(i == 0 && word[i] == '-' && word.size() > 1)) return false;
        *value = std::atoi(std::string(word).c_str());
    }
    control.placed = true;
    return rest.empty();
}

enum class Section { Top, Control, Steps, Handler };

}  // namespace

std::string QuoteValue(std::string_view value) {
    std::string out = "\"";
    for (char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out += c;
        }
    }
    return out + "\"";
}

bool UnquoteValue(std::string_view text, std::string& value) {
    value.clear();
    if (text.empty() || text.front() != '"') {
        if (text.find('"') != std::string_view::npos) return false;
        value = text;
        return true;
    }
    for (size_t i = 1; i < text.size(); ++i) {
        char c = text[i];
        if (c == '"') return i + 1 == text.size();
        if (c != '\\') {
            value += c;
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
        case '\\': value += '\\'; break;
        case '"': value += '"'; break;
        case 'n': value += '\n'; break;
        case 'r': value += '\r'; break;
        case 't': value += '\t'; break;
        default: return false;
        }
    }
    return false;  // no closing quote
}

ParseError ParseForm(std::string_view text, Form& form) {
    form = Form{};
    Section section = Section::Top;
    int number = 0;
    auto fail = [&](const char* message) { return ParseError{number, message}; };
    while (!text.empty()) {
        ++number;
        size_t nl = text.find('\n');
        std::string_view line = Trim(text.substr(0, nl));
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (line.empty() || line.front() == '#') continue;

        // Only a line of its own ends a block: "End = x" is a property.
        if (line == "End") {
            if (section == Section::Top) return fail("End without Begin, On or Run");
            section = Section::Top;
            continue;
        }
        std::string_view rest = line;
        std::string_view keyword = Word(rest);
        switch (section) {
        case Section::Top:
            if (keyword == "Begin") {
                FormControl control;
                if (!ParseBegin(rest, control))
                    return fail("expected: Begin <ProgID> <name> [<left> <top> [<width> <height>]]");
                for (const FormControl& other : form.controls)
                    if (other.name == control.name) return fail("control name used twice");
                form.controls.push_back(std::move(control));
                section = Section::Control;
            } else if (keyword == "On") {
                FormHandler handler;
                std::vector<PathPart> target;
                Cursor c(rest);
                if (!c.Path(target) || !PlainTarget(target, 2) || !c.AtEnd())
                    return fail("expected: On <control>.<event>");
                handler.control = target[0].name;
                handler.event = target[1].name;
                form.handlers.push_back(std::move(handler));
                section = Section::Handler;
            } else if (keyword == "Run" && rest.empty()) {
                section = Section::Steps;
            } else {
                return fail("expected Begin, On or Run");
            }
            break;
        case Section::Control: {
            FormProperty property;
            size_t eq = line.find('=');
            std::string_view name = Trim(line.substr(0, eq));
            if (eq == std::string_view::npos || !IsName(name, true) || !UnquoteValue(Trim(line.substr(eq + 1)), property.value))
                return fail("expected: <name> = <value>");
            property.name = name;
            form.controls.back().properties.push_back(std::move(property));
            break;
        }
        case Section::Steps:
        case Section::Handler: {
            FormStep step;
            step.line = number;
            if (const char* error = ParseStep(keyword, rest, step)) return fail(error);
            (section == Section::Steps ? form.steps : form.handlers.back().steps).push_back(std::move(step));
            break;
        }
        }
    }
    if (section != Section::Top) return ParseError{number, "missing End"};
    return {};
}

std::string FormatPath(const std::vector<PathPart>& path) {
    std::string out;
    for (size_t i = 0; i < path.size(); ++i) {
        out += (i ? "." : "") + path[i].name;
        if (!path[i].args.empty()) out += "(" + FormatArgs(path[i].args) + ")";
    }
    return out;
}

std::string FormatStep(const FormStep& step) {
    std::string out = step.verb;
    if (step.verb == "Set") {
        // Set $n = v keeps its target among the arguments.
        const bool toArg = step.path.empty() && step.args.size() == 2;
        out += " " + (toArg ? FormatArg(step.args[0]) : FormatPath(step.path)) + " =";
        if (!step.args.empty()) out += " " + FormatArg(step.args.back());
        return out;
    }
    if (!step.path.empty()) out += " " + FormatPath(step.path);
    if (step.verb == "Call") {
        if (!step.args.empty()) out += " " + FormatArgs(step.args);
    } else {
        for (const Argument& a : step.args) out += " " + FormatArg(a);
    }
    return out;
}

std::string FormatForm(const Form& form) {
    std::string out;
    for (const FormControl& control : form.controls) {
        out += "Begin " + control.progId + " " + control.name;
        if (control.placed)
            out += " " + std::to_string(control.left) + " " + std::to_string(control.top) + " " +
                   std::to_string(control.width) + " " + std::to_string(control.height);
        out += "\n";
        for (const FormProperty& p : control.properties) out += "    " + p.name + " = " + QuoteValue(p.value) + "\n";
        out += "End\n";
    }
    for (const FormHandler& handler : form.handlers) {
        out += "On " + handler.control + "." + handler.event + "\n";
        for (const FormStep& s : handler.steps) out += "    " + FormatStep(s) + "\n";
        out += "End\n";
    }
    if (!form.steps.empty()) {
        out += "Run\n";
        for (const FormStep& s : form.steps) out += "    " + FormatStep(s) + "\n";
        out += "End\n";
    }
    return out;
}

}  // namespace container
