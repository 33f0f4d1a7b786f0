#include "screen/ObjectTagCombo.h"

#include "model/Application.h"
#include "model/Tag.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QToolButton>

namespace quillon::gui {

namespace {
std::function<void()>& databaseOpener() {
    static std::function<void()> opener;
    return opener;
}
} // namespace

void ObjectTagCombo::setDatabaseOpener(std::function<void()> opener) {
    databaseOpener() = std::move(opener);
}

ObjectTagCombo::ObjectTagCombo(const Application& application, const TagFilter& filter, Tag* chosen,
                               QWidget* parent)
    : QComboBox(parent), application_(application), filter_(filter), held_(chosen), heldFilter_(filter) {
    setObjectName("tag");
    // Wide enough for a tag name and its address; longer lines show whole in the list.
    setMinimumContentsLength(20);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fill(chosen);
}

void ObjectTagCombo::fill(Tag* keep) {
    const QSignalBlocker quiet(this);
    clear();
    addItem(QString(), QVariant::fromValue<void*>(nullptr));
    std::vector<Tag*> tags = filter_.tagsOf(application_);
    if (held_ != nullptr && filter_ == heldFilter_ &&
        std::find(tags.begin(), tags.end(), held_) == tags.end() && heldStillExists()) {
        // In tag order, as the list shows every other tag.
        std::vector<Tag*> ordered;
        for (Tag& tag : application_.tags()) {
            if (&tag == held_ || std::find(tags.begin(), tags.end(), &tag) != tags.end()) {
                ordered.push_back(&tag);
            }
        }
        tags = std::move(ordered);
    }
    setCurrentIndex(0);
    for (Tag* tag : tags) {
        addItem(QString::fromStdString(tagChoiceLine(*tag)), QVariant::fromValue<void*>(tag));
        if (tag == keep) {
            setCurrentIndex(count() - 1);
        }
    }
}

bool ObjectTagCombo::heldStillExists() const {
    // The tag database may have been edited since: the held tag is found by address, never dereferenced
    // before it is known to be there.
    for (const Tag& tag : application_.tags()) {
        if (&tag == held_) {
            return true;
        }
    }
    return false;
}

void ObjectTagCombo::setFilter(const TagFilter& filter) {
    Tag* keep = tag();
    filter_ = filter;
    fill(keep);
    if (tag() != keep) {
        emit currentIndexChanged(currentIndex());
    }
}

Tag* ObjectTagCombo::tag() const {
    return static_cast<Tag*>(currentData().value<void*>());
}

void ObjectTagCombo::refill() {
    // Tags may have been deleted: the choice is found again by its line, never by an old pointer.
    const QString line = currentText();
    const int before = currentIndex();
    fill(nullptr);
    const int index = findText(line);
    setCurrentIndex(index >= 0 ? index : 0);
    if (currentIndex() != before) {
        emit currentIndexChanged(currentIndex());
    }
}

QWidget* ObjectTagCombo::row() {
    if (!databaseOpener()) {
        return this;
    }
    auto* holder = new QWidget(parentWidget());
    auto* layout = new QHBoxLayout(holder);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(this, 1);
    auto* button = new QToolButton(holder);
    button->setObjectName("tagDatabase");
    button->setText(QStringLiteral("..."));
    button->setToolTip(tr("Tag database"));
    layout->addWidget(button);
    connect(button, &QToolButton::clicked, this, [this] {
        const std::function<void()> open = databaseOpener();
        if (!open) {
            return;
        }
        open();
        for (ObjectTagCombo* combo : window()->findChildren<ObjectTagCombo*>()) {
            combo->refill();
        }
    });
    return holder;
}

} // namespace quillon::gui
