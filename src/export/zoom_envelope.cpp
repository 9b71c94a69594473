// Camera zoom-factor envelope.
#include "export/zoom_envelope.h"

#include <algorithm>

#include "export/envelope_key.h"
#include "export/item_export.h"
#include "export/motion_writer.h"
#include "host/host_interface.h"
#include "host/item_record.h"

namespace corvantide {

StageResult StageZoomEnvelope(const void* item, double fps, StagedFile* staged) {
    if (!OpenStagedFile(staged)) return StageResult::kWriteFailed;
    const std::int32_t keyCount = std::max(ItemKeyCount(item), std::int32_t{0});
    auto* entries = static_cast<EnvelopeKey*>(
        HostAllocate(static_cast<std::uint64_t>(keyCount + kSpareEntries), sizeof(EnvelopeKey)));
    if (entries == nullptr) {
        DiscardStagedFile(staged);
        return StageResult::kNoMemory;
    }
    const void* keys = ItemKeys(item);
    for (std::int32_t j = 0; j < keyCount; ++j) {
        const void* key = KeyAt(keys, j);
        entries[j].value = KeyValue(key, key_record::kZoomSlot);
        if (KeyHasSlot(key, key_record::kZoomSlot)) entries[j].include = 1;
    }
    MotionWriter writer;
    BeginWriting(&writer, staged->file, StopOnEscape);
    WriteEnvelopeStart(&writer, -1);
    WriteZoomBody(&writer, entries, keyCount, keys, fps);
    WriteEnvelopeEnd(&writer);
    const bool written = FinishWriting(&writer);
    HostRelease(entries);
    if (!written) {
        DiscardStagedFile(staged);
        return StageResult::kWriteFailed;
    }
    return CloseStagedFile(staged) ? StageResult::kWritten : StageResult::kWriteFailed;
}

}  // namespace corvantide
