// corvantide-sim demo [--out DIR]: the sample scene, exported as a user would.
#include <CLI/CLI.hpp>
#include <iostream>
#include <memory>

#include "commands.h"
#include "demo_scene.h"
#include "session.h"

namespace corvantide::cli {

int RunDemo(const std::string& outputFolder, std::ostream& out, std::ostream& err, bool terminal,
            bool pictures) {
    const SessionSettings settings = CommandSettings(
        outputFolder, "Corvantide demo: the sample scene, exported through the panel as a user would.",
        terminal, pictures);
    return RunSession(DemoScene(outputFolder), settings, out, err);
}

void AddDemoCommand(CLI::App& app, CommandAction* action) {
    CLI::App* command = app.add_subcommand(
        "demo", "Export the sample scene through the panel, then draw the panel and every written file");
    auto folder = std::make_shared<std::string>("corvantide-demo");
    command->add_option("--out", *folder, "folder for the files and pictures")->capture_default_str();
    auto noPictures = std::make_shared<bool>(false);
    command->add_flag("--no-pictures", *noPictures, "draw no pictures (of the panel or of the written files)");
    command->footer(kSessionExitHelp);
    command->callback([folder, noPictures, action] {
        *action = [folder, noPictures] { return RunDemo(*folder, std::cout, std::cerr, true, !*noPictures); };
    });
}

}  // namespace corvantide::cli
