// What the call-flow controls need of their form's Frame control, and the
// process-wide list of Frames (searched after the call-flow controls when a
// reference names a control). The Frame control implements FormFrame.
#pragma once
#include <windows.h>
#include <ocidl.h>
#include <optional>
#include <string>
#include <vector>

namespace kvo {

class ValueOwner;

class FormFrame {
public:
    virtual ~FormFrame() = default;
    // The Frame as its IUnknown, to tell it among a container's objects.
    virtual IUnknown* Identity() = 0;
    virtual std::string FrameName() const = 0;
    // False until the Frame's own saved form has been read: a control
    // loaded before it cannot consult the inventory.
    virtual bool InventoryLoaded() const = 0;
    // The page stored in the inventory for `control`, taken out of it.
    virtual std::optional<long> TakeInventoryPage(const std::string& control) = 0;
    // A control missing from the inventory is shown on `page`; the form
    // counts as changed.
    virtual void ShowOnPage(const std::string& control, long page) = 0;
    virtual void ForgetControl(const std::string& control) = 0;
    // Asks the user for a value (modal for the container); none when cancelled.
    virtual std::optional<std::string> AskValue(const std::string& prompt) = 0;
    // The Frame's own run-time values (found after the call-flow controls).
    virtual ValueOwner& FrameValues() = 0;
};

// Frames in the order they were created; the first applies its settings.
void AddFrame(FormFrame& frame);
void RemoveFrame(FormFrame& frame);
std::vector<FormFrame*> Frames();
FormFrame* FindFrameByName(const std::string& name);
// The Frame among the objects of the site's container; when the container
// cannot list its objects, the first Frame of the process; else none.
FormFrame* FrameOfSite(IOleClientSite* site);

}  // namespace kvo
