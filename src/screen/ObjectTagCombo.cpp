#include "screen/ObjectTagCombo.h"

#include "model/Tag.h"

namespace quillon::gui {

ObjectTagCombo::ObjectTagCombo(const Application& application, const TagFilter& filter, Tag* chosen,
                               QWidget* parent)
    : QComboBox(parent), application_(application), filter_(filter) {
    setObjectName("tag");
    fill(chosen);
}

void ObjectTagCombo::fill(Tag* keep) {
    clear();
    addItem(QString(), QVariant::fromValue<void*>(nullptr));
    for (Tag* tag : filter_.tagsOf(application_)) {
        addItem(QString::fromStdString(tagChoiceLine(*tag)), QVariant::fromValue<void*>(tag));
        if (tag == keep) {
            setCurrentIndex(count() - 1);
        }
    }
}

void ObjectTagCombo::setFilter(const TagFilter& filter) {
    Tag* keep = tag();
    filter_ = filter;
    fill(keep);
}

Tag* ObjectTagCombo::tag() const {
    return static_cast<Tag*>(currentData().value<void*>());
}

} // namespace quillon::gui
