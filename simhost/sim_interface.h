// The simulated host's interface services: blocks, controls, modal messages
// and the file requester, plus what a person does at the panel.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace simhost {

using ControlCallback = std::int64_t (*)(void*, void*, void*, std::uint64_t);

// Size of the host's block and control records the plug-in gets as handles.
inline constexpr std::size_t kHandleRecordSize = 64;

struct SimBlock {
    // Host record the plug-in receives as the block handle; its 64-bit flag
    // word at offset 16 is the only field a module touches. The rest holds
    // the host's pattern, as `image` does.
    alignas(8) unsigned char record[kHandleRecordSize]{};
    unsigned char image[kHandleRecordSize]{};
    std::uint64_t initialFlags = 0;
    std::string title;
    std::string second;
    std::int32_t third = 0;
    ControlCallback callback = nullptr;
};

struct SimControl {
    // Host record the plug-in receives as the control handle; it owns none of
    // its bytes. `image` is what the host put there.
    alignas(8) unsigned char record[kHandleRecordSize]{};
    unsigned char image[kHandleRecordSize]{};
    std::string type;
    std::string label;
    ControlCallback callback = nullptr;
    std::vector<std::int64_t> intArguments;  // creation arguments that are numbers
    std::vector<std::string> textArguments;  // creation arguments that are texts
    std::vector<std::string> listEntries;    // a PopupList's names, read at creation
    std::int32_t value = 0;
    std::string text;
    // A hostile host: reading the text fills the whole buffer, no terminator.
    bool unterminatedText = false;
    bool enabled = true;
    std::int32_t x = 0, y = 0, width = 0, height = 0;
    bool positioned = false, sized = false;
    std::int32_t redraws = 0;
    SimBlock* block = nullptr;
};

struct ShownMessage {
    std::int32_t first = 0;
    std::int32_t lineCount = 0;
    std::string line1;
    std::string line2;
};

// One answer the simulated user gives to the next file requester.
struct RequesterAnswer {
    bool accept = false;
    std::string result;     // full path written to the result buffer
    std::string directory;  // written to the directory buffer
    // Fill the buffers to their very end with no terminator (hostile host).
    bool unterminated = false;
};

// What the plug-in passed to a file requester.
struct RequesterCall {
    std::int32_t resultSize = 0;
    std::string suggestedName;
    std::int32_t nameArgument = 0;
    std::string rememberedPath;
    std::string title;
    std::int32_t a = 0, b = 0;
    void* c = nullptr;
    bool buffersEmptyOnEntry = true;
};

class SimInterface {
public:
    SimInterface() = default;
    SimInterface(const SimInterface&) = delete;
    SimInterface& operator=(const SimInterface&) = delete;

    // Services (called by the plug-in through the bound names).
    void* BlockCreate(const char* title, const char* second, std::int32_t third, ControlCallback callback);
    void* ControlCreate(const char* type, const char* label, ControlCallback callback, va_list* arguments);
    std::int32_t ControlSet(std::int32_t code, void* control, va_list* arguments);
    std::int32_t ControlGet(std::int32_t code, void* control, va_list* arguments);
    void ControlRedraw(void* control, std::int32_t now);
    std::int32_t Confirm(std::int32_t first, std::int32_t lineCount, const char* line1, const char* line2);
    std::int32_t FileRequest(char* result, std::int32_t resultSize, char* fileName, std::int32_t nameArgument,
                             char* directory, char* remembered, const char* title, std::int32_t a,
                             std::int32_t b, void* c);

    // Inspection.
    const std::vector<std::unique_ptr<SimBlock>>& Blocks() const { return blocks_; }
    SimBlock* LastBlock() const { return blocks_.empty() ? nullptr : blocks_.back().get(); }
    // Controls of the last block, in creation order.
    std::vector<SimControl*> Controls() const;
    // The control of the last block with this label (or, for unlabelled and
    // repeated labels, the nth of that type); null when absent.
    SimControl* ControlByLabel(const std::string& label) const;
    SimControl* ControlOfType(const std::string& type, std::size_t nth = 0) const;
    bool IsControl(const void* handle) const;
    // The control whose record is `handle`, or null.
    SimControl* ControlOf(const void* handle) const;
    // Bytes of block and control records the plug-in changed (a block's flag
    // word excepted, as long as it keeps the host's bits); callbacks that
    // answered other than 0 are reported as they happen.
    void CheckRecords(std::vector<std::string>* findings) const;
    const std::vector<ShownMessage>& Messages() const { return messages_; }
    void ClearMessages() { messages_.clear(); }
    const std::vector<RequesterCall>& RequesterCalls() const { return requesterCalls_; }
    // Every text the status area (the first "AreaText") was given, in order.
    const std::vector<std::string>& StatusHistory() const { return statusHistory_; }
    void ClearStatusHistory() { statusHistory_.clear(); }
    // Called with every text the status area is given, as it is given (a
    // host's redraw); the command-line host shows progress from it.
    using StatusListener = std::function<void(const std::string& text)>;
    void SetStatusListener(StatusListener listener) { statusListener_ = std::move(listener); }

    // The user's answers to the coming file requesters, in order; a requester
    // with no answer queued is cancelled.
    void QueueRequesterAnswer(RequesterAnswer answer) { answers_.push_back(std::move(answer)); }
    // The host's initial flag word of new blocks (bits the module must keep).
    void SetInitialBlockFlags(std::uint64_t flags) { initialBlockFlags_ = flags; }

    // What a person does; each fires the control's callback with code 0.
    void TypeText(SimControl* control, const std::string& text);
    void TypeInt(SimControl* control, std::int32_t value);
    void SetToggle(SimControl* control, bool on);
    void ChooseEntry(SimControl* control, std::int32_t index);
    void Press(SimControl* control);
    // Fires a control's callback with any notification code.
    std::int64_t Notify(SimControl* control, std::uint64_t code);
    // Block notifications: 0x800000 shown, 0x400000 hidden; sent only when the
    // block's flag word asks for them.
    void NotifyBlock(std::uint64_t code);
    void ShowPanel();
    void HidePanel();

private:
    SimControl* Checked(void* handle, const char* service);

    std::vector<std::unique_ptr<SimBlock>> blocks_;
    std::vector<std::unique_ptr<SimControl>> controls_;
    std::vector<ShownMessage> messages_;
    std::vector<RequesterCall> requesterCalls_;
    std::deque<RequesterAnswer> answers_;
    std::vector<std::string> statusHistory_;
    StatusListener statusListener_;
    std::uint64_t initialBlockFlags_ = 0x5;
};

}  // namespace simhost
