#include "screen/ObjectTagCombo.h"

#include "model/Tag.h"

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
    : QComboBox(parent), application_(application), filter_(filter) {
    setObjectName("tag");
    // Wide enough for a tag name and its address; longer lines show whole in the list.
    setMinimumContentsLength(20);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
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

void ObjectTagCombo::refill() {
    // Tags may have been deleted: the choice is found again by its line, never by an old pointer.
    const QString line = currentText();
    fill(nullptr);
    const int index = findText(line);
    setCurrentIndex(index >= 0 ? index : 0);
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
