// The Language control (see LangCtrl.h).
#include "LangCtrl.h"

#include <array>

#include "AppSettings.h"
#include "ChannelLog.h"
#include "GreetingPlayer.h"
#include "KvoResource.h"
#include "fw/ole/Text.h"
#include "kvo32.h"

namespace kvo {

namespace {
using fw::ole::Property;

const CCallFlowControl::Kind kLang{CLSID_Lang, DIID__DLang, DIID__DLangEvents, "Lang", 1, 1};

constexpr auto kLangDispatch = JoinDispatch(
    kCallFlowDispatch,
    std::array{
        Property<&CLangCtrl::GetEventMask, &CLangCtrl::SetEventMask>(1),
        Property<&CLangCtrl::GetDirectory, &CLangCtrl::SetDirectory>(2),
        Property<&CLangCtrl::GetLanguageId, &CLangCtrl::SetLanguageId>(3),
        Property<&CLangCtrl::GetTimeFormat, &CLangCtrl::SetTimeFormat>(4),
        Property<&CLangCtrl::GetDateOrder, &CLangCtrl::SetDateOrder>(5),
        Property<&CLangCtrl::GetFileName, &CLangCtrl::SetFileName>(6),
        Property<&CLangCtrl::GetPhraseData1, &CLangCtrl::SetPhraseData1>(7),
        Property<&CLangCtrl::GetPhraseData2, &CLangCtrl::SetPhraseData2>(8),
        Property<&CLangCtrl::GetPhraseIndex, &CLangCtrl::SetPhraseIndex>(9),
        Property<&CLangCtrl::GetPhraseName, &CLangCtrl::SetPhraseName>(10),
        Property<&CLangCtrl::GetAddType, &CLangCtrl::SetAddType>(11),
    });

// The event of each system-phrase kind (its dispatch id in the event
// interface), 0 for kinds without one.
DISPID EventIdOf(int kind) {
    switch (kind) {
    case kvoFileSize: return 3;
    case kvoFileDate: return 4;
    case kvoFileTime: return 5;
    case kvoDigits: return 6;
    case kvoMoney: return 7;
    case kvoFileDateTime: return 8;
    case kvoInitialGreeting: return 9;
    case kvoSayTime: return 10;
    case kvoSayDate: return 11;
    case kvoTimeNow: return 12;
    case kvoDateToday: return 13;
    case kvoSayNumber: return 14;
    case kvoSayNumberShort: return 15;
    default: return 0;
    }
}

bool HasSecondDatum(int kind) { return kind == kvoSayNumber || kind == kvoSayNumberShort; }

constexpr unsigned kFileAccessError = 75;
}  // namespace

CLangCtrl::CLangCtrl() : CCallFlowControl(kLang) {}

CLangCtrl::~CLangCtrl() = default;

std::span<const fw::ole::DispatchEntry> CLangCtrl::DispatchMap() const { return kLangDispatch; }

void CLangCtrl::OnClose() {
    // No channel may go on speaking by a record that is about to go; those
    // another Language control set keep theirs.
    LanguageSlots& slots = ChannelLanguages();
    for (int line = 0; line < kMaxLines; ++line)
        if (&slots.For(line) == &records_[size_t(line)]) slots.Set(line, nullptr);
}

void CLangCtrl::SetEventMask(long v) { eventMask_ = v; Changed(); }
void CLangCtrl::SetDirectory(const std::wstring& v) { directory_ = v; Changed(); }
void CLangCtrl::SetLanguageId(long v) { languageId_ = v; Changed(); }
void CLangCtrl::SetTimeFormat(long v) { timeFormat_ = v; Changed(); }
void CLangCtrl::SetDateOrder(long v) { dateOrder_ = v; Changed(); }

void CLangCtrl::ExchangeOwnItems(ItemExchange& ex) {
    ex.Long(L"EventMask", eventMask_, 0);
    ex.String(L"Directory", directory_, L"language1\\");
    ex.Long(L"LanguageId", languageId_, kvoEnglish);
    ex.Long(L"TimeFormat", timeFormat_, kvoTime12);
    ex.Long(L"DateOrder", dateOrder_, kDdMmYy);
}

bool CLangCtrl::Run(int line, short, short& exit, Vertex*& next) {
    if (EnterStep(line, exit, next)) return true;
    if (line < 0 || line >= kMaxLines) return false;
    // The settings as they are now, in this line's own copy.
    LanguageSettings& record = records_[size_t(line)];
    record.name = Name();
    record.dateOrder = int(dateOrder_);
    record.ruleFlags = RuleFlagsOf(int(languageId_));
    record.timeFormat = int(timeFormat_);
    record.directory = CurrentAppSettings().projectVoiceDir + fw::ole::Narrow(directory_);
    record.control = this;
    record.eventMask = std::uint32_t(eventMask_);
    ChannelLanguages().Set(line, &record);
    WriteLogS(line, LK_LANGUAGE_SET, record.name.c_str());
    exit = 0;
    return true;
}

bool CLangCtrl::InRunMode() const {
    bool run = false;
    auto* self = const_cast<CLangCtrl*>(this);
    return self->CallOnOwnThread([&] { run = AmbientUserMode(); }) == fw::ole::HandOver::Ran && run;
}

short CLangCtrl::FirePhraseEvent(int kind, const std::string& data1, const std::string& data2) {
    const DISPID id = EventIdOf(kind);
    const int line = LineBuildingOnThisThread();
    if (!id || line < 0) return -1;
    fw::ole::Variant useDefault(short(-1));
    std::vector<fw::ole::Variant> args{fw::ole::Variant(fw::ole::Widen(data1))};
    if (HasSecondDatum(kind)) args.push_back(fw::ole::Variant(fw::ole::Widen(data2)));
    args.push_back(useDefault);
    const size_t byRef = args.size() - 1;
    // Host code adds with the phrase's own data unless it sets others.
    struct EventScope {
        CLangCtrl& c;
        ~EventScope() { c.eventLine_ = -1; }
    } scope{*this};
    HandOver(line, [&] {
        eventLine_ = line;
        data1_ = fw::ole::Widen(data1);
        data2_ = fw::ole::Widen(data2);
        FireEvent(id, args, {byRef});
        eventLine_ = -1;
    });
    return short(args[byRef].Long());
}

int CLangCtrl::EventLine() const {
    if (eventLine_ < 0 || !CurrentPlaySequence(eventLine_))
        ThrowHostError(KVO_ERR_CALL_NOT_IN_CONTROL, IDS_ERR_CALL_NOT_IN_CONTROL);
    return eventLine_;
}

void CLangCtrl::SetPhraseName(const std::wstring& v) {
    PlaySequence& list = *CurrentPlaySequence(EventLine());
    phraseName_ = v;
    const std::optional<long> index = list.FindClip(fw::ole::Narrow(fileName_), fw::ole::Narrow(v));
    if (!index) {
        if (list.Error() == 0) fw::ole::ThrowError(kFileAccessError);
        ThrowHostError(KVO_ERR_PHRASE_NOT_FOUND, IDS_ERR_PHRASE_NOT_FOUND);
    }
    phraseIndex_ = short(*index);
}

void CLangCtrl::SetAddType(short kind) {
    PlaySequence& list = *CurrentPlaySequence(EventLine());
    if (kind == kvoCustom) ThrowHostError(KVO_ERR_CANNOT_USE_PHRASE_TYPE, IDS_ERR_CANNOT_USE_PHRASE_TYPE);
    addType_ = kind;
    const std::string file = fw::ole::Narrow(fileName_);
    bool added = false;
    switch (kind) {
    case kvoVAPPhraseIndex: added = list.AddClip(file, phraseIndex_); break;
    case kvoVAPPhrase: {
        const std::optional<long> index = list.FindClip(file, fw::ole::Narrow(phraseName_));
        added = index && list.AddClip(file, *index);
        break;
    }
    default:
        added = list.AddSystemPhrase(kind, fw::ole::Narrow(data1_), fw::ole::Narrow(data2_), false);
        break;
    }
    if (added) return;
    if (list.Error() == 0 && (kind == kvoVAPPhrase || kind == kvoVAPPhraseIndex)) fw::ole::ThrowError(kFileAccessError);
    ThrowHostError(KVO_ERR_ADDING_PHRASE, IDS_ERR_ADDING_PHRASE);
}

}  // namespace kvo
