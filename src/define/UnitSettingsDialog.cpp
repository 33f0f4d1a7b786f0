#include "define/UnitSettingsDialog.h"

#include "model/Application.h"
#include "ui/HelpTopics.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon::gui {
namespace {

QString fromStd(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

template <std::size_t N>
std::vector<std::string_view> entries(const std::array<std::string_view, N>& list) {
    return {list.begin(), list.end()};
}

} // namespace

UnitSettingsDialog::UnitSettingsDialog(QWidget* parent, Application& application, Prompter& prompter,
                                       std::function<void()> beforeRemoval)
    : ShellDialog(parent, static_cast<int>(HelpTopic::UnitSettings)), app_(application), prompter_(prompter),
      beforeRemoval_(std::move(beforeRemoval)), editor_(application) {
    setWindowTitle(" VQ5K's settings");
    setObjectName("UNIT_SETTINGS");
    UnitSettings& copy = editor_.copy();

    auto* hardware = new QGroupBox(tr("Hardware Options"), this);
    auto* hw = new QGridLayout(hardware);
    memory_ = addList("memory", tr("&Memory"), editor_.memoryEntries(), copy.memoryOption, hw, 0);
    // A memory the model does not have is refused; the list goes back to the memory kept.
    connect(memory_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && !editor_.chooseMemory(static_cast<std::uint8_t>(index), prompter_)) {
            showMemory();
        }
    });
    touch_ = new QCheckBox(tr("&Touch-screen"), hardware);
    touch_->setObjectName("touchScreen");
    touch_->setChecked(copy.touchScreen != 0);
    // Only graphic models have a touch screen; a character model shows the box disabled whatever it holds.
    touch_->setEnabled(editor_.touchScreenOffered());
    connect(touch_, &QCheckBox::toggled, this, [this](bool on) { editor_.setTouchScreen(on); });
    hw->addWidget(touch_, 1, 0, 1, 2);
    keypad_ = new QCheckBox(tr("Extended &Keypad"), hardware);
    keypad_->setObjectName("extendedKeypad");
    keypad_->setChecked(copy.extendedKeypad != 0);
    connect(keypad_, &QCheckBox::toggled, this, [this](bool on) {
        editor_.setExtendedKeypad(on);
        showKeypadSize();
    });
    hw->addWidget(keypad_, 2, 0, 1, 2);
    addField(UnitField::KeypadRows, tr("Number of &rows"), hw, 3);
    addField(UnitField::KeypadColumns, tr("Number of &columns :"), hw, 4);
    addField(UnitField::InputWords, tr("&Input words"), hw, 5);
    addField(UnitField::OutputWords, tr("&Output words"), hw, 6);

    auto* printer = new QGroupBox(tr("Printer Port Options"), this);
    auto* pr = new QGridLayout(printer);
    addList("baud", tr("&Baud Rate"), entries(UnitSettingsEditor::kBaudRates), copy.printerBaud, pr, 0);
    addList("bits", tr("N&umber of Bits"), entries(UnitSettingsEditor::kBits), copy.printerBits, pr, 1);
    addList("parity", tr("&Parity"), entries(UnitSettingsEditor::kParities), copy.printerParity, pr, 2);
    addField(UnitField::PrinterColumns, tr("Number of column&s"), pr, 3);
    addList("terminator", tr("Terminating c&haracter"), entries(UnitSettingsEditor::kTerminators),
            copy.printerTerminator, pr, 4);

    auto* keypadGroup = new QGroupBox(tr("Keypad's Options"), this);
    auto* kp = new QGridLayout(keypadGroup);
    addField(UnitField::QueueSize, tr("Keypad queue size"), kp, 0);
    addList("queueIgnore", tr("If queue is full then ignore"), entries(UnitSettingsEditor::kQueueIgnore),
            copy.queueFullIgnore, kp, 1);

    auto* floatGroup = new QGroupBox(tr("Float Format"), this);
    auto* fl = new QGridLayout(floatGroup);
    addList("floatFormat", tr("Float Format"), entries(UnitSettingsEditor::kFloatFormats),
            copy.floatWordOrder, fl, 0);

    QDialogButtonBox* buttons = makeButtons(true);
    // Alt+H belongs to "Terminating c&haracter" here.
    if (QPushButton* help = buttons->button(QDialogButtonBox::Help)) {
        help->setText(tr("He&lp"));
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &UnitSettingsDialog::tryAccept);
    auto* grid = new QGridLayout;
    grid->addWidget(hardware, 0, 0, 2, 1);
    grid->addWidget(printer, 0, 1);
    grid->addWidget(keypadGroup, 1, 1);
    grid->addWidget(floatGroup, 2, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    showKeypadSize();
}

