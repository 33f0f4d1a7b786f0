#include "ui/ShellDialog.h"

#include "ui/HelpTopics.h"
#include "ui/WindowSettings.h"

#include <algorithm>
#include <vector>

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHideEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QTreeView>

namespace quillon::gui {

ShellDialog::ShellDialog(QWidget* parent, int helpTopic) : QDialog(parent), helpTopic_(helpTopic) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // A list that has the keyboard's focus says so with its frame, as the fields do.
    setStyleSheet(QStringLiteral("QAbstractItemView { border: 1px solid palette(mid); }"
                                 "QAbstractItemView:focus { border: 1px solid palette(highlight); }"));
}

bool ShellDialog::hasHelp() const {
    return helpTopicFile(helpTopic_).has_value();
}

void ShellDialog::requestHelp() {
    if (hasHelp()) {
        emit helpRequested(helpTopic_);
    }
}

QRect ShellDialog::placement(const QRect& mainFrame, const QSize& dialogSize, const QRect& screenArea) {
    int left = mainFrame.left() + (mainFrame.width() - dialogSize.width()) / 2;
    const int centredTop = mainFrame.top() + (mainFrame.height() - dialogSize.height()) / 2;
    const int lowestTop = mainFrame.bottom() - kBottomClearance - dialogSize.height() + 1;
    int top = std::min(centredTop, lowestTop);
    if (screenArea.isValid()) {
        // Right and bottom edges first, then left and top: a dialog larger than the screen keeps its
        // caption and its top-left corner reachable.
        left = std::max(std::min(left, screenArea.right() - dialogSize.width() + 1), screenArea.left());
        top = std::max(std::min(top, screenArea.bottom() - dialogSize.height() + 1), screenArea.top());
    }
    return {QPoint(left, top), dialogSize};
}

void ShellDialog::addHelpButton(QBoxLayout* column) {
    if (!hasHelp()) {
        return;
    }
    auto* help = new QPushButton(tr("&Help"), this);
    help->setObjectName("help");
    help->setAutoDefault(false);
    connect(help, &QPushButton::clicked, this, &ShellDialog::requestHelp);
    column->addWidget(help);
}

QDialogButtonBox* ShellDialog::makeButtons(bool withCancel) {
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QDialogButtonBox::Ok);
    if (withCancel) {
        buttons->addButton(QDialogButtonBox::Cancel);
    }
    if (hasHelp()) {
        QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
        help->setText(tr("&Help"));
        connect(buttons, &QDialogButtonBox::helpRequested, this, &ShellDialog::requestHelp);
    }
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

void ShellDialog::showEvent(QShowEvent* event) {
    if (!placed_) {
        placed_ = true;
        placeOnMainWindow();
        focusFirstField();
    }
    QDialog::showEvent(event);
}

QWidget* ShellDialog::firstField() const {
    for (QWidget* w = nextInFocusChain(); w != nullptr && w != this; w = w->nextInFocusChain()) {
        const bool field =
            qobject_cast<QPushButton*>(w) == nullptr && qobject_cast<QToolButton*>(w) == nullptr;
        if (field && w->window() == this && w->isVisibleTo(this) && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus) != 0) {
            return w;
        }
    }
    return nullptr;
}

void ShellDialog::focusFirstField() {
    // A dialog that chose its field keeps it; otherwise the first field, not a button, takes the focus.
    QWidget* focus = focusWidget();
    if (focus != nullptr && focus != this && qobject_cast<QPushButton*>(focus) == nullptr) {
        return;
    }
    if (QWidget* field = firstField()) {
        field->setFocus(Qt::TabFocusReason);
    }
}

void ShellDialog::hideEvent(QHideEvent* event) {
    if (placed_ && !isMinimized()) {
        if (WindowSettings* settings = WindowSettings::current()) {
            // The frame's corner and the inner size, as move() and resize() take them.
            settings->setDialogPlace(placeName(), QRect(pos(), size()));
        }
    }
    QDialog::hideEvent(event);
}

QString ShellDialog::placeName() const {
    QString name = QString::fromLatin1(metaObject()->className());
    name = name.mid(name.lastIndexOf(':') + 1);
    return objectName().isEmpty() ? name : name + '.' + objectName();
}

QList<QAbstractItemView*> ShellDialog::growingLists() const {
    QList<QAbstractItemView*> views;
    for (const QPointer<QAbstractItemView>& view : lists_) {
        if (view != nullptr) {
            views.append(view.data());
        }
    }
    return views;
}

