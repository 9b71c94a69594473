// Any bytes as a scene file, as `run` reads one a user hands it: the reader,
// and for a scene it accepts, the simulated host built from it and evaluated
// at its first and last frames. Nothing may crash, hang or read out of
// bounds; a refusal always says where and why.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "scene_build.h"
#include "scene_description.h"
#include "scene_json.h"
#include "sim_host.h"

namespace {

void Expect(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "scene reader: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    corvantide::cli::SceneDescription scene;
    std::string error;
    if (!corvantide::cli::ParseSceneJson(text, &scene, &error)) {
        Expect(!error.empty(), "a refusal without a reason");
        return 0;
    }
    simhost::SimHost host;
    corvantide::cli::BuildScene(scene, host);
    host.Scene().Evaluate(scene.lastFrame);
    return 0;
}
