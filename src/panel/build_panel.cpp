// Panel construction: the "Corvantide" block and its 18 controls.
#include "panel/build_panel.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "batch/batch_handlers.h"
#include "entry/plugin_state.h"
#include "host/core_services.h"
#include "host/host_binding.h"
#include "host/interface_services.h"
#include "host/record_access.h"
#include "panel/control_handlers.h"
#include "panel/panel_refresh.h"
#include "panel/status_area.h"
#include "settings/export_settings.h"

namespace corvantide {

namespace {

constexpr char kBlockTitle[] = "Corvantide";
constexpr char kBlockSecondText[] = " ";
constexpr char kMotionFormatName[] = "Lightwave 6.x";
// The block's 64-bit flag word; these bits ask the host for the shown and
// hidden notifications.
constexpr std::size_t kBlockFlagsOffset = 16;
constexpr std::uint64_t kBlockNotificationBits = kPanelHiddenNotice | kPanelShownNotice;

// Creation arguments the host expects per control type.
constexpr std::int32_t kAreaTextArguments[] = {100, 50, 1};
constexpr char kAreaTextInitial[] = "Info";
constexpr std::int32_t kStringWidthArgument = 70;
constexpr std::int32_t kPopupListWidthArgument = 100;
constexpr std::int32_t kSeparatorArguments[] = {100, 3, 2};

struct ControlRow {
    void* PanelControlTable::*entry;
    const char* type;
    const char* label;
    ControlCallback callback;
    std::int32_t width, height;
    std::int32_t x, y;
};

// The status area only shows text: its events need nothing.
std::int64_t OnStatusAreaEvent(void*, void*, void*, std::uint64_t) noexcept { return 0; }

// Creation order; sizes are width x height and positions x, y in host layout units.
constexpr ControlRow kControls[] = {
    {&PanelControlTable::statusArea, "AreaText", "AreaText", OnStatusAreaEvent, 245, 26, 5, 4},
    {&PanelControlTable::pathField, "String", "", OnPathStringChanged, 168, 17, 82, 34},
    {&PanelControlTable::pathButton, "Button", "Path", OnPathButton, 73, 17, 6, 33},
    {&PanelControlTable::beginFrameField, "Int", "Begin Frame", OnBeginFrameChanged, 46, 17, 81, 54},
    {&PanelControlTable::endFrameField, "Int", "End Frame", OnEndFrameChanged, 46, 17, 204, 54},
    {&PanelControlTable::offsetField, "Int", "Offset", OnOffsetChanged, 46, 17, 81, 74},
    {&PanelControlTable::motionFormatList, "PopupList", "Motion Format", OnMotionFormatChanged, 162, 17, 88,
     120},
    {&PanelControlTable::exportCurrentButton, "Button", "Export Current Motion", OnExportCurrentMotion, 245, 34,
     5, 168},
    {&PanelControlTable::disableOutputToggle, "BooleanButton", "Disable All Output Operations",
     OnDisableOutputChanged, 245, 17, 5, 145},
    {&PanelControlTable::batchPathField, "String", "", OnBatchPathChanged, 161, 17, 349, 88},
    {&PanelControlTable::batchPathButton, "Button", "Batch Path", OnBatchPathButton, 82, 17, 266, 88},
    {&PanelControlTable::useBatchDirectoryToggle, "BooleanButton", "Use Batch Directory",
     OnUseBatchDirectoryChanged, 121, 17, 265, 118},
    {&PanelControlTable::useCurrentDataToggle, "BooleanButton", "Use Current Data", OnUseCurrentDataChanged,
     121, 17, 265, 138},
    {&PanelControlTable::setupBatchButton, "Button", "Setup Batch", OnSetupBatch, 121, 17, 389, 118},
    {&PanelControlTable::exportBatchButton, "Button", "Export Batch Motions", OnExportBatchMotions, 245, 34,
     265, 168},
    {&PanelControlTable::separator, "SeparatorLine", "SeparatorLine", OnSeparatorEvent, 254, 17, 258, 74},
    {&PanelControlTable::freezeMotionToggle, "BooleanButton", "Freeze Motion", OnFreezeMotionEvent, 113, 17,
     137, 74},
    {&PanelControlTable::coordinatesList, "PopupList", "Coordinates", OnCoordinatesEvent, 162, 17, 88, 100},
};
static_assert(std::size(kControls) == 18);

void* CreateControlOf(const ControlRow& row) {
    const std::string_view type = row.type;
    if (type == "AreaText") {
        return CreateAreaText(row.label, row.callback, kAreaTextArguments[0], kAreaTextArguments[1],
                              kAreaTextArguments[2], kAreaTextInitial);
    }
    if (type == "String") return CreateString(row.label, row.callback, kStringWidthArgument);
    if (type == "PopupList") {
        const char** names =
            row.entry == &PanelControlTable::motionFormatList ? MotionFormatNames : CoordinateNames;
        return CreatePopupList(row.label, row.callback, kPopupListWidthArgument, names);
    }
    if (type == "SeparatorLine") {
        return CreateSeparatorLine(row.label, row.callback, kSeparatorArguments[0], kSeparatorArguments[1],
                                   kSeparatorArguments[2]);
    }
    return CreateSimpleControl(row.type, row.label, row.callback);
}

// Keeps the host's other bits. Never writes through a missing block.
void AskForPanelNotifications(void* block) {
    if (block == nullptr) return;
    const auto flags = ReadField<std::uint64_t>(block, kBlockFlagsOffset);
    WriteField(block, kBlockFlagsOffset, flags | kBlockNotificationBits);
}

}  // namespace

std::int32_t BuildPanel(void*, void*, void*, void*) noexcept {
    BindPanelBuilderNames();
    BatchRequesterPath[0] = '\0';
    BatchDirectory[0] = '\0';
    CreateSettingsForAllItems();
    MotionFormatNames[0] = kMotionFormatName;
    MotionFormatNames[1] = nullptr;

    PanelControls = PanelControlTable{};
    PanelControls.block = CreateBlock(kBlockTitle, kBlockSecondText, PanelBlockCallback);
    // Controls join the block created last: without a new block they would
    // land in an earlier one, so none are created.
    if (PanelControls.block != nullptr) {
        for (const ControlRow& row : kControls) PanelControls.*row.entry = CreateControlOf(row);
    }
    AskForPanelNotifications(PanelControls.block);
    for (const ControlRow& row : kControls) SetControlSize(PanelControls.*row.entry, row.width, row.height);
    for (const ControlRow& row : kControls) SetControlPosition(PanelControls.*row.entry, row.x, row.y);

    SetControlInt(PanelControls.useCurrentDataToggle, UseCurrentData);
    SetControlInt(PanelControls.useBatchDirectoryToggle, UseBatchDirectory);
    UpdateFXInterface(kRefreshInterface);
    SetStatusIdle();
    return 1;
}

}  // namespace corvantide
