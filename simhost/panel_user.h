// A person at the simulated host's panel: selects items, shows and hides the
// panel, types into fields, flips toggles, chooses list entries, presses
// buttons, answers file requesters, and reads back what the panel shows.
//
// Controls are named by their labels ("Begin Frame", "Export Current Motion");
// the three unlabelled ones by the names below. Naming a control the panel
// does not have is reported to the host's validator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim_host.h"

namespace simhost {

inline constexpr char kPathText[] = "(path text)";             // the String beside "Path"
inline constexpr char kBatchPathText[] = "(batch path text)";  // the String beside "Batch Path"
inline constexpr char kStatusArea[] = "(status area)";         // the AreaText

inline constexpr std::uint64_t kItemCurrentMessage = 0x100000;
inline constexpr std::uint64_t kItemRemovedMessage = 4;
inline constexpr std::int32_t kItemMessageCategory = 11;

class PanelUser {
public:
    explicit PanelUser(SimHost& host) : host_(host) {}

    // The scene. Selecting makes the item current and sends item message
    // 0x100000 for it, as the host does; null selects nothing.
    void SelectItem(void* item);
    // Item message 0x100000 for an item (the host sends it when one is added).
    void ItemAdded(void* item);
    // Item message 4, then the item leaves the hierarchy.
    void ItemRemoved(void* item);

    // Block notifications 0x800000 and 0x400000.
    void ShowPanel() { host_.Ui().ShowPanel(); }
    void HidePanel() { host_.Ui().HidePanel(); }

    // Each sets the host-side value, then fires the control's callback with code 0.
    void Type(const std::string& label, std::int32_t value);
    void Type(const std::string& label, const std::string& text);
    void TypePath(const std::string& text) { Type(kPathText, text); }
    void TypeBatchPath(const std::string& text) { Type(kBatchPathText, text); }
    void Toggle(const std::string& label, bool on);
    void Choose(const std::string& label, std::int32_t index);
    void Press(const std::string& label);
    // Any notification code, as the host sends besides the user's changes.
    std::int64_t Notify(const std::string& label, std::uint64_t code);

    // The answer to the next file requester.
    void AnswerRequester(bool accept, const std::string& directory, const std::string& result);
    void CancelRequester() { AnswerRequester(false, "", ""); }

    // What the panel shows.
    std::int32_t Value(const std::string& label) const;
    std::string Text(const std::string& label) const;
    bool Enabled(const std::string& label) const;
    // The entry name a PopupList shows, "" when its value is out of range.
    std::string ShownEntry(const std::string& label) const;
    std::vector<std::string> Entries(const std::string& label) const;
    std::string PathText() const { return Text(kPathText); }
    std::string BatchPathText() const { return Text(kBatchPathText); }
    std::string StatusText() const { return Text(kStatusArea); }
    const std::vector<ShownMessage>& Messages() const { return host_.Ui().Messages(); }

    // The control, or null (reported) when the panel has none of that name.
    SimControl* Find(const std::string& label) const;

private:
    SimHost& host_;
};

}  // namespace simhost
