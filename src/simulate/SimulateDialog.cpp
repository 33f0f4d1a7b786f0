#include "simulate/SimulateDialog.h"

#include "edit/define/Keypad.h"
#include "model/Application.h"
#include "model/PanelFont.h"
#include "model/PanelModel.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "sim/SimScript.h"
#include "simulate/EventLog.h"
#include "simulate/FrontPanelWidget.h"
#include "simulate/LiveNodesPanel.h"
#include "simulate/SimulatorDisplay.h"

#include <algorithm>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

constexpr int kValueColumn = 2;
// The window's size when it first opens (the screen permitting): room for the display to grow.
constexpr int kPreferredWidth = 1000;
constexpr int kPreferredHeight = 760;
constexpr int kNameWidth = 80;

} // namespace

SimulateDialog::SimulateDialog(QWidget* parent, const Application& application, SimMemory::AreaSource areas,
                               const PanelFont& font, const PictureSource* pictures)
    : ShellDialog(parent, 0), application_(application), panel_(application) {
    setWindowTitle(kTitle);
    setObjectName("SimulateDialog");
    Simulator::Options options;
    options.liveReadEachScan =
        false; // a slow live line must not hold the window once for every scan of a tick
    simulator_ = std::make_unique<Simulator>(application, std::move(areas), options);

    // The display at the largest zoom that leaves room for the tag table beside it.
    const ModelSelection model = application.modelSelection();
    const int zoom = model.canvas.width * 2 <= 300 ? 20 : 10;
    display_ = new SimulatorDisplay(*simulator_, font, pictures, zoom, this);
    connect(display_, &SimulatorDisplay::touched, this, [this] { refresh(); });

    // The front panel: the display and the keys as the unit shows them.
    auto* front = new FrontPanelWidget(panel_, QString::fromUtf8(modelName(application.modelId()).data()),
                                       display_, this);
    for (const auto& [key, button] : front->buttons()) {
        const std::uint8_t k = key;
        button->setToolTip(keyToolTip(k));
        button->installEventFilter(this);
        connect(button, &QToolButton::pressed, this, [this, k] { pressKey(k); });
        connect(button, &QToolButton::released, this, [this, k] {
            held_.erase(k);
            releaseKey(k);
            // A key held for a combination goes up once the second key has been pressed and let go.
            for (const std::uint8_t first : std::set<std::uint8_t>(held_)) {
                if (first != k) {
                    holdKey(first);
                }
            }
        });
        keys_[k] = button;
    }
    // Zoom: whole factors up to 8 times, or fitted to the room the window gives the display.
    zoom_ = new QComboBox(this);
    zoom_->setObjectName("simulatorZoom");
    zoom_->addItem(tr("Fit"), 0);
    for (int factor = 1; factor <= SimulatorDisplay::kMaxFactor; ++factor) {
        zoom_->addItem(QString("%1 x").arg(factor), factor * 10);
    }
    zoom_->setCurrentIndex(0);
    display_->setZoom(0);
    connect(zoom_, &QComboBox::currentIndexChanged, this,
            [this](int index) { display_->setZoom(zoom_->itemData(index).toInt()); });
    auto* zoomLabel = new QLabel(tr("&Zoom:"), this);
    zoomLabel->setBuddy(zoom_);
    touchAreas_ = new QCheckBox(tr("Show touch &areas"), this);
    touchAreas_->setObjectName("simulatorTouchAreas");
    touchAreas_->setToolTip(tr("Outlines the touch areas of the shown screen on the display"));
    connect(touchAreas_, &QCheckBox::toggled, display_, &SimulatorDisplay::setShowTouchAreas);
    auto* view = new QHBoxLayout;
    view->addWidget(zoomLabel);
    view->addWidget(zoom_);
    view->addWidget(touchAreas_);
    view->addStretch(1);

    auto* left = new QVBoxLayout;
    left->addWidget(front, 1);
    left->addLayout(view);

    auto* tabs = new QTabWidget(this);
    tags_ = new QTableWidget(this);
    tags_->setObjectName("simulatorTags");
    buildTagTable();
    tabs->addTab(tags_, tr("&Tags"));
    log_ = new EventLog(this);
    log_->setObjectName("simulatorEvents");
    tabs->addTab(log_, tr("&Events"));
    nodes_ = new LiveNodesPanel(application_, *simulator_, this);
    tabs->addTab(nodes_, tr("&Nodes"));

    pause_ = new QPushButton(tr("&Pause"), this);
    pause_->setObjectName("simulatorPause");
    pause_->setCheckable(true);
    step_ = new QPushButton(tr("&Step"), this);
    step_->setObjectName("simulatorStep");
    step_->setEnabled(false);
    step_->setToolTip(tr("One scan of the paused unit"));
    speed_ = new QComboBox(this);
    speed_->setObjectName("simulatorSpeed");
    for (const char* s : {"0.1 x", "0.5 x", "1 x", "2 x", "5 x", "10 x"}) {
        speed_->addItem(QString::fromLatin1(s));
    }
    speed_->setCurrentIndex(2);
    auto* speedLabel = new QLabel(tr("S&peed:"), this);
    speedLabel->setBuddy(speed_);
    auto* close = new QPushButton(tr("&Close"), this);
    close->setObjectName("simulatorClose");
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(pause_, &QPushButton::toggled, this, [this](bool on) {
        step_->setEnabled(on);
        pause_->setText(on ? tr("&Run") : tr("&Pause"));
    });
    connect(step_, &QPushButton::clicked, this, [this] { step(); });
    auto* controls = new QHBoxLayout;
    controls->addWidget(pause_);
    controls->addWidget(step_);
    controls->addWidget(speedLabel);
    controls->addWidget(speed_);
    controls->addStretch(1);
    controls->addWidget(close);

    status_ = new QLabel(this);
    status_->setObjectName("simulatorStatus");
    // Why the last key press or touch did nothing.
    note_ = new QLabel(this);
    note_->setObjectName("simulatorNote");
    note_->setWordWrap(true);
    note_->setStyleSheet("QLabel { color: #a00000; }");

    auto* panels = new QHBoxLayout;
    panels->addLayout(left, 3);
    panels->addWidget(tabs, 2);

    auto* main = new QVBoxLayout(this);
    main->addLayout(panels, 1);
    main->addWidget(status_);
    main->addWidget(note_);
    main->addLayout(controls);

    for (QWidget* control : std::initializer_list<QWidget*>{tags_, log_, pause_, step_, speed_, close, tabs,
                                                            display_, zoom_, touchAreas_}) {
        control->installEventFilter(this);
    }
    setSizeGripEnabled(true);
    // The keyboard types on the keypad from the start.
    display_->setFocus(Qt::OtherFocusReason);
    simulator_->powerOn();
    refresh();
    connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_.start(kTickMs);
}

