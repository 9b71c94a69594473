// The text of a LightWave motion file ("LWMO", version 3), printed from
// channel buffers into a file through FileOutput.
//
// The text is formatted into a process-wide chunk and handed to the file in
// large writes. Every line ends with a single "\n". A failed write is
// remembered; the rest of the file is skipped and FinishWriting reports it. A number
// that is not finite (a host's NaN, a time beyond the range of a double) is
// reported the same way: such a file could not be read back.
//
// Key times are the same in every channel of a file: they are formatted once
// and kept, as text, in the writer's process-wide time column. The chunk and
// the column belong to the writer last begun: one file is written at a time,
// on the interface thread. [interface thread]
#pragma once

#include <cstddef>
#include <cstdint>

#include "export/envelope_key.h"

namespace corvantide {

struct MotionWriter {
    void* file;  // open for writing through FileOutput
    std::size_t used;
    bool failed;
    // Asked before each chunk but the last; true stops the file (and fails
    // it, noted as stopped in LastWriteFailure). Null: never stopped.
    bool (*stopRequested)();
    int channel;         // the envelope being printed, for a number not finite
    std::int64_t entry;  // the key or frame being printed
};

// A writer of `file`; failures are noted in LastWriteFailure (write_failure.h).
void BeginWriting(MotionWriter* writer, void* file, bool (*stopRequested)() = nullptr);
// Writes what is left of the chunk. False when any write failed.
bool FinishWriting(MotionWriter* writer);

// Key times are frames divided by the frame rate: only a finite rate above 0
// gives times at all.
bool IsUsableFrameRate(double fps);

// "LWMO", "3", an empty line and "NumChannels n".
void WriteFileHeader(MotionWriter* writer, int channelCount);
// "Channel c" (when channel >= 0) and "{ Envelope".
void WriteEnvelopeStart(MotionWriter* writer, int channel);
// "}".
void WriteEnvelopeEnd(MotionWriter* writer);

// The body of a channel without keys: count 1, an all-zero key, Constant behaviours.
void WritePlaceholderBody(MotionWriter* writer);

// One key line per entry whose include is 1, at host key j's time / fps;
// the behaviours of entry 0. The placeholder body when no entry is included.
// `hostKeys` holds the keyCount host key records the entries belong to.
void WriteKeyedBody(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t keyCount,
                    const void* hostKeys, double fps);

// One key line per sampled frame, entry j at (firstTime + j) / fps, with
// Constant behaviours; the placeholder body when frameCount is 0.
void WriteSampledBody(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t frameCount,
                      std::int64_t firstTime, double fps);

// A camera's zoom envelope body: included entries at their host key's time,
// shape 0 with slot 12's tension, continuity and bias, literal "0 0 0" after.
void WriteZoomBody(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t keyCount,
                   const void* hostKeys, double fps);

}  // namespace corvantide
