// Feeds arbitrary bytes to the application reader and does nothing else with the result but check the
// model's invariants: the reader alone, many thousand images a second, where the reader's other target
// also draws and rewrites each application it reads.
#include "model/Application.h"
#include "persist/ApplicationReader.h"
#include "support/OvmFuzzSupport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    SilentPrompter prompter;
    fuzz::PasswordOnce password(fuzz::kSeedPassword);
    const ReadContext context{fuzz::sharedCatalogs(), prompter, nullptr, std::ref(password), std::nullopt};
    auto app = ApplicationReader::read({data, size}, context);
    if (app) {
        fuzz::check(static_cast<bool>((*app)->checkConsistency()));
    }
    return 0;
}
