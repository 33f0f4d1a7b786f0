// Feeds arbitrary bytes to the PLC catalog and list readers as file contents, then runs the address
// operations over every area a catalog that was accepted describes.
#include "model/Prompter.h"
#include "plc/AddressField.h"
#include "plc/AreaFinder.h"
#include "plc/ConsecutiveAddresses.h"
#include "plc/PlcCatalog.h"
#include "plc/PlcList.h"
#include "plc/TagAddress.h"
#include "plc/TagRules.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void exercise(const std::vector<quillon::RegisterArea>& areas) {
    using namespace quillon;
    SilentPrompter prompter;
    for (const auto& area : areas) {
        const std::string lower = area.lowerBound();
        const std::string upper = area.upperBound();
        (void)AreaFinder::find(areas, lower, LookupFor::Block, prompter);
        (void)AreaFinder::find(areas, upper, LookupFor::CoilTag, prompter);
        (void)ConsecutiveAddresses::blockEnd(area, lower, area.blockLimit());
        (void)ConsecutiveAddresses::maxBlockSize(area, upper);
        (void)ConsecutiveAddresses::positionInBlock(area, lower, 3, upper);
        (void)ConsecutiveAddresses::sixteenFrom(area, lower, [](const std::string&) { return true; });
        (void)TagRules::checkLastAddress(prompter, area, upper, 4);
        for (int i = 0; i < area.partCount(); ++i) {
            (void)area.rangeLabel(i);
            (void)AddressField::checkPart(area, i, upper);
            (void)AddressField::stepPart(area, i, area.part(i).max, true);
            (void)AddressField::stepPart(area, i, area.part(i).min, false);
        }
        if (auto parts = TagAddress::split(area, upper)) {
            (void)TagAddress::compose(area, parts->parts, 7);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    (void)quillon::PlcList::parse(content);
    auto catalog = quillon::PlcCatalog::parse(content);
    if (catalog) {
        for (int model = 1; model <= static_cast<int>(catalog->models().size()); ++model) {
            (void)catalog->modelCode(model);
            (void)catalog->specialData(model);
            if (auto areas = catalog->areas(model)) {
                exercise(*areas);
            }
        }
    }
    return 0;
}
