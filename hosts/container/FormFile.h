// The stand-in container's form file: controls by ProgID and name with their
// property bags, and an optional list of steps the container program runs.
// Portable (no Windows calls); text is UTF-8. The format is in README.md.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace container {

struct FormProperty {
    std::string name;
    std::string value;
};

struct FormControl {
    std::string progId;
    std::string name;
    std::vector<FormProperty> properties;
};

// "Set Ctl.Prop = value", "Get Ctl.Prop", "Call Ctl.Method [argument]",
// "Wait Ctl.Event": target is "Ctl.Member".
struct FormStep {
    std::string verb;
    std::string control;
    std::string member;
    std::string argument;
    bool hasArgument = false;
};

struct Form {
    std::vector<FormControl> controls;
    std::vector<FormStep> steps;
};

struct ParseError {
    int line = 0;  // 1-based; 0 when there is no error
    std::string message;
    explicit operator bool() const { return line != 0; }
};

// Parses `text` into `form`; on error `form` holds what came before it.
ParseError ParseForm(std::string_view text, Form& form);
std::string FormatForm(const Form& form);

// A value as written in the file: quoted, with \\ \" \n \r \t escapes.
std::string QuoteValue(std::string_view value);
// Reverses QuoteValue; a bare word stands for itself. False on bad quoting.
bool UnquoteValue(std::string_view text, std::string& value);

}  // namespace container
