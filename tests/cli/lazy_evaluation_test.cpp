// The simulated host evaluates an item when the plug-in names it, not the
// whole scene at every clock move: the records the plug-in reads and the
// files it writes are those of evaluating every item at every move.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "demo_scene.h"
#include "host_paths.h"
#include "item_records.h"
#include "panel_user.h"
#include "scene_build.h"
#include "sim_host.h"
#include "test_folder.h"

namespace corvantide_test {
namespace {

namespace fs = std::filesystem;
using namespace corvantide::cli;

constexpr int kChainLength = 48;

// A chain of items, each the child of the one before, every one turning,
// moving and scaling with keys of every span mode at its own times.
SceneDescription DeepChain() {
    SceneDescription scene;
    scene.fps = 24;
    scene.firstFrame = 0;
    scene.lastFrame = 48;
    for (int i = 0; i < kChainLength; ++i) {
        ItemDescription item;
        item.name = "Link" + std::to_string(i);
        if (i > 0) item.parent = "Link" + std::to_string(i - 1);
        for (int k = 0; k < 4; ++k) {
            KeyDescription key;
            key.frame = (i % 5) + 13.0 * k;
            for (int c = 0; c < kMotionChannels; ++c) {
                SlotKey slot;
                slot.slot = c;
                slot.value = c >= 6 ? 1.0 + 0.01 * ((i + k + c) % 3) : 0.05 * std::sin(i + 2.0 * k + c);
                slot.span = static_cast<SpanMode>((i + k + c) % 4);
                slot.tension = 0.25f * static_cast<float>(k % 2);
                slot.inHandle = -0.01f;
                slot.outHandle = 0.02f;
                key.slots.push_back(slot);
            }
            item.keys.push_back(key);
        }
        scene.items.push_back(item);
    }
    return scene;
}

double RecordChannel(const void* item, int channel) {
    double value = 0;
    std::memcpy(&value,
                static_cast<const unsigned char*>(item) + simhost::item_layout::kChannelValues + 8 * channel,
                sizeof value);
    return value;
}

// Channel values of the records, step by step over the scene's frames and
// beyond. The eager host shows every record at every step; the lazy one
// names a third of the items at each step (the others stay stale for two
// moves) and shows the records of those and of the current item.
using Records = std::vector<std::vector<std::pair<int, std::vector<double>>>>;

Records RecordsFrameByFrame(const SceneDescription& scene, bool eager) {
    simhost::SimHost host;
    BuildScene(scene, host);
    host.Scene().SetEagerEvaluation(eager);
    const std::vector<void*> items = host.Scene().Items();
    const int current = static_cast<int>(items.size()) - 1;
    host.SetCurrentItem(items.back());
    Records steps;
    int step = 0;
    for (double frame = scene.firstFrame - 3; frame <= scene.lastFrame + 3; frame += 0.5, ++step) {
        host.dAnim_Clock = frame;
        host.Update(32);
        steps.emplace_back();
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            const bool named = (i + step) % 3 == 0;
            if (!eager && !named && i != current) continue;
            if (named) host.GetInstance(items[static_cast<std::size_t>(i)], host.ModuleRecord(), 0);
            std::vector<double> values;
            for (int c = 0; c < kMotionChannels; ++c) values.push_back(RecordChannel(items[i], c));
            steps.back().emplace_back(i, values);
        }
    }
    EXPECT_TRUE(host.Audit().empty());
    return steps;
}

TEST(LazyEvaluation, EveryRecordTheLazyHostShowsHoldsTheWholeScenesValuesFrameByFrame) {
    for (const SceneDescription& scene : {DemoScene("."), DeepChain()}) {
        const Records eager = RecordsFrameByFrame(scene, true);
        const Records lazy = RecordsFrameByFrame(scene, false);
        ASSERT_EQ(eager.size(), lazy.size());
        std::size_t compared = 0;
        for (std::size_t step = 0; step < lazy.size(); ++step) {
            for (const auto& [item, values] : lazy[step]) {
                EXPECT_EQ(eager[step][static_cast<std::size_t>(item)].second, values)
                    << scene.items[static_cast<std::size_t>(item)].name << " at step " << step;
                ++compared;
            }
        }
        EXPECT_GT(compared, lazy.size() * scene.items.size() / 3);
    }
}

// Every item exported through the panel in all four forms, then the batch
// (every frame, Local values: records of items other than the current one),
// into `folder`.
void ExportEveryForm(const SceneDescription& scene, bool eager, const fs::path& folder) {
    fs::create_directories(folder);
    simhost::SimHost host;
    std::string error;
    ASSERT_TRUE(host.LoadAndStart(simhost::DefaultPluginPath(), &error)) << error;
    BuildScene(scene, host);
    host.Scene().SetEagerEvaluation(eager);
    simhost::PanelUser user(host);
    host.BuildPanel();
    user.ShowPanel();
    for (void* item : host.Scene().Items()) {
        user.SelectItem(item);
        for (const bool everyFrame : {false, true}) {
            for (const int world : {1, 0}) {  // the batch exports each item as last set: every frame, Local
                user.Toggle("Freeze Motion", everyFrame);
                user.Choose("Coordinates", world);
                const std::string name =
                    ItemName(item) + (everyFrame ? "_frames" : "_keys") + (world != 0 ? "_World" : "_Local");
                user.TypePath((folder / name).string());
                user.Press("Export Current Motion");
            }
        }
    }
    user.TypeBatchPath(folder.string());
    user.Toggle("Use Batch Directory", true);
    user.Press("Setup Batch");
    user.Press("Export Batch Motions");
    for (void* item : host.Scene().Items()) {
        SettleWrittenFile(folder.string() + "\\" + ItemName(item) + ".mot");
        SettleWrittenFile(folder.string() + "\\" + ItemName(item) + "_ZoomFactor.mot");
    }
    for (const std::string& finding : host.Audit()) ADD_FAILURE() << finding;
}

std::string Contents(const fs::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

TEST(LazyEvaluation, ThePlugInWritesTheSameFilesAsWhenEveryClockMoveEvaluatesTheWholeScene) {
    for (const SceneDescription& scene : {DemoScene("."), DeepChain()}) {
        TestFolder root("lazy");
        ExportEveryForm(scene, true, root.Path() / "eager");
        ExportEveryForm(scene, false, root.Path() / "lazy");
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(root.Path() / "eager")) {
            const fs::path name = entry.path().filename();
            EXPECT_EQ(Contents(entry.path()), Contents(root.Path() / "lazy" / name)) << name;
            ++files;
        }
        EXPECT_GE(files, scene.items.size() * 5);  // four forms and the batch's file
    }
}

}  // namespace
}  // namespace corvantide_test
