#include "shell/ToolStation.h"

#include "ui/CommandId.h"
#include "ui/CommandTexts.h"
#include "ui/ToolIcons.h"

#include <QEnterEvent>
#include <QGridLayout>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

QString fromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The short label under each picture.
QString labelOf(std::uint16_t id) {
    switch (static_cast<CommandId>(id)) {
    case CommandId::New:
        return QObject::tr("New");
    case CommandId::Open:
        return QObject::tr("Open");
    case CommandId::Save:
        return QObject::tr("Save");
    case CommandId::Upload:
        return QObject::tr("Upload");
    case CommandId::Download:
        return QObject::tr("Download");
    case CommandId::Network:
        return QObject::tr("Network");
    case CommandId::TagDatabase:
        return QObject::tr("Tags");
    case CommandId::Screens:
        return QObject::tr("Screens");
    case CommandId::ApplicationKeys:
        return QObject::tr("Keys");
    case CommandId::Alarms:
        return QObject::tr("Alarms");
    case CommandId::ApplicationTaskLists:
        return QObject::tr("Task-lists");
    case CommandId::UnitSettings:
        return QObject::tr("VQ5K settings");
    case CommandId::Logger:
        return QObject::tr("Logger");
    case CommandId::HelpIndex:
        return QObject::tr("Help");
    case CommandId::ToolStationExit:
        return QObject::tr("Exit");
    default:
        return {};
    }
}

} // namespace

const std::vector<std::vector<std::uint16_t>>& ToolStation::layoutRows() {
    static const std::vector<std::vector<std::uint16_t>> rows{
        {toId(CommandId::New), toId(CommandId::Open), toId(CommandId::Save), toId(CommandId::Upload),
         toId(CommandId::Download)},
        {toId(CommandId::Network), toId(CommandId::TagDatabase), toId(CommandId::Screens),
         toId(CommandId::ApplicationKeys), toId(CommandId::Alarms)},
        {toId(CommandId::ApplicationTaskLists), toId(CommandId::UnitSettings), toId(CommandId::HelpIndex),
         toId(CommandId::ToolStationExit), toId(CommandId::Logger)},
    };
    return rows;
}

ToolStation::ToolStation(QWidget* parent) : QFrame(parent) {
    setObjectName("ToolStation");
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    setMouseTracking(true);
    auto* grid = new QGridLayout(this);
    grid->setSpacing(4);
    grid->setContentsMargins(10, 10, 10, 10);
    int row = 0;
    for (const auto& ids : layoutRows()) {
        int column = 0;
        for (const std::uint16_t id : ids) {
            auto* frame = new QWidget(this);
            auto* frameLayout = new QVBoxLayout(frame);
            frameLayout->setContentsMargins(0, 0, 1, 1);
            auto* button = new QToolButton(frame);
            button->setObjectName(QString("station%1").arg(id));
            button->setIcon(ToolIcons::icon(id));
            button->setIconSize(QSize(ToolIcons::kSize, ToolIcons::kSize));
            button->setText(labelOf(id));
            button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            button->setAutoRaise(false);
            button->setMinimumSize(84, 70);
            if (const auto text = commandText(id)) {
                button->setToolTip(fromView(text->toolTip));
                button->setStatusTip(fromView(text->statusText));
            }
            frameLayout->addWidget(button);
            frame->installEventFilter(this);
            connect(button, &QToolButton::clicked, this, [this, id] {
                const auto it = cells_.find(id);
                if (it != cells_.end() && it->second.live) {
                    emit command(id);
                }
            });
            cells_[id] = Cell{frame, button, false};
            if (id == toId(CommandId::Logger)) {
                frame->hide();
            }
            grid->addWidget(frame, row, column++);
        }
        ++row;
    }
    refresh([](std::uint16_t) { return false; });
    // The panel stays in the middle of whatever the main window leaves for it.
    if (parent != nullptr) {
        parent->installEventFilter(this);
    }
}

void ToolStation::refresh(const std::function<bool(std::uint16_t id)>& enabled) {
    for (auto& [id, cell] : cells_) {
        const bool live = enabled(id);
        cell.live = live;
        cell.button->setEnabled(live);
        cell.button->setFocusPolicy(live ? Qt::TabFocus : Qt::NoFocus);
        // The look-alike sits one pixel lower and to the right of where the live button would be.
        cell.frame->layout()->setContentsMargins(live ? 0 : 1, live ? 0 : 1, live ? 1 : 0, live ? 1 : 0);
    }
}

bool ToolStation::isLive(std::uint16_t id) const {
    const auto it = cells_.find(id);
    return it != cells_.end() && it->second.live;
}

QToolButton* ToolStation::button(std::uint16_t id) const {
    const auto it = cells_.find(id);
    return it == cells_.end() ? nullptr : it->second.button;
}

void ToolStation::centre() {
    if (parentWidget() == nullptr) {
        return;
    }
    adjustSize();
    const QRect area = parentWidget()->rect();
    move(area.center().x() - width() / 2, area.center().y() - height() / 2);
}

void ToolStation::pointAt(std::uint16_t id) {
    const auto it = cells_.find(id);
    const auto text = commandText(id);
    if (it == cells_.end() || !text) {
        pointAtNothing();
        return;
    }
    QToolButton* button = it->second.button;
    QToolTip::showText(button->mapToGlobal(QPoint(button->width() / 2, button->height())),
                       fromView(text->toolTip), button);
    emit statusText(fromView(text->statusText));
}

void ToolStation::pointAtNothing() {
    QToolTip::hideText();
    emit statusText(QString());
}

bool ToolStation::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        centre();
        return QFrame::eventFilter(watched, event);
    }
    if (event->type() == QEvent::Enter) {
        for (const auto& [id, cell] : cells_) {
            if (cell.frame == watched) {
                pointAt(id);
                break;
            }
        }
    }
    return QFrame::eventFilter(watched, event);
}

void ToolStation::enterEvent(QEnterEvent* event) {
    // The panel between the buttons has no entry: the tool tip goes and the message is blanked.
    pointAtNothing();
    QFrame::enterEvent(event);
}

void ToolStation::mousePressEvent(QMouseEvent* event) {
    // A hit on the panel itself gives the focus back to the main window.
    window()->setFocus();
    QFrame::mousePressEvent(event);
}

} // namespace quillon::gui
