#include "VoiceWave.h"
#include "CallFlowFixture.h"

#include <algorithm>

#include "fw/Handle.h"
#include "fw/ole/Text.h"

namespace kvo_flow_test {

using container::Variant;

std::string FormText(const std::vector<FormControl>& controls) {
    std::string text;
    for (const FormControl& c : controls) {
        text += "Begin " + c.progId + " " + c.name + "\n BlockId = " + std::to_string(c.blockId) + "\n";
        for (const std::string& item : c.items) text += " " + item + "\n";
        if (c.numNodes >= 0) text += " NumNodes = " + std::to_string(c.numNodes) + "\n";
        for (const auto& [node, dest] : c.nodes) {
            const std::string prefix = " Dest" + std::to_string(node);
            text += prefix + "BlockID = " + std::to_string(dest) + "\n" + prefix + ".Conn = True\n";
        }
        text += "End\n";
    }
    return text;
}

std::string Quoted(const std::string& value) {
    std::string q = "\"";
    for (char c : value) {
        if (c == '\\' || c == '"') q += '\\';
        q += c;
    }
    return q + "\"";
}

void CallFlowTest::SetUp() {
    ContainerTest::SetUp();
    kvo_test::SetCallSettings(ini_, dir_.Path());
    // The system prompt file: clip i holds kKavoroBytes + i bytes; clip 0 is
    // the one the default invalid greeting names.
    dir_.Write("kavoro.vap", kvo_test::PromptFileBytes({"that was not a valid entry"}, kvo_test::ClipLengths(kKavoroBytes, 160)));
    host_->OnEvent([this](container::EventRecord& e) {
        if (onEvent_) onEvent_(e);
    });
}

void CallFlowTest::TearDown() {
    host_->Clear();  // the form goes first: its lines end with it
    ContainerTest::TearDown();
    SetEnvironmentVariableA("KVORHT32_SCENARIO", nullptr);
    SetEnvironmentVariableA("KVORHT32_JOURNAL", nullptr);
}

void CallFlowTest::Scenario(const std::string& text) {
    dir_.Write("card.scn", text);
    DeleteFileA(dir_.File("card.log").c_str());
    SetEnvironmentVariableA("KVORHT32_SCENARIO", dir_.File("card.scn").c_str());
    SetEnvironmentVariableA("KVORHT32_JOURNAL", dir_.File("card.log").c_str());
}

void CallFlowTest::LoadFlow(const std::vector<FormControl>& controls) {
    std::vector<FormControl> form{
        {"Zentrovo.FrameCtrl.1", "Frame1", 9000,
         {"LogDir = " + Quoted(dir_.Path()), "VoiceDir = " + Quoted(dir_.Path()), "NumFields = 1", "Field0 = Ext"}, {}},
        {"Zentrovo.LineGroupCtrl.1", "LineGroup1", 1,
         {"LinesInGroup = 1", "Mode = 2", "DelayTime = 0", "HelpDigit = 1024"}, {}},
    };
    // The LineGroup's "Ring" exit leads to the first control given.
    if (!controls.empty()) form[1].nodes[1] = controls.front().blockId;
    form.insert(form.end(), controls.begin(), controls.end());
    ASSERT_EQ(LoadText(FormText(form)), S_OK) << FormText(form);
}

container::CallResult CallFlowTest::Start() { return host_->Find(L"Frame1")->Call(L"StartSystem", {Variant(short(0))}); }

void CallFlowTest::StopAndWait() {
    bool stopped = false;
    host_->PumpUntil(
        [&] { return stopped = host_->Find(L"Frame1")->Call(L"StopSystem", {Variant(short(0))}).value.Long() != 0; },
        20000);
    ASSERT_TRUE(stopped) << "the stop never finished\n" << Text(Journal());
}

size_t CallFlowTest::Count(const wchar_t* control, const wchar_t* event) const {
    return size_t(std::count_if(host_->Events().begin(), host_->Events().end(),
                                [&](const auto& e) { return e.control == control && e.event == event; }));
}

bool CallFlowTest::WaitFor(const wchar_t* control, const wchar_t* event, size_t count, DWORD ms) {
    return host_->PumpUntil([&] { return Count(control, event) >= count; }, ms);
}

std::vector<long> CallFlowTest::ExitNodes(const wchar_t* control) const {
    std::vector<long> nodes;
    for (const auto& e : host_->Events())
        if (e.control == control && e.event == L"Exit") nodes.push_back(e.args[1].Long());
    return nodes;
}

container::CallResult CallFlowTest::Member(const wchar_t* control, const wchar_t* member, WORD flags,
                                           std::vector<Variant> args) {
    return kvo_test::Dispatch(kvo_test::AsDispatch(host_->Find(control)).Get(), member, flags, std::move(args));
}

bool CallFlowTest::WaitForLineStatus(const std::wstring& status) {
    return host_->PumpUntil(
        [&] {
            const auto r = Member(L"LineGroup1", L"LineStatus", DISPATCH_PROPERTYGET, {Variant(short(1))});
            return r.value.Str().rfind(status, 0) == 0;
        },
        20000);
}

namespace {
// The lines of a text file, without their ends.
std::vector<std::string> FileLines(const std::string& path) {
    const std::string text = fw::testing::ReadText(path);
    std::vector<std::string> lines;
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(at, end - at));
        if (!lines.back().empty() && lines.back().back() == '\r') lines.back().pop_back();
        at = end + 1;
    }
    return lines;
}
}  // namespace

std::vector<std::string> CallFlowTest::Journal() const { return FileLines(dir_.File("card.log")); }

std::vector<std::string> CallFlowTest::LogLines() {
    WIN32_FIND_DATAA found;
    fw::FindHandle find(FindFirstFileA((dir_.Path() + "*.vlg").c_str(), &found));
    if (!find) return {"<no log file>"};
    fw::Module ocx(LoadLibraryA(kvo_test::BinPath("kvo32.ocx").c_str()));
    auto toText = fw::ProcAddress<short(__stdcall*)(long, const char*, const char*)>(ocx.Get(), "log_to_text");
    if (!toText) return {"<no export>"};
    const std::string text = dir_.File("log.txt");
    if (toText(0, (dir_.Path() + found.cFileName).c_str(), text.c_str()) != 0) return {"<log_to_text failed>"};
    return FileLines(text);
}

std::string CallFlowTest::MissingInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& wanted) {
    auto at = lines.begin();
    for (const std::string& w : wanted) {
        at = std::find_if(at, lines.end(), [&](const std::string& l) { return l.find(w) != std::string::npos; });
        if (at == lines.end()) return w;
        ++at;
    }
    return {};
}

std::string CallFlowTest::Text(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += l + "\n";
    return s;
}

std::string CallFlowTest::Diagnosis() {
    std::string s = "events:\n";
    for (const auto& e : host_->Events()) {
        s += "  " + container::ToUtf8(e.control + L"." + e.event) + "(";
        for (const Variant& a : e.args) s += container::ToUtf8(a.Str()) + ",";
        s += ")\n";
    }
    return s + "journal:\n" + Text(Journal());
}

std::string CallFlowTest::Wave(const std::string& name, size_t bytes) {
    return dir_.Write(name, kvo_test::VoiceWave(bytes));
}

}  // namespace kvo_flow_test
