#include "LogText.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

namespace kvo {
namespace {

template <class... T>
std::string Format(const char* fmt, T... args) {
    char buf[64];
    int n = std::snprintf(buf, sizeof buf, fmt, args...);
    return n < 0 ? std::string() : std::string(buf, std::min<std::size_t>(n, sizeof buf - 1));
}

// Plain conversions are written here: a converted file has hundreds of
// thousands of lines, and printf is most of their cost.
void AppendUnsigned(std::string& out, std::uint32_t v, unsigned base = 10, bool upper = false,
                    std::size_t minDigits = 1) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char buf[16];
    char* d = buf + sizeof buf;
    do {
        *--d = digits[v % base];
        v /= base;
    } while (v);
    while (static_cast<std::size_t>(buf + sizeof buf - d) < minDigits) *--d = '0';
    out.append(d, buf + sizeof buf);
}

void AppendSigned(std::string& out, std::int32_t v, std::size_t minDigits = 1) {
    if (v < 0) out += '-';
    // Negated in unsigned arithmetic, so the smallest value is no overflow.
    const std::uint32_t magnitude = v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
    AppendUnsigned(out, magnitude, 10, false, minDigits);
}

// Applies a printf format to typed values without ever handing printf an
// argument of the wrong type: each conversion is rebuilt and fed the value
// converted to what it expects.
void ApplyFormat(std::string& out, const char* fmt, const LogArg* values, std::size_t count) {
    std::size_t next = 0;
    for (const char* p = fmt; *p;) {
        if (*p != '%') {
            const char* run = p;
            while (*p && *p != '%') ++p;
            out.append(run, p);
            continue;
        }
        const char* start = p++;
        if (*p == '%') {
            out += '%';
            ++p;
            continue;
        }
        // Flags, width and precision; none of them makes a plain conversion.
        const char* modifiers = p;
        while (*p && std::string_view("-+ #0").find(*p) != std::string_view::npos) ++p;
        while (*p >= '0' && *p <= '9') ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9') ++p;
        }
        const bool plain = p == modifiers;
        std::string directive(1, '%');
        directive.append(modifiers, p);
        while (*p == 'l' || *p == 'h') ++p;  // every number is 32 bits
        const char conv = *p;
        if (!conv) {
            out.append(start);
            break;
        }
        ++p;
        const LogArg* v = next < count ? &values[next] : nullptr;
        if (conv == 's') {
            ++next;
            std::string number;
            if (v && v->type == LogArgType::Number) number = std::to_string(v->number);
            const std::string& text = v && v->type == LogArgType::String ? v->text : number;
            if (plain) {
                out += text;
            } else {
                std::vector<char> buf(text.size() + 512);
                int n = std::snprintf(buf.data(), buf.size(), (directive + 's').c_str(), text.c_str());
                if (n > 0) out.append(buf.data(), std::min<std::size_t>(n, buf.size() - 1));
            }
            continue;
        }
        const std::int32_t number = v && v->type == LogArgType::Number ? v->number : 0;
        const auto bits = static_cast<std::uint32_t>(number);
        switch (conv) {
        case 'd':
        case 'i':
            ++next;
            if (plain) AppendSigned(out, number);
            else out += Format((directive + "l" + conv).c_str(), static_cast<long>(number));
            break;
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            ++next;
            if (plain) AppendUnsigned(out, bits, conv == 'u' ? 10 : conv == 'o' ? 8 : 16, conv == 'X');
            else out += Format((directive + "l" + conv).c_str(), static_cast<unsigned long>(bits));
            break;
        case 'c':
            ++next;
            out += static_cast<char>(number);
            break;
        default:  // not a conversion these messages use: shown as written
            out.append(start, p);
            break;
        }
    }
}

void AppendMessage(std::string& out, const LogKindInfo& info, const LogRecord& record, const char* format) {
    if (record.kind == LK_VOICE_EVENT) {
        LogArg text;
        text.type = LogArgType::String;
        text.text = ResultCodeText(record.args[0].number, record.args[1].number);
        ApplyFormat(out, format ? format : info.format, &text, 1);
    } else {
        ApplyFormat(out, format ? format : info.format, record.args.data(), record.args.size());
    }
}

}  // namespace

std::string ResultCodeText(std::int32_t code, std::int32_t value) {
    const char* name = ResultCodeName(code);
    std::string out;
    if (name) {
        out = name;
    } else {
        out = "Unknown return code ";
        AppendSigned(out, code);
    }
    out += ' ';
    AppendSigned(out, value);
    return out;
}

std::string LogMessageText(const LogRecord& record, const char* format) {
    const LogKindInfo* info = FindLogKind(record.kind);
    std::string out;
    if (info) AppendMessage(out, *info, record, format);
    return out;
}

void AppendLogLineText(std::string& out, const LogRecord& record, const char* format) {
    const LogKindInfo* info = FindLogKind(record.kind);
    if (!info) return;
    if (info->category == LC_ERRORS) out += "Error: ";
    if (info->timed) {
        const LogTime& t = record.time;
        AppendSigned(out, t.hour, 2);
        out += ':';
        AppendSigned(out, t.minute, 2);
        out += ':';
        AppendSigned(out, t.second, 2);
        out += "-> ";
    }
    if (record.channel != kTestChannel) {
        out += "ch ";
        AppendSigned(out, static_cast<std::int32_t>(static_cast<std::uint32_t>(record.channel) + 1));
        out += ' ';
    }
    AppendMessage(out, *info, record, format);
}

std::string LogLineText(const LogRecord& record, const char* format) {
    std::string line;
    AppendLogLineText(line, record, format);
    return line;
}

}  // namespace kvo
