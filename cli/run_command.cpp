// corvantide-sim run SCENE.json [--out DIR]: a scene and a user's actions from a file.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "commands.h"
#include "motfile/motion_reader.h"
#include "scene_json.h"
#include "session.h"

namespace corvantide::cli {

int RunScene(const std::string& scenePath, const std::string& outputFolder, std::ostream& out,
             std::ostream& err, bool terminal, bool pictures) {
    std::string text;
    std::string reason;
    if (!motfile::LoadFileText(scenePath, &text, &reason)) {
        err << "corvantide-sim: cannot read " << scenePath << ": " << reason << "\n";
        return kExitUsage;
    }
    SceneDescription scene;
    if (!ParseSceneJson(text, &scene, &reason)) {
        err << scenePath << ": " << reason << "\n";
        return kExitUsage;
    }
    return RunSession(scene, CommandSettings(outputFolder, "Scene " + scenePath, terminal, pictures), out, err);
}

void AddRunCommand(CLI::App& app, CommandAction* action) {
    CLI::App* command =
        app.add_subcommand("run", "Build a scene from a JSON file and act out its user actions at the panel");
    auto scene = std::make_shared<std::string>();
    auto folder = std::make_shared<std::string>(".");
    command->add_option("scene", *scene, "scene file (JSON; see docs/scene-format.md)")->required();
    command->add_option("--out", *folder, "working folder: relative paths of the scene, and the pictures")
        ->capture_default_str();
    auto noPictures = std::make_shared<bool>(false);
    command->add_flag("--no-pictures", *noPictures, "draw no pictures (of the panel or of the written files)");
    command->footer(kSessionExitHelp);
    command->callback([scene, folder, noPictures, action] {
        *action = [scene, folder, noPictures] {
            return RunScene(*scene, *folder, std::cout, std::cerr, true, !*noPictures);
        };
    });
}

}  // namespace corvantide::cli
