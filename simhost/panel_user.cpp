// A person at the simulated panel.
#include "panel_user.h"

namespace simhost {

void PanelUser::SelectItem(void* item) {
    host_.SetCurrentItem(item);
    host_.SendMessage(kItemMessageCategory, item, kItemCurrentMessage);
}

void PanelUser::ItemAdded(void* item) { host_.SendMessage(kItemMessageCategory, item, kItemCurrentMessage); }

void PanelUser::ItemRemoved(void* item) {
    host_.SendMessage(kItemMessageCategory, item, kItemRemovedMessage);
    host_.Scene().RemoveItem(item);
    if (host_.CurrentItem() == item) host_.SetCurrentItem(nullptr);
}

SimControl* PanelUser::Find(const std::string& label) const {
    SimInterface& ui = host_.Ui();
    SimControl* control = nullptr;
    if (label == kPathText) {
        control = ui.ControlOfType("String", 0);
    } else if (label == kBatchPathText) {
        control = ui.ControlOfType("String", 1);
    } else if (label == kStatusArea) {
        control = ui.ControlOfType("AreaText", 0);
    } else {
        control = ui.ControlByLabel(label);
    }
    if (control == nullptr) host_.Report("the panel has no control \"" + label + "\"");
    return control;
}

void PanelUser::Type(const std::string& label, std::int32_t value) { host_.Ui().TypeInt(Find(label), value); }

void PanelUser::Type(const std::string& label, const std::string& text) {
    host_.Ui().TypeText(Find(label), text);
}

void PanelUser::Toggle(const std::string& label, bool on) { host_.Ui().SetToggle(Find(label), on); }

void PanelUser::Choose(const std::string& label, std::int32_t index) {
    host_.Ui().ChooseEntry(Find(label), index);
}

void PanelUser::Press(const std::string& label) { host_.Ui().Press(Find(label)); }

std::int64_t PanelUser::Notify(const std::string& label, std::uint64_t code) {
    return host_.Ui().Notify(Find(label), code);
}

void PanelUser::AnswerRequester(bool accept, const std::string& directory, const std::string& result) {
    RequesterAnswer answer;
    answer.accept = accept;
    answer.directory = directory;
    answer.result = result;
    host_.Ui().QueueRequesterAnswer(answer);
}

std::int32_t PanelUser::Value(const std::string& label) const {
    const SimControl* control = Find(label);
    return control != nullptr ? control->value : 0;
}

std::string PanelUser::Text(const std::string& label) const {
    const SimControl* control = Find(label);
    return control != nullptr ? control->text : std::string();
}

bool PanelUser::Enabled(const std::string& label) const {
    const SimControl* control = Find(label);
    return control != nullptr && control->enabled;
}

std::string PanelUser::ShownEntry(const std::string& label) const {
    const SimControl* control = Find(label);
    if (control == nullptr || control->value < 0) return {};
    const auto index = static_cast<std::size_t>(control->value);
    return index < control->listEntries.size() ? control->listEntries[index] : std::string();
}

std::vector<std::string> PanelUser::Entries(const std::string& label) const {
    const SimControl* control = Find(label);
    return control != nullptr ? control->listEntries : std::vector<std::string>();
}

}  // namespace simhost