SimulateDialog::~SimulateDialog() = default;

void SimulateDialog::buildTagTable() {
    tags_->setColumnCount(3);
    tags_->setHorizontalHeaderLabels({tr("Tag"), tr("Address"), tr("Value")});
    tags_->verticalHeader()->setVisible(false);
    tags_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tags_->horizontalHeader()->setStretchLastSection(true);
    tags_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tags_->setSelectionMode(QAbstractItemView::SingleSelection);
    // F2 stays a key of the keypad: values are edited by a double click or by typing.
    tags_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::AnyKeyPressed);
    for (const Tag& tag : application_.tags()) {
        rows_.push_back(&tag);
    }
    tags_->setRowCount(static_cast<int>(rows_.size()));
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        const Tag& tag = *rows_[static_cast<std::size_t>(row)];
        auto* name = new QTableWidgetItem(QString::fromStdString(tag.name));
        name->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        auto* address = new QTableWidgetItem(QString("%1 : %2")
                                                 .arg(tag.nodeNumber(), 3, 10, QChar('0'))
                                                 .arg(QString::fromStdString(tag.displayAddress())));
        address->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        auto* value = new QTableWidgetItem;
        value->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
        value->setToolTip(tr("A number (0x for hexadecimal), on or off"));
        tags_->setItem(row, 0, name);
        tags_->setItem(row, 1, address);
        tags_->setItem(row, kValueColumn, value);
    }
    tags_->setColumnWidth(0, kNameWidth);
    tags_->setColumnWidth(1, kNameWidth);
    tags_->setMinimumWidth(2 * kNameWidth + 60);
    connect(tags_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) { valueEdited(item); });
}

bool SimulateDialog::paused() const noexcept {
    return pause_->isChecked();
}

double SimulateDialog::speed() const {
    static constexpr double kSpeeds[] = {0.1, 0.5, 1.0, 2.0, 5.0, 10.0};
    const int index = speed_->currentIndex();
    return index >= 0 && index < 6 ? kSpeeds[index] : 1.0;
}

void SimulateDialog::pressKey(std::uint8_t key) {
    keyboardNote_.clear();
    simulator_->pressKey(key);
    refresh();
}

void SimulateDialog::holdKey(std::uint8_t key) {
    if (held_.erase(key) != 0) {
        releaseKey(key);
        return;
    }
    if (simulator_->isKeyDown(key)) {
        return;
    }
    held_.insert(key);
    pressKey(key);
}

