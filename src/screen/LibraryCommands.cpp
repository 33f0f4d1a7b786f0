#include "screen/LibraryCommands.h"

#include "edit/screen/EditorSession.h"
#include "edit/screen/GroupInsertion.h"
#include "edit/screen/LibraryInsertion.h"
#include "model/Application.h"
#include "model/Prompter.h"
#include "model/Screen.h"
#include "model/TextFormat.h"
#include "persist/ObjectLibrary.h"
#include "plc/PlcCatalogFiles.h"
#include "screen/AddToLibraryDialog.h"
#include "screen/LibraryInsertDialog.h"

#include <vector>

#include <QDialog>

namespace quillon::gui {
namespace {

int run(const LibraryContext& context, QDialog& dialog) {
    return context.runDialog ? context.runDialog(dialog) : dialog.exec();
}

} // namespace

bool LibraryCommands::addToLibrary(const LibraryContext& context) {
    EditorSession& editor = context.editor;
    if (editor.screen() == nullptr) {
        return false;
    }
    const std::vector<ScreenObject*> selected = editor.selection().objects();
    const std::vector<const ScreenObject*> objects(selected.begin(), selected.end());
    auto item = ObjectLibrary::extract(editor.application(), objects);
    if (!item) {
        context.prompter.error(item.message());
        return false;
    }
    AddToLibraryDialog dialog(context.parent, context.libraryDirectory, objects.size(), context.prompter);
    if (run(context, dialog) != QDialog::Accepted) {
        return false;
    }
    if (Status saved =
            ObjectLibrary::save(context.libraryDirectory, dialog.name(), *item.value(), dialog.replace());
        !saved) {
        context.prompter.error(saved.message());
        return false;
    }
    return true;
}

bool LibraryCommands::insertFromLibrary(const LibraryContext& context, std::optional<UnitPoint> at) {
    EditorSession& editor = context.editor;
    if (editor.screen() == nullptr) {
        return false;
    }
    PlcCatalogFiles catalogs(context.catalogDirectory, context.prompter);
    LibraryInsertDialog dialog(context.parent, editor.application(), catalogs, context.libraryDirectory,
                               context.font, context.prompter);
    if (run(context, dialog) != QDialog::Accepted || dialog.insertion() == nullptr) {
        return false;
    }
    LibraryInsertion& insertion = *dialog.insertion();
    const std::vector<LibraryTagChoice> choices = dialog.choices();
    // The object limit and the free place are checked before a tag is created.
    const std::size_t count = dialog.item()->screens().front()->objectCount();
    if (editor.screen()->objectCount() + count > Screen::kMaxObjects) {
        context.prompter.information(GroupInsertion::kTooManyText);
        return false;
    }
    auto bound = insertion.bind(choices);
    if (!bound) {
        context.prompter.error(bound.message());
        return false;
    }
    LibraryBinding& binding = bound.value();
    if (!at) {
        at = GroupInsertion::freeCorner(editor, binding.objects);
        if (!at) {
            insertion.discard(binding);
            context.prompter.information(GroupInsertion::kNoFreeAreaText);
            return false;
        }
    }
    auto placed = GroupInsertion::insert(editor, std::move(binding.objects), binding.groupNext, *at);
    if (!placed) {
        insertion.discard(binding);
        context.prompter.information(formatText("The library item '%s' can not be inserted:\n%s",
                                                dialog.itemName().c_str(), placed.message().c_str()));
        return false;
    }
    return true;
}

} // namespace quillon::gui
