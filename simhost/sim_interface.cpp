// Interface services of the simulated host.
#include "sim_interface.h"

#include <algorithm>
#include <cstring>

#include "guarded_record.h"
#include "panel/status_text.h"
#include "sim_host.h"

namespace simhost {

namespace {

constexpr std::int32_t kSetValue = 10;
constexpr std::int32_t kDisable = 40;
constexpr std::int32_t kEnable = 41;
constexpr std::int32_t kPosition = 53;

// A control in the host's call journal: its label, or its type when it has none.
std::string Named(const SimControl& control) { return control.label.empty() ? control.type : control.label; }
constexpr std::int32_t kSize = 57;
constexpr std::size_t kBlockFlagsOffset = 16;
constexpr std::size_t kBlockFlagsSize = 8;
constexpr std::uint64_t kPanelShown = 0x800000;
constexpr std::uint64_t kPanelHidden = 0x400000;

void Report(const std::string& what) { SimHost::Current().Report(what); }

bool IsIntType(const std::string& type) {
    return type == "Int" || type == "BooleanButton" || type == "PopupList" || type == "Button" ||
           type == "SeparatorLine";
}

bool IsTextType(const std::string& type) { return type == "String" || type == "AreaText"; }

std::string ReadBounded(const char* text, std::int32_t count) {
    if (text == nullptr || count <= 0) return {};
    const void* end = std::memchr(text, '\0', static_cast<std::size_t>(count));
    const std::size_t length = end == nullptr ? static_cast<std::size_t>(count)
                                              : static_cast<std::size_t>(static_cast<const char*>(end) - text);
    return std::string(text, length);
}

std::string TextOrEmpty(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

void FillRecord(unsigned char* record, unsigned char* image) {
    std::memset(record, kRecordPattern, kHandleRecordSize);
    std::memset(image, kRecordPattern, kHandleRecordSize);
}

// A callback's answer other than 0 is a fault the host would act on.
void CheckAnswer(std::int64_t answer, const std::string& whose, std::uint64_t code) {
    if (answer != 0) {
        Report(whose + " callback answered " + std::to_string(answer) + " to code " + std::to_string(code));
    }
}

}  // namespace

void* SimInterface::BlockCreate(const char* title, const char* second, std::int32_t third,
                                ControlCallback callback) {
    auto block = std::make_unique<SimBlock>();
    block->title = TextOrEmpty(title);
    block->second = TextOrEmpty(second);
    block->third = third;
    block->callback = callback;
    FillRecord(block->record, block->image);
    block->initialFlags = initialBlockFlags_;
    std::memcpy(block->record + kBlockFlagsOffset, &initialBlockFlags_, sizeof initialBlockFlags_);
    std::memcpy(block->image + kBlockFlagsOffset, &initialBlockFlags_, sizeof initialBlockFlags_);
    blocks_.push_back(std::move(block));
    return blocks_.back()->record;
}

void* SimInterface::ControlCreate(const char* type, const char* label, ControlCallback callback,
                                  va_list* arguments) {
    auto control = std::make_unique<SimControl>();
    control->type = TextOrEmpty(type);
    control->label = TextOrEmpty(label);
    control->callback = callback;
    FillRecord(control->record, control->image);
    control->block = LastBlock();
    if (control->block == nullptr) Report("fxControlCreate before any fxBlockCreate");
    const std::string& t = control->type;
    if (t == "AreaText") {
        for (int i = 0; i < 3; ++i) control->intArguments.push_back(va_arg(*arguments, std::int32_t));
        control->textArguments.push_back(TextOrEmpty(va_arg(*arguments, const char*)));
    } else if (t == "String") {
        control->intArguments.push_back(va_arg(*arguments, std::int32_t));
        for (int i = 0; i < 2; ++i) {
            if (va_arg(*arguments, void*) != nullptr) Report("String control created with a non-null argument");
        }
    } else if (t == "Button" || t == "Int" || t == "BooleanButton") {
        control->intArguments.push_back(va_arg(*arguments, std::int32_t));
    } else if (t == "PopupList") {
        control->intArguments.push_back(va_arg(*arguments, std::int32_t));
        auto** names = va_arg(*arguments, const char**);
        if (names == nullptr) Report("PopupList created without a name list");
        for (std::size_t i = 0; names != nullptr && names[i] != nullptr && i < 64; ++i) {
            control->listEntries.emplace_back(names[i]);
        }
    } else if (t == "SeparatorLine") {
        control->intArguments.push_back(va_arg(*arguments, std::int32_t));
        control->intArguments.push_back(va_arg(*arguments, std::int32_t));
        if (va_arg(*arguments, void*) != nullptr) Report("SeparatorLine created with a non-null argument");
        control->intArguments.push_back(va_arg(*arguments, std::int32_t));
    } else {
        Report("fxControlCreate of unknown type \"" + t + "\"");
    }
    controls_.push_back(std::move(control));
    return controls_.back()->record;
}

SimControl* SimInterface::Checked(void* handle, const char* service) {
    if (handle == nullptr) {
        Report(std::string(service) + " called with a null control handle");
        return nullptr;
    }
    SimControl* control = ControlOf(handle);
    if (control == nullptr) Report(std::string(service) + " called with an unknown control handle");
    return control;
}

bool SimInterface::IsControl(const void* handle) const { return ControlOf(handle) != nullptr; }

SimControl* SimInterface::ControlOf(const void* handle) const {
    for (const auto& control : controls_) {
        if (control->record == handle) return control.get();
    }
    return nullptr;
}

void SimInterface::CheckRecords(std::vector<std::string>* findings) const {
    for (const auto& block : blocks_) {
        const std::string name = "record of block \"" + block->title + "\"";
        CompareRecord(block->record, block->image, kBlockFlagsOffset, name, findings);
        CompareRecord(block->record + kBlockFlagsOffset + kBlockFlagsSize,
                      block->image + kBlockFlagsOffset + kBlockFlagsSize,
                      kHandleRecordSize - kBlockFlagsOffset - kBlockFlagsSize, name, findings);
        std::uint64_t flags = 0;
        std::memcpy(&flags, block->record + kBlockFlagsOffset, sizeof flags);
        if ((flags & block->initialFlags) != block->initialFlags) {
            findings->push_back("the flag word of block \"" + block->title + "\" lost bits the host had set");
        }
    }
    for (const auto& control : controls_) {
        CompareRecord(control->record, control->image, kHandleRecordSize,
                      "record of control \"" + control->label + "\" (" + control->type + ")", findings);
    }
}

std::int32_t SimInterface::ControlSet(std::int32_t code, void* handle, va_list* arguments) {
    SimControl* control = Checked(handle, "fxControlSet");
    if (control == nullptr) return 0;
    switch (code) {
        case kSetValue:
            if (IsTextType(control->type)) {
                const char* text = va_arg(*arguments, const char*);
                const std::int32_t count = va_arg(*arguments, std::int32_t);
                control->text = ReadBounded(text, count);
                const bool status = control == ControlOfType("AreaText");
                SimHost::Current().Journal(status
                                               ? "status " + control->text.substr(0, control->text.find('\n'))
                                               : "set " + Named(*control));
                if (status) {
                    statusHistory_.push_back(control->text);
                    const corvantide::StatusReading reading = corvantide::ReadStatusText(control->text);
                    SimHost::Current().Escape().OnStatusText(reading.kind ==
                                                                 corvantide::StatusKind::kProgress &&
                                                             reading.mode == corvantide::kProgressComputing);
                    if (statusListener_) statusListener_(control->text);
                }
            } else if (IsIntType(control->type)) {
                control->value = va_arg(*arguments, std::int32_t);
                SimHost::Current().Journal("set " + Named(*control));
            }
            return 1;
        case kDisable:
        case kEnable:
            if (va_arg(*arguments, std::int32_t) != 0) Report("enable/disable with a non-zero argument");
            control->enabled = code == kEnable;
            return 1;
        case kPosition:
            control->x = va_arg(*arguments, std::int32_t);
            control->y = va_arg(*arguments, std::int32_t);
            control->positioned = true;
            return 1;
        case kSize:
            control->width = va_arg(*arguments, std::int32_t);
            control->height = va_arg(*arguments, std::int32_t);
            control->sized = true;
            return 1;
        default:
            Report("fxControlSet with unknown code " + std::to_string(code));
            return 0;
    }
}

std::int32_t SimInterface::ControlGet(std::int32_t code, void* handle, va_list* arguments) {
    SimControl* control = Checked(handle, "fxControlGet");
    if (control == nullptr) return 0;
    if (code != kSetValue) {
        Report("fxControlGet with unknown code " + std::to_string(code));
        return 0;
    }
    if (control->type == "String") {
        char* buffer = va_arg(*arguments, char*);
        const std::int32_t size = va_arg(*arguments, std::int32_t);
        if (buffer == nullptr || size <= 0) {
            Report("fxControlGet of a String without a buffer");
            return 0;
        }
        if (control->unterminatedText) {
            std::memset(buffer, 'x', static_cast<std::size_t>(size));
            return 1;
        }
        const std::size_t length = std::min(control->text.size(), static_cast<std::size_t>(size) - 1);
        std::memcpy(buffer, control->text.data(), length);
        buffer[length] = '\0';
        return 1;
    }
    auto* destination = va_arg(*arguments, std::int32_t*);
    if (destination == nullptr) {
        Report("fxControlGet without a destination");
        return 0;
    }
    *destination = control->value;
    return 1;
}

void SimInterface::ControlRedraw(void* handle, std::int32_t now) {
    SimControl* control = Checked(handle, "fxControlRedraw");
    if (control == nullptr) return;
    if (now != 1) Report("fxControlRedraw with a second argument other than 1");
    ++control->redraws;
}

std::int32_t SimInterface::Confirm(std::int32_t first, std::int32_t lineCount, const char* line1,
                                   const char* line2) {
    ShownMessage message;
    message.first = first;
    message.lineCount = lineCount;
    message.line1 = TextOrEmpty(line1);
    if (lineCount >= 2) message.line2 = TextOrEmpty(line2);
    if (lineCount < 1 || lineCount > 2)
        Report("ConfirmMessage with a line count of " + std::to_string(lineCount));
    messages_.push_back(std::move(message));
    return 1;
}

std::int32_t SimInterface::FileRequest(char* result, std::int32_t resultSize, char* fileName,
                                       std::int32_t nameArgument, char* directory, char* remembered,
                                       const char* title, std::int32_t a, std::int32_t b, void* c) {
    constexpr std::size_t kNameCapacity = 1024;
    constexpr std::size_t kDirectoryCapacity = 1024;
    RequesterCall call;
    call.resultSize = resultSize;
    call.suggestedName = ReadBounded(fileName, static_cast<std::int32_t>(kNameCapacity));
    call.nameArgument = nameArgument;
    call.rememberedPath = ReadBounded(remembered, static_cast<std::int32_t>(kNameCapacity));
    call.title = TextOrEmpty(title);
    call.a = a;
    call.b = b;
    call.c = c;
    call.buffersEmptyOnEntry =
        result != nullptr && directory != nullptr && result[0] == '\0' && directory[0] == '\0';
    requesterCalls_.push_back(call);
    if (result == nullptr || directory == nullptr || resultSize <= 0) {
        Report("FX_FileRequest without its buffers");
        return 0;
    }
    if (answers_.empty()) return 0;
    RequesterAnswer answer = answers_.front();
    answers_.pop_front();
    if (!answer.accept) return 0;
    const auto fill = [&](char* buffer, std::size_t capacity, const std::string& text) {
        if (answer.unterminated) {
            for (std::size_t i = 0; i < capacity; ++i) buffer[i] = text.empty() ? 'x' : text[i % text.size()];
            return;
        }
        const std::size_t length = std::min(text.size(), capacity - 1);
        std::memcpy(buffer, text.data(), length);
        buffer[length] = '\0';
    };
    fill(result, static_cast<std::size_t>(resultSize), answer.result);
    fill(directory, kDirectoryCapacity, answer.directory);
    return 1;
}

std::vector<SimControl*> SimInterface::Controls() const {
    std::vector<SimControl*> found;
    SimBlock* block = LastBlock();
    for (const auto& control : controls_) {
        if (control->block == block) found.push_back(control.get());
    }
    return found;
}

SimControl* SimInterface::ControlByLabel(const std::string& label) const {
    for (SimControl* control : Controls()) {
        if (control->label == label) return control;
    }
    return nullptr;
}

SimControl* SimInterface::ControlOfType(const std::string& type, std::size_t nth) const {
    for (SimControl* control : Controls()) {
        if (control->type == type && nth-- == 0) return control;
    }
    return nullptr;
}

std::int64_t SimInterface::Notify(SimControl* control, std::uint64_t code) {
    if (control == nullptr || control->callback == nullptr) return 0;
    const std::int64_t answer = control->callback(control->block != nullptr ? control->block->record : nullptr,
                                                  control->record, nullptr, code);
    CheckAnswer(answer, "control \"" + control->label + "\" (" + control->type + ")", code);
    return answer;
}

void SimInterface::TypeText(SimControl* control, const std::string& text) {
    if (control == nullptr) return;
    control->text = text;
    Notify(control, 0);
}

void SimInterface::TypeInt(SimControl* control, std::int32_t value) {
    if (control == nullptr) return;
    control->value = value;
    Notify(control, 0);
}

void SimInterface::SetToggle(SimControl* control, bool on) { TypeInt(control, on ? 1 : 0); }

void SimInterface::ChooseEntry(SimControl* control, std::int32_t index) { TypeInt(control, index); }

void SimInterface::Press(SimControl* control) { Notify(control, 0); }

// The host sends a block only the notifications whose bits its flag word has.
void SimInterface::NotifyBlock(std::uint64_t code) {
    SimBlock* block = LastBlock();
    if (block == nullptr || block->callback == nullptr) return;
    std::uint64_t flags = 0;
    std::memcpy(&flags, block->record + kBlockFlagsOffset, sizeof flags);
    if ((flags & code) == 0) return;
    CheckAnswer(block->callback(block->record, nullptr, nullptr, code), "block \"" + block->title + "\"", code);
}

void SimInterface::ShowPanel() { NotifyBlock(kPanelShown); }

void SimInterface::HidePanel() { NotifyBlock(kPanelHidden); }

}  // namespace simhost