QComboBox* UnitSettingsDialog::addList(const QString& name, const QString& label,
                                       const std::vector<std::string_view>& items, std::uint8_t& stored,
                                       QGridLayout* grid, int row) {
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    for (std::string_view item : items) {
        box->addItem(fromStd(item));
    }
    box->setCurrentIndex(stored < items.size() ? stored : -1);
    auto* text = new QLabel(label, this);
    // Labels may take two lines, so that the two option columns fit the smallest main window.
    text->setWordWrap(true);
    text->setBuddy(box);
    grid->addWidget(text, row, 0);
    grid->addWidget(box, row, 1);
    // A choice is stored as its index when it changes (the memory list asks the editor first).
    if (&stored != &editor_.copy().memoryOption) {
        connect(box, &QComboBox::currentIndexChanged, this, [&stored](int index) {
            if (index >= 0) {
                stored = static_cast<std::uint8_t>(index);
            }
        });
    }
    return box;
}

QLineEdit* UnitSettingsDialog::addField(UnitField field, const QString& label, QGridLayout* grid, int row) {
    auto* edit = new QLineEdit(fromStd(editor_.text(field)), this);
    edit->setObjectName(QString("field%1").arg(static_cast<int>(field)));
    edit->setMaxLength(static_cast<int>(UnitSettingsEditor::maxChars(field)));
    edit->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 6 + 16);
    auto* text = new QLabel(label, this);
    text->setWordWrap(true);
    text->setBuddy(edit);
    grid->addWidget(text, row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(new QLabel(fromStd(UnitSettingsEditor::rangeLabel(field)), this), row, 2);
    connect(edit, &QLineEdit::textEdited, this, [edit, field](const QString& typed) {
        const QString kept =
            QString::fromStdString(UnitSettingsEditor::type(field, typed.toStdString()).text);
        if (kept != typed) {
            edit->setText(kept);
            edit->setCursorPosition(static_cast<int>(kept.size()));
        }
    });
    connect(edit, &QLineEdit::editingFinished, this, [this, edit, field] {
        edit->setText(QString::fromStdString(editor_.leave(field, edit->text().toStdString())));
    });
    fields_[field] = edit;
    return edit;
}

QComboBox* UnitSettingsDialog::list(const QString& name) const {
    return findChild<QComboBox*>(name);
}

void UnitSettingsDialog::showKeypadSize() {
    const bool shown = editor_.keypadSizeShown();
    for (UnitField f : {UnitField::KeypadRows, UnitField::KeypadColumns}) {
        fields_[f]->setEnabled(shown);
        fields_[f]->setText(fromStd(editor_.text(f)));
    }
}

void UnitSettingsDialog::showMemory() {
    const std::uint8_t kept = editor_.copy().memoryOption;
    memory_->setCurrentIndex(kept < memory_->count() ? kept : -1);
}

void UnitSettingsDialog::tryAccept() {
    // Fields still being typed in count as left.
    for (auto& [field, edit] : fields_) {
        if (edit->isEnabled() && edit->isModified()) {
            edit->setText(QString::fromStdString(editor_.leave(field, edit->text().toStdString())));
        }
    }
    const std::size_t before = app_.countScreensWithTouchAreas();
    if (!editor_.accept(app_, prompter_, beforeRemoval_)) {
        // The memory kept is one the model does not have: the dialog stays open on the list.
        memory_->setFocus();
        return;
    }
    removed_ = before > 0 && app_.countScreensWithTouchAreas() == 0;
    // No answer kept the touch screen on.
    touch_->setChecked(app_.unitSettings().touchScreen != 0);
    accept();
}

} // namespace quillon::gui
