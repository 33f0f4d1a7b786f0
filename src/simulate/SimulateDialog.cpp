#include "simulate/SimulateDialog.h"

#include "edit/Keypad.h"
#include "model/Application.h"
#include "model/PanelFont.h"
#include "model/Screen.h"
#include "model/Tag.h"
#include "sim/SimScript.h"
#include "simulate/SimulatorDisplay.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillon::gui {

namespace {

constexpr int kKeyColumns = 8;
constexpr int kKeySize = 30;
constexpr int kLogLines = 2000;
constexpr int kValueColumn = 2;
constexpr int kNameWidth = 80;

QString stamp(std::uint64_t time) {
    return QString("[%1 ms] ").arg(static_cast<qulonglong>(time), 8);
}

} // namespace

SimulateDialog::SimulateDialog(QWidget* parent, const Application& application, SimMemory::AreaSource areas,
                               const PanelFont& font, const PictureSource* pictures)
    : ShellDialog(parent, 0), application_(application) {
    setWindowTitle(kTitle);
    setObjectName("SimulateDialog");
    simulator_ = std::make_unique<Simulator>(application, std::move(areas), Simulator::Options{});

    // The display at the largest zoom that leaves room for the tag table beside it.
    const ModelSelection model = application.modelSelection();
    const int zoom = model.canvas.width * 2 <= 300 ? 20 : 10;
    display_ = new SimulatorDisplay(*simulator_, font, pictures, zoom, this);
    connect(display_, &SimulatorDisplay::touched, this, [this] { refresh(); });

    auto* keypad = new QGridLayout;
    keypad->setSpacing(2);
    if (const auto layout = keypadLayoutOf(application.modelId())) {
        int index = 0;
        for (int k = layout->firstKey; k <= layout->lastKey; ++k, ++index) {
            const auto key = static_cast<std::uint8_t>(k);
            auto* button = new QToolButton(this);
            button->setObjectName(QString("key%1").arg(k));
            button->setText(QString::fromStdString(keyCaption(*layout, key)));
            button->setFixedSize(kKeySize, kKeySize);
            button->setFocusPolicy(Qt::NoFocus);
            button->setToolTip(tr("Key %1").arg(k));
            connect(button, &QToolButton::pressed, this, [this, key] { pressKey(key); });
            connect(button, &QToolButton::released, this, [this, key] { releaseKey(key); });
            keypad->addWidget(button, index / kKeyColumns, index % kKeyColumns);
            keys_[key] = button;
        }
    }
    auto* left = new QVBoxLayout;
    left->addWidget(display_, 0, Qt::AlignLeft);
    left->addLayout(keypad);
    left->addStretch(1);

    auto* tabs = new QTabWidget(this);
    tags_ = new QTableWidget(this);
    tags_->setObjectName("simulatorTags");
    buildTagTable();
    tabs->addTab(tags_, tr("&Tags"));
    log_ = new QPlainTextEdit(this);
    log_->setObjectName("simulatorEvents");
    log_->setReadOnly(true);
    log_->setMaximumBlockCount(kLogLines);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    tabs->addTab(log_, tr("&Events"));

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
    panels->addLayout(left);
    panels->addWidget(tabs, 1);

    auto* main = new QVBoxLayout(this);
    main->addLayout(panels, 1);
    main->addWidget(status_);
    main->addWidget(note_);
    main->addLayout(controls);

    for (QWidget* control :
         std::initializer_list<QWidget*>{tags_, log_, pause_, step_, speed_, close, tabs}) {
        control->installEventFilter(this);
    }
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
    simulator_->pressKey(key);
    refresh();
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
        log_->appendPlainText(stamp(simulator_->now()) +
                              tr("\"%1\" is not a value for %2: a number, 0x hexadecimal, on or off")
                                  .arg(text, QString::fromStdString(tag.name)));
        refresh();
        return false;
    }
    simulator_->setValue(tag, static_cast<std::uint64_t>(value));
    log_->appendPlainText(stamp(simulator_->now()) +
                          tr("%1 set to %2")
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
    return log_->toPlainText().split('\n', Qt::SkipEmptyParts);
}

void SimulateDialog::refresh() {
    for (const SimEvent& event : simulator_->takeEvents()) {
        log_->appendPlainText(stamp(event.time) + QString::fromStdString(event.text));
    }
    display_->refresh();
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
    const QString note = QString::fromStdString(simulator_->keyNote());
    if (note_->text() != note) {
        note_->setText(note);
    }
    for (auto& [key, button] : keys_) {
        button->setDown(simulator_->isKeyDown(key));
    }
}

int SimulateDialog::functionKey(int qtKey) const {
    if (qtKey < Qt::Key_F1 || qtKey > Qt::Key_F12) {
        return 0;
    }
    const auto layout = keypadLayoutOf(application_.modelId());
    if (!layout) {
        return 0;
    }
    const std::string caption = "F" + std::to_string(qtKey - Qt::Key_F1 + 1);
    for (int k = layout->firstKey; k <= layout->lastKey; ++k) {
        if (keyCaption(*layout, static_cast<std::uint8_t>(k)) == caption) {
            return k;
        }
    }
    return 0;
}

bool SimulateDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (functionKey(key->key()) != 0) {
            if (event->type() == QEvent::KeyPress) {
                keyPressEvent(key);
            } else {
                keyReleaseEvent(key);
            }
            return true;
        }
    }
    return ShellDialog::eventFilter(watched, event);
}

void SimulateDialog::keyPressEvent(QKeyEvent* event) {
    if (const int key = functionKey(event->key()); key != 0) {
        if (!event->isAutoRepeat()) {
            pressKey(static_cast<std::uint8_t>(key));
        }
        event->accept();
        return;
    }
    ShellDialog::keyPressEvent(event);
}

void SimulateDialog::keyReleaseEvent(QKeyEvent* event) {
    if (const int key = functionKey(event->key()); key != 0) {
        if (!event->isAutoRepeat()) {
            releaseKey(static_cast<std::uint8_t>(key));
        }
        event->accept();
        return;
    }
    ShellDialog::keyReleaseEvent(event);
}

} // namespace quillon::gui
