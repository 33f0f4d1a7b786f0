#include "define/TagComboBox.h"

#include "model/Application.h"

namespace quillon::gui {

TagComboBox::TagComboBox(QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(24);
}

void TagComboBox::fill(const Application& application, const TagFilter& filter, Tag* keep, bool always) {
    filter_ = filter;
    clear();
    int chosen = -1;
    for (Tag* t : filter.tagsOf(application)) {
        if (t == keep) {
            chosen = count();
        }
        addItem(QString::fromStdString(tagChoiceLine(*t)),
                QVariant::fromValue(reinterpret_cast<quintptr>(t)));
    }
    if (chosen < 0 && keep != nullptr && always) {
        chosen = count();
        addItem(QString::fromStdString(tagChoiceLine(*keep)),
                QVariant::fromValue(reinterpret_cast<quintptr>(keep)));
    }
    setCurrentIndex(chosen);
}

void TagComboBox::refill(const Application& application) {
    Tag* keep = tag();
    bool stillThere = false;
    for (Tag* t : filter_.tagsOf(application)) {
        stillThere = stillThere || t == keep;
    }
    fill(application, filter_, stillThere ? keep : nullptr);
}

Tag* TagComboBox::tag() const {
    if (currentIndex() < 0) {
        return nullptr;
    }
    return reinterpret_cast<Tag*>(currentData().value<quintptr>());
}

} // namespace quillon::gui
