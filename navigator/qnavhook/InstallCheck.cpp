// The installation check: is a supported IDE version registered?
#include "IdeRegistry.h"
#include "ProcessState.h"
#include "resource.h"
#include <array>

namespace qnav {

namespace {
constexpr UINT kCheckBoxStyle = MB_ICONSTOP | MB_TASKMODAL;

bool VersionIsOneOf(const std::string& version, std::initializer_list<const char*> accepted) {
    for (const char* a : accepted)
        if (version.compare(0, 3, a) == 0) return true;
    return false;
}
}  // namespace

LRESULT CheckIdeInstallation(HWND owner) {
    std::string version;
    const bool have4 = ReadIdeRegistryText(IdeKind::DevStudio4, {"General"}, "Version", 64, version);
    if (have4 && !VersionIsOneOf(version, {"4.0"})) {
        ShowStringBox(owner, IDS_UNSUPPORTED, kCheckBoxStyle, version.c_str());
        return 0;
    }
    const bool have2 = ReadIdeRegistryText(IdeKind::VisualCpp2, {"General"}, "Version", 64, version);
    if (have2 && !VersionIsOneOf(version, {"2.2", "2.1", "2.0"})) {
        ShowStringBox(owner, IDS_UNSUPPORTED, kCheckBoxStyle, version.c_str());
        return 0;
    }
    if (have4 || have2) return 1;
    ShowStringBox(owner, IDS_NOREGISTRY, kCheckBoxStyle);
    return 0;
}

}  // namespace qnav
