#pragma once
// For the D3DX fuzz targets: a recording device per input, and after it the checks that every
// object was released and used rightly, then the released objects deleted so that memory does
// not grow from input to input.

#include <cstdio>
#include <cstdlib>

#include "platform/d3d9/recording_device.h"

namespace fuzz {

inline void installRecording() { platform::installRecordingDirect3D(); }

// Releases the device and stops the run on any misuse or object still referenced.
inline void endInput(platform::RecordingDevice* device) {
    device->Release();
    platform::Recording& rec = platform::recording();
    if (!rec.misuses().empty()) {
        std::fprintf(stderr, "recording device misuse: %s\n", rec.misuses().front().c_str());
        std::abort();
    }
    if (rec.unreleasedCount() != 0) {
        std::fprintf(stderr, "%zu device objects never released\n", rec.unreleasedCount());
        std::abort();
    }
    rec.deleteReleased();
    rec.reset();
}

}  // namespace fuzz
