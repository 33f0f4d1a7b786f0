#include "define/TaskListsDialog.h"

#include "define/TaskListPanel.h"
#include "define/TextOf.h"
#include "edit/define/Keypad.h"
#include "model/Application.h"
#include "ui/HelpTopics.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

int topicOf(TaskListsDialog::Kind kind) {
    switch (kind) {
    case TaskListsDialog::Kind::Application:
        return static_cast<int>(HelpTopic::ApplicationTaskLists);
    case TaskListsDialog::Kind::Screen:
        return static_cast<int>(HelpTopic::ScreenTasks);
    case TaskListsDialog::Kind::TouchArea:
        break;
    }
    return static_cast<int>(HelpTopic::ScreenTasks);
}

} // namespace

TaskListsDialog::TaskListsDialog(QWidget* parent, const TaskEditorContext& context, Kind kind, Screen* screen,
                                 TaskListOwner* owner)
    : ShellDialog(parent, topicOf(kind)) {
    setObjectName("TaskListsDialog");
    Application& app = *context.application;
    panel_ = new TaskListPanel(this, context);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    switch (kind) {
    case Kind::Application:
        setWindowTitle(QStringLiteral("Quillon : Application ( Power-on and Global ) Task-lists"));
        panel_->setOwner(&app.applicationLists());
        break;
    case Kind::Screen:
        setWindowTitle(QStringLiteral("Quillon : Task-lists of Screen [ %1 : %2 ]")
                           .arg(screen->number())
                           .arg(QString::fromStdString(screen->name)));
        panel_->setOwner(screen);
        break;
    case Kind::TouchArea:
        setWindowTitle(QStringLiteral("Quillon : Touch-Screen Task-lists"));
        panel_->setOwner(owner);
        break;
    }
    row->addWidget(panel_, 1);
    if (kind == Kind::Screen) {
        auto* frame = new QFrame(this);
        frame->setObjectName("screenPreviewFrame");
        frame->setFrameShape(QFrame::Box);
        frame->setFixedSize(326, 246);
        auto* title = new QLabel(QStringLiteral("Screen Preview"), frame);
        title->move(8, 4);
        preview_ = new QLabel(frame);
        preview_->setObjectName("screenPreview");
        if (const auto origin = screenPreviewOrigin(app.modelId())) {
            if (context.screenPreview) {
                const QImage picture = context.screenPreview(*screen);
                preview_->setPixmap(QPixmap::fromImage(picture));
                preview_->setFixedSize(picture.width() + 2, picture.height() + 2);
            }
            preview_->setFrameShape(QFrame::Box);
            // The frame is the layout's face; the preview sits where the unit's display is.
            preview_->move(std::max(0, std::min(origin->x - 2, 326 - preview_->width())),
                           std::max(0, std::min(origin->y - 70, 246 - preview_->height())));
        } else {
            preview_->setText(textOf(kWrongDisplayType));
            preview_->move(8, 24);
        }
        // Beside three lists the preview is wider than the smallest main window leaves: it scrolls.
        auto* scroll = new QScrollArea(this);
        scroll->setObjectName("screenPreviewScroll");
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setWidget(frame);
        scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        scroll->setMinimumWidth(120);
        scroll->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
        row->addWidget(scroll);
    }
    layout->addLayout(row, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
    close->setAutoDefault(false);
    if (hasHelp()) {
        QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
        help->setAutoDefault(false);
        connect(help, &QPushButton::clicked, this, &ShellDialog::requestHelp);
    }
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(panel_, &TaskListPanel::changed, this, [&context] {
        if (context.modified) {
            context.modified();
        }
    });
    resize(std::max(width(), kind == Kind::Screen ? 900 : 720), 420);
    panel_->listRadio(0)->setFocus();
}

} // namespace quillon::gui
