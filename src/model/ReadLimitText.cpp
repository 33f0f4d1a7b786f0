#include "model/ReadLimitText.h"

#include "model/Application.h"
#include "model/Block.h"
#include "model/Node.h"
#include "model/PanelModel.h"
#include "model/ReadList.h"
#include "model/TextFormat.h"

namespace quillon {

std::string readLimitDetail(const Application& application, const ReadList& current, const ReadList& trial) {
    const ReadList& global = application.globalReadList();
    std::string text =
        formatText("\n\nThe screen would read %u registers; the unit reads at most %u.",
                   application.screenReadRegisters(trial), unsigned{readLimit(application.modelId())});
    std::string added;
    for (const ReadList::Entry& entry : trial.entries()) {
        const Block* block = entry.block;
        if (block == nullptr || current.contains(*block) || global.contains(*block)) {
            continue;
        }
        const Node* node = block->node();
        added += formatText("\n- block %s of node %u%s%s: %u register%s", block->address().c_str(),
                            node != nullptr ? unsigned{node->number()} : 0U, node != nullptr ? " " : "",
                            node != nullptr ? node->name.c_str() : "", unsigned{block->size},
                            block->size == 1 ? "" : "s");
    }
    if (!added.empty()) {
        text += "\nIt would add:" + added;
    }
    return text;
}

} // namespace quillon
