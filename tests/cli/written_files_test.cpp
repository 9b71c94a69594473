// What a session reports as written is what the plug-in wrote: an export
// that writes nothing it was asked for, and says nothing, fails the run.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "commands.h"
#include "test_folder.h"

namespace corvantide_test {
namespace {

using namespace corvantide::cli;

TEST(WrittenFiles, AnExportThatSilentlyWritesNothingFailsTheRun) {
    TestFolder root;
    const std::filesystem::path scene = root.Path() / "unknown-format.json";
    // A motion format the plug-in does not write: it writes nothing and shows nothing.
    std::ofstream(scene, std::ios::binary) << R"({
      "items": [{"name": "Box", "keys": [{"frame": 0, "values": {"position.y": 0}},
                                         {"frame": 10, "values": {"position.y": 1}}]}],
      "actions": [
        {"do": "showPanel"},
        {"do": "select", "item": "Box"},
        {"do": "type", "field": "path", "text": "Box"},
        {"do": "choose", "list": "Motion Format", "entry": 1},
        {"do": "press", "button": "Export Current Motion"}
      ]})";
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(kExitExportFailed, RunScene(scene.string(), (root.Path() / "out").string(), out, err))
        << out.str();
    EXPECT_NE(std::string::npos, out.str().find("Files written (in ")) << out.str();
    EXPECT_NE(std::string::npos, err.str().find("export failed: Box.mot was not written")) << err.str();
}

}  // namespace
}  // namespace corvantide_test
