#pragma once

#include "edit/TagFilter.h"

#include <QComboBox>

namespace quillon {
class Application;
class Tag;
} // namespace quillon

namespace quillon::gui {

// A drop-down of the tags that pass a filter, each shown by its choice line; the tag chosen before a
// refill stays chosen when it is still offered.
class TagComboBox final : public QComboBox {
    Q_OBJECT
public:
    explicit TagComboBox(QWidget* parent = nullptr);

    // Fills the list; `keep` is chosen afterwards, and offered even outside the filter when `always` (an
    // edited task's tag stays its tag).
    void fill(const Application& application, const TagFilter& filter, Tag* keep, bool always = false);
    void refill(const Application& application);
    Tag* tag() const;
    const TagFilter& filter() const noexcept { return filter_; }

private:
    TagFilter filter_;
};

} // namespace quillon::gui