void ShellDialog::growList(QAbstractItemView* view) {
    lists_.append(view);
    view->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize ShellDialog::listSizeFor(const QAbstractItemView& view, int rows) {
    const int frame = 2 * view.frameWidth();
    const int bar = view.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view);
    int width = 0;
    int headerHeight = 0;
    const QHeaderView* header = nullptr;
    if (const auto* table = qobject_cast<const QTableView*>(&view)) {
        header = table->horizontalHeader();
        if (!table->verticalHeader()->isHidden()) {
            width += table->verticalHeader()->width();
        }
    } else if (const auto* tree = qobject_cast<const QTreeView*>(&view)) {
        header = tree->header();
    }
    const int columns = view.model() != nullptr ? view.model()->columnCount(view.rootIndex()) : 0;
    if (header != nullptr) {
        for (int c = 0; c < columns; ++c) {
            if (!header->isSectionHidden(c)) {
                width += std::max(header->sectionSizeHint(c), view.sizeHintForColumn(c));
            }
        }
        headerHeight = header->isHidden() ? 0 : header->sizeHint().height();
    } else {
        width += std::max(view.sizeHintForColumn(0), view.fontMetrics().averageCharWidth() * 20);
    }
    const bool hasRows = view.model() != nullptr && view.model()->rowCount(view.rootIndex()) > 0;
    const int rowHeight = std::max(hasRows ? view.sizeHintForRow(0) : 0, view.fontMetrics().height() + 4);
    return {width + frame + bar, headerHeight + rows * rowHeight + frame};
}

namespace {

// Widens each column of a list but the last to its content (the last fills what is left).
void fitColumns(QAbstractItemView& view) {
    QHeaderView* header = nullptr;
    if (auto* table = qobject_cast<QTableView*>(&view)) {
        header = table->horizontalHeader();
    } else if (auto* tree = qobject_cast<QTreeView*>(&view)) {
        header = tree->header();
    }
    if (header == nullptr || view.model() == nullptr) {
        return;
    }
    const int columns = view.model()->columnCount(view.rootIndex());
    for (int c = 0; c + 1 < columns; ++c) {
        if (header->sectionResizeMode(c) == QHeaderView::Interactive) {
            header->resizeSection(c, std::max(header->sectionSizeHint(c), view.sizeHintForColumn(c)));
        }
    }
}

} // namespace

void ShellDialog::placeOnMainWindow() {
    const QWidget* main = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
    const QScreen* screen = main != nullptr && main->screen() != nullptr ? main->screen()
                            : this->screen() != nullptr                  ? this->screen()
                                                                         : QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
    // The caption and frame the window system adds count as part of the dialog.
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize room = area.isValid() ? area.size() - frame : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);

    // The size the content needs: the fields' own, the growing lists with every column and their rows.
    std::vector<QSize> kept;
    for (const QPointer<QAbstractItemView>& view : lists_) {
        if (view == nullptr) {
            continue;
        }
        fitColumns(*view);
        kept.push_back(view->minimumSize());
        view->setMinimumSize(listSizeFor(*view).expandedTo(view->minimumSize()).boundedTo(room));
    }
    // A scrolled picture (a keypad) asks for its whole content, so that it scrolls only on a small screen.
    std::vector<std::pair<QScrollArea*, QSize>> scrolled;
    for (QScrollArea* area : findChildren<QScrollArea*>()) {
        if (area->widget() != nullptr && !area->isHidden()) {
            scrolled.emplace_back(area, area->minimumSize());
            const int frameWidth = 2 * area->frameWidth();
            const QSize content = area->widget()->sizeHint() + QSize(frameWidth, frameWidth);
            area->setMinimumSize(content.expandedTo(area->minimumSize()).boundedTo(room));
        }
    }
    if (layout() != nullptr) {
        layout()->activate();
    }
    QSize wanted = sizeHint().expandedTo(minimumSizeHint());
    std::size_t k = 0;
    for (const QPointer<QAbstractItemView>& view : lists_) {
        if (view != nullptr) {
            view->setMinimumSize(kept[k++]);
        }
    }
    for (const auto& [area, least] : scrolled) {
        area->setMinimumSize(least);
    }
    if (layout() != nullptr) {
        layout()->activate();
    }
    resize(wanted.boundedTo(room).expandedTo(minimumSizeHint().boundedTo(room)));

    // Where the user left it, while that place is wholly on the screen and large enough for the fields.
    if (WindowSettings* settings = WindowSettings::current()) {
        if (const auto last = settings->dialogPlace(placeName())) {
            const bool fits = !area.isValid() || area.contains(QRect(last->topLeft(), last->size() + frame));
            const QSize least = minimumSizeHint();
            if (fits && last->width() >= least.width() && last->height() >= least.height()) {
                resize(last->size());
                move(last->topLeft());
                return;
            }
            // A size that no longer fits the screen (a smaller one, or another layout) is forgotten.
            settings->dropDialogPlace(placeName());
        }
    }
    if (main == nullptr) {
        if (area.isValid()) {
            const QRect outer = placement(area, size() + frame, area);
            move(outer.topLeft());
        }
        return;
    }
    const QRect outer = placement(main->frameGeometry(), size() + frame, area);
    move(outer.topLeft());
}

} // namespace quillon::gui