void SimulateDialog::releaseKey(std::uint8_t key) {
    simulator_->releaseKey(key);
    refresh();
}

void SimulateDialog::tick() {
    if (!paused()) {
        carry_ += kTickMs * speed();
        const auto whole = static_cast<std::uint64_t>(carry_);
        carry_ -= static_cast<double>(whole);
        simulator_->advance(whole);
    }
    refresh();
}

void SimulateDialog::step() {
    if (!paused()) {
        return;
    }
    simulator_->advance(simulator_->options().scanMs);
    refresh();
}

bool SimulateDialog::setTagValue(const Tag& tag, const QString& text) {
    std::int64_t value = 0;
    if (!SimScript::parseValue(text.trimmed().toStdString(), value)) {
        log_->append(simulator_->now(),
                     tr("\"%1\" is not a value for %2: a number, 0x hexadecimal, on or off")
                         .arg(text, QString::fromStdString(tag.name)));
        refresh();
        return false;
    }
    simulator_->setValue(tag, static_cast<std::uint64_t>(value));
    log_->append(simulator_->now(), tr("%1 set to %2")
                                        .arg(QString::fromStdString(tag.name))
                                        .arg(static_cast<qulonglong>(simulator_->value(tag))));
    refresh();
    return true;
}

void SimulateDialog::valueEdited(QTableWidgetItem* item) {
    if (item == nullptr || item->column() != kValueColumn || item->row() < 0 ||
        item->row() >= static_cast<int>(rows_.size())) {
        return;
    }
    setTagValue(*rows_[static_cast<std::size_t>(item->row())], item->text());
}

QStringList SimulateDialog::logLines() const {
    return log_->lines();
}

void SimulateDialog::refresh() {
    for (const SimEvent& event : simulator_->takeEvents()) {
        log_->append(event.time, QString::fromStdString(event.text));
    }
    display_->refresh();
    nodes_->refresh();
    {
        // A value being typed is left alone until the user ends the edit.
        const QSignalBlocker block(tags_);
        QWidget* focus = QApplication::focusWidget();
        const bool editing = focus != nullptr && focus != tags_ && tags_->isAncestorOf(focus);
        const int edited = tags_->currentRow();
        for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
            if (editing && row == edited) {
                continue;
            }
            const QString text = QString::number(
                static_cast<qulonglong>(simulator_->value(*rows_[static_cast<std::size_t>(row)])));
            QTableWidgetItem* item = tags_->item(row, kValueColumn);
            if (item->text() != text) {
                item->setText(text);
            }
        }
    }
    const Screen* shown = simulator_->screen();
    QString extras;
    if (simulator_->dataEntry().active()) {
        extras += tr("   Data entry");
    }
    if (simulator_->openCollector()) {
        extras += tr("   Open collector on");
    }
    status_->setText(
        tr("Time %1 s   Screen %2%3")
            .arg(static_cast<double>(simulator_->now()) / 1000.0, 0, 'f', 2)
            .arg(shown != nullptr
                     ? QString("%1 : %2").arg(shown->number()).arg(QString::fromStdString(shown->name))
                     : tr("none"))
            .arg(extras));
    const QString note =
        keyboardNote_.isEmpty() ? QString::fromStdString(simulator_->keyNote()) : keyboardNote_;
    if (note_->text() != note) {
        note_->setText(note);
    }
    for (auto& [key, button] : keys_) {
        button->setDown(simulator_->isKeyDown(key));
    }
}

QString SimulateDialog::keyToolTip(std::uint8_t key) const {
    QString tip = tr("%1 (key %2)").arg(QString::fromStdString(keyName(key))).arg(key);
    const std::string legend = panel_.legend(key);
    if (!legend.empty()) {
        tip += "\n" + tr("Legend: %1").arg(QString::fromStdString(legend).replace('\n', ' '));
    }
    QStringList keyboard;
    for (const std::string& name : panel_.keyboardKeys(key)) {
        keyboard << QString::fromStdString(name);
    }
    if (!keyboard.isEmpty()) {
        tip += "\n" + tr("Keyboard: %1").arg(keyboard.join(", "));
    }
    tip += "\n" + tr("Right click (or Ctrl and a click): held down for a two-key combination");
    return tip;
}

