#include "define/DefineHooks.h"

#include <QDialog>

namespace quillon::gui {

int DefineHooks::exec(QDialog& dialog) const {
    return run ? run(dialog) : dialog.exec();
}

} // namespace quillon::gui
