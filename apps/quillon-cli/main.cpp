// quillon-cli: the headless commands of Quillon.
#include <CLI/CLI.hpp>

#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"Quillon command-line tool: build, inspect and convert panel applications without a window."};
    app.set_version_flag("--version", "quillon-cli 0.1.0");
    app.require_subcommand(0, 1);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    }
    if (app.get_subcommands().empty()) {
        std::cout << app.help();
    }
    return 0;
}