QString SimulateDialog::keyboardName(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        return QString("F%1").arg(key - Qt::Key_F1 + 1);
    }
    if ((event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0) {
        return {};
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return "Return";
    case Qt::Key_Escape:
        return "Escape";
    case Qt::Key_Delete:
        return "Delete";
    case Qt::Key_Backspace:
        return "Backspace";
    case Qt::Key_Left:
        return "Left";
    case Qt::Key_Right:
        return "Right";
    case Qt::Key_Up:
        return "Up";
    case Qt::Key_Down:
        return "Down";
    case Qt::Key_PageUp:
        return "PageUp";
    case Qt::Key_PageDown:
        return "PageDown";
    case Qt::Key_Insert:
        return "Insert";
    case Qt::Key_Plus:
        return "+";
    case Qt::Key_Minus:
        return "-";
    default:
        break;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return QString(QChar('0' + (key - Qt::Key_0)));
    }
    if (key >= Qt::Key_A && key <= Qt::Key_F) {
        return QString(QChar('A' + (key - Qt::Key_A)));
    }
    // Typed text without a key code (input methods, scripted typing).
    const QString text = event.text().toUpper();
    if (key == 0 && text.size() == 1 &&
        (text[0].isDigit() || (text[0] >= 'A' && text[0] <= 'F') || text[0] == '+' || text[0] == '-')) {
        return text;
    }
    return {};
}

std::uint8_t SimulateDialog::panelKey(const QObject* watched, const QKeyEvent& event) const {
    const QString name = keyboardName(event);
    if (name.isEmpty()) {
        return 0;
    }
    // The tag table, the lists and the window's buttons keep their own keys; F1 ... still reach the keypad
    // from them.
    const auto* widget = qobject_cast<const QWidget*>(watched);
    const bool ownKeys = widget != nullptr &&
                         (widget == tags_ || tags_->isAncestorOf(widget) || widget == speed_ ||
                          speed_->isAncestorOf(widget) || widget == zoom_ || zoom_->isAncestorOf(widget) ||
                          qobject_cast<const QPushButton*>(widget) != nullptr);
    if (ownKeys && !(name.size() > 1 && name[0] == 'F')) {
        return 0;
    }
    return panel_.keyOfKeyboard(name.toStdString());
}

bool SimulateDialog::keyboardKey(QObject* watched, QKeyEvent* event) {
    const std::uint8_t key = panelKey(watched, *event);
    if (key == 0) {
        // A digit typed at the display or the keypad that no key carries: say so.
        const QString name = keyboardName(*event);
        const auto* widget = qobject_cast<const QWidget*>(watched);
        const bool onPanel = widget == display_ || widget == this ||
                             std::any_of(keys_.begin(), keys_.end(),
                                         [widget](const auto& entry) { return entry.second == widget; });
        if (event->type() == QEvent::KeyPress && onPanel && name.size() == 1 && !event->isAutoRepeat()) {
            keyboardNote_ = tr("No key of this keypad carries the legend %1").arg(name);
            refresh();
            return true;
        }
        return false;
    }
    if (!event->isAutoRepeat()) {
        if (event->type() == QEvent::KeyPress) {
            pressKey(key);
        } else {
            releaseKey(key);
        }
    }
    event->accept();
    return true;
}

bool SimulateDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        if (keyboardKey(watched, static_cast<QKeyEvent*>(event))) {
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick ||
        event->type() == QEvent::MouseButtonRelease) {
        // A right click, or Ctrl and a click, holds the key down (or lets a held key go); the button's own
        // press and release do not see it.
        auto* mouse = static_cast<QMouseEvent*>(event);
        const bool holding =
            mouse->button() == Qt::RightButton ||
            (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier));
        for (const auto& [key, button] : keys_) {
            if (button == watched && holding) {
                if (event->type() != QEvent::MouseButtonRelease) {
                    button->setFocus(Qt::MouseFocusReason);
                    holdKey(key);
                }
                return true;
            }
        }
    }
    return ShellDialog::eventFilter(watched, event);
}

void SimulateDialog::showEvent(QShowEvent* event) {
    ShellDialog::showEvent(event);
    if (sized_) {
        return;
    }
    sized_ = true;
    const QScreen* shown = screen();
    if (shown == nullptr) {
        return;
    }
    const QRect area = shown->availableGeometry();
    const QSize wanted = QSize(kPreferredWidth, kPreferredHeight).boundedTo(area.size() * 9 / 10);
    if (wanted.width() <= width() && wanted.height() <= height()) {
        return;
    }
    const QSize size = wanted.expandedTo(this->size());
    resize(size);
    move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2);
}

void SimulateDialog::keyPressEvent(QKeyEvent* event) {
    if (keyboardKey(this, event)) {
        return;
    }
    ShellDialog::keyPressEvent(event);
}

void SimulateDialog::keyReleaseEvent(QKeyEvent* event) {
    if (keyboardKey(this, event)) {
        return;
    }
    ShellDialog::keyReleaseEvent(event);
}

} // namespace quillon::gui
