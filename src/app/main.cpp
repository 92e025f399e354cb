// Program entry: builds the engine root, starts it, and takes it down again.
#include <cstring>
#include <memory>

#include "core/zot_main.h"

namespace {

struct CommandLine {
    bool NoDialogs = false;
};

CommandLine ParseCommandLine(int argc, char** argv)
{
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-dialogs") == 0)
            line.NoDialogs = true;
    }
    return line;
}

}  // namespace

int main(int argc, char** argv)
{
    const CommandLine options = ParseCommandLine(argc, argv);
    auto engine = std::make_unique<ZOTEngine>();
    engine->SetShowErrors(!options.NoDialogs);
    engine->Initialize(nullptr, nullptr, nullptr);
    engine.reset();
    return 0;
}
