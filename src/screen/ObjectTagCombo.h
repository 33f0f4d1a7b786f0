#pragma once

#include "edit/TagFilter.h"

#include <functional>

#include <QComboBox>

namespace quillon {
class Application;
class Tag;
} // namespace quillon

namespace quillon::gui {

// The tag drop-down of the object property dialogs: the tags that pass a filter by their choice lines,
// with an empty first line for "no tag chosen yet". The tag the object holds is offered with the filter
// the dialog opened with even when that filter would not offer it (an access or type the dialog would
// not let the user choose today), so that the dialog shows what the object holds and Ok keeps it.
// Filling the list never signals a change; a change of filter that drops the chosen tag does.
class ObjectTagCombo final : public QComboBox {
    Q_OBJECT
public:
    ObjectTagCombo(const Application& application, const TagFilter& filter, Tag* chosen, QWidget* parent);
    Tag* tag() const;
    void setFilter(const TagFilter& filter);
    // The tags again (after the tag database was edited), keeping the chosen line when its tag is still
    // offered.
    void refill();

    // The combo with the button beside it that opens the tag database and then refills every tag combo of
    // the dialog. Without an opener the combo stands alone.
    QWidget* row();
    // How the button opens the tag database: set by the screen session while it is open.
    static void setDatabaseOpener(std::function<void()> opener);

private:
    void fill(Tag* keep);
    bool heldStillExists() const;

    const Application& application_;
    TagFilter filter_;
    // The object's own tag and the filter the dialog opened with.
    Tag* held_ = nullptr;
    TagFilter heldFilter_;
};

} // namespace quillon::gui
