#pragma once

#include "edit/TagFilter.h"

#include <QComboBox>

namespace quillon {
class Application;
class Tag;
} // namespace quillon

namespace quillon::gui {

// The tag drop-down of the object property dialogs: the tags that pass a filter by their choice lines,
// with an empty first line for "no tag chosen yet".
class ObjectTagCombo final : public QComboBox {
    Q_OBJECT
public:
    ObjectTagCombo(const Application& application, const TagFilter& filter, Tag* chosen, QWidget* parent);
    Tag* tag() const;
    void setFilter(const TagFilter& filter);

private:
    void fill(Tag* keep);

    const Application& application_;
    TagFilter filter_;
};

} // namespace quillon::gui
