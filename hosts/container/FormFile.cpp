// Reading and writing form files, line by line.
#include "FormFile.h"
#include <cctype>

namespace container {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

// Property names may also hold dots ("Dest0.Conn"): controls name items by prefix.
bool IsName(std::string_view s, bool property = false) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && !(property && c == '.')) return false;
    return true;
}

// Splits off the first blank-separated word.
std::string_view Word(std::string_view& rest) {
    rest = Trim(rest);
    size_t end = 0;
    while (end < rest.size() && !std::isspace(static_cast<unsigned char>(rest[end]))) ++end;
    std::string_view word = rest.substr(0, end);
    rest = Trim(rest.substr(end));
    return word;
}

bool SplitTarget(std::string_view target, FormStep& step) {
    size_t dot = target.find('.');
    if (dot == std::string_view::npos) return false;
    std::string_view control = target.substr(0, dot), member = target.substr(dot + 1);
    if (!IsName(control) || !IsName(member)) return false;
    step.control = control;
    step.member = member;
    return true;
}

// "Name = value" inside a control block; "Set Ctl.Prop = value" in the steps.
bool SplitAssignment(std::string_view line, std::string_view& left, std::string& value) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    left = Trim(line.substr(0, eq));
    return UnquoteValue(Trim(line.substr(eq + 1)), value);
}

enum class Section { Top, Control, Steps };

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
            if (section == Section::Top) return fail("End without Begin or Run");
            section = Section::Top;
            continue;
        }
        std::string_view rest = line;
        std::string_view keyword = Word(rest);
        switch (section) {
        case Section::Top:
            if (keyword == "Begin") {
                FormControl control;
                control.progId = Word(rest);
                control.name = Word(rest);
                if (control.progId.empty() || !IsName(control.name) || !rest.empty())
                    return fail("expected: Begin <ProgID> <name>");
                for (const FormControl& other : form.controls)
                    if (other.name == control.name) return fail("control name used twice");
                form.controls.push_back(std::move(control));
                section = Section::Control;
            } else if (keyword == "Run" && rest.empty()) {
                section = Section::Steps;
            } else {
                return fail("expected Begin or Run");
            }
            break;
        case Section::Control: {
            FormProperty property;
            std::string_view name;
            if (!SplitAssignment(line, name, property.value) || !IsName(name, true))
                return fail("expected: <name> = <value>");
            property.name = name;
            form.controls.back().properties.push_back(std::move(property));
            break;
        }
        case Section::Steps: {
            FormStep step;
            step.verb = keyword;
            if (keyword == "Set") {
                std::string_view target;
                if (!SplitAssignment(rest, target, step.argument) || !SplitTarget(target, step))
                    return fail("expected: Set <control>.<property> = <value>");
                step.hasArgument = true;
            } else if (keyword == "Get" || keyword == "Wait" || keyword == "Call") {
                if (!SplitTarget(Word(rest), step)) return fail("expected <control>.<member>");
                if (keyword == "Call" && !rest.empty()) {
                    if (!UnquoteValue(rest, step.argument)) return fail("bad argument quoting");
                    step.hasArgument = true;
                } else if (!rest.empty()) {
                    return fail("unexpected text after the target");
                }
            } else {
                return fail("unknown step (Set, Get, Call, Wait)");
            }
            form.steps.push_back(std::move(step));
            break;
        }
        }
    }
    if (section != Section::Top) return ParseError{number, "missing End"};
    return {};
}

std::string FormatForm(const Form& form) {
    std::string out;
    for (const FormControl& control : form.controls) {
        out += "Begin " + control.progId + " " + control.name + "\n";
        for (const FormProperty& p : control.properties) out += "    " + p.name + " = " + QuoteValue(p.value) + "\n";
        out += "End\n";
    }
    if (!form.steps.empty()) {
        out += "Run\n";
        for (const FormStep& s : form.steps) {
            out += "    " + s.verb + " " + s.control + "." + s.member;
            if (s.verb == "Set") out += " =";
            if (s.hasArgument) out += " " + QuoteValue(s.argument);
            out += "\n";
        }
        out += "End\n";
    }
    return out;
}

}  // namespace container
