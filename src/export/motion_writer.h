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
    void* file;  // open for writing through FileOutput; not null
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

// The body of an envelope with nothing to hold: count 1, an all-zero key,
// Constant behaviours. Left for a camera's zoom when the camera has no keys.
void WritePlaceholderBody(MotionWriter* writer);

// The body of a channel that holds one value: count 1, one key of `value` at
// `seconds`, TCB with zero parameters, Constant behaviours. A receiving
// package then holds the channel at that value, as the host does.
void WriteHeldBody(MotionWriter* writer, double value, double seconds);

// One key line per entry whose include is 1, at host key j's time / fps;
// the behaviours of entry 0. When no entry is included, the channel holds
// `unkeyedValue` from host key 0's time. `hostKeys` holds the keyCount host
// key records the entries belong to.
void WriteKeyedBody(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t keyCount,
                    const void* hostKeys, double fps, double unkeyedValue);

// One key line per sampled frame, entry j at (firstTime + j) / fps, with
// Constant behaviours; the placeholder body when frameCount is 0.
void WriteSampledBody(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t frameCount,
                      std::int64_t firstTime, double fps);

// A camera's zoom envelope body: included entries at their host key's time,
// shape 0 with slot 12's tension, continuity and bias, literal "0 0 0" after.
// Keys that never key the zoom give one key of entry 0's value at host key
// 0's time with zero parameters; no keys at all, the placeholder body.
void WriteZoomBody(MotionWriter* writer, const EnvelopeKey* entries, std::int64_t keyCount,
                   const void* hostKeys, double fps);

}  // namespace corvantide
