#pragma once

#include "sim/FrontPanel.h"
#include "sim/SimMemory.h"
#include "sim/Simulator.h"
#include "ui/ShellDialog.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>

#include <QTimer>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class QToolButton;

namespace quillon {
class Application;
class PanelFont;
class PictureSource;
} // namespace quillon

namespace quillon::gui {

class EventLog;
class LiveNodesPanel;
class SimulatorDisplay;

// "Simulate": the open application running on a simulated unit. The panel's display (click to touch it),
// its keypad (mouse, and the keyboard: F1 ... reach the keys of those names, digits, arrows, Return,
// Escape ... the keys that carry those legends; a key's tool tip tells), a table of the tags with their
// live values that the user may change as the PLC would, the event log, and pause, one-scan steps and the
// speed of simulated time. A two-key combination is pressed by holding both keyboard keys, or by holding
// one key button down with a right click (or Ctrl and a click) and clicking the second. The dialog is
// modal, so the application stays as it is while it runs.
class SimulateDialog final : public ShellDialog {
    Q_OBJECT
public:
    // Real milliseconds between two updates of the window.
    static constexpr int kTickMs = 50;
    static constexpr const char* kTitle = "Quillon : Simulate";

    SimulateDialog(QWidget* parent, const Application& application, SimMemory::AreaSource areas,
                   const PanelFont& font, const PictureSource* pictures);
    ~SimulateDialog() override;

    Simulator& simulator() noexcept { return *simulator_; }
    SimulatorDisplay& display() noexcept { return *display_; }
    LiveNodesPanel& liveNodes() noexcept { return *nodes_; }
    bool paused() const noexcept;
    // Simulated milliseconds per real millisecond.
    double speed() const;

    // What the keypad buttons do.
    void pressKey(std::uint8_t key);
    void releaseKey(std::uint8_t key);
    // A key held down by a right click (or Ctrl and a click) until it is clicked so again, or until another
    // key has been pressed and let go: the first key of a combination.
    void holdKey(std::uint8_t key);
    bool held(std::uint8_t key) const { return held_.count(key) != 0; }
    const FrontPanel& frontPanel() const noexcept { return panel_; }
    // The keyboard key an event names as FrontPanel does ("F9", "1", "Return"); empty for others.
    static QString keyboardName(const QKeyEvent& event);
    // Simulated time moves on by one update at the chosen speed, unless paused.
    void tick();
    // One scan while paused.
    void step();
    // Writes a tag as the tag table does; false (and a line in the log) for a text that is not a value.
    bool setTagValue(const Tag& tag, const QString& text);
    // Every line of the event log.
    QStringList logLines() const;

protected:
    // F1 ... of the keypad reach the keys whichever control has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // The first showing makes the window large enough for the display to grow, within the screen.
    void showEvent(QShowEvent* event) override;

private:
    void buildTagTable();
    void refresh();
    void valueEdited(QTableWidgetItem* item);
    // The panel key a keyboard event presses where it happened (only F1 ... in the tag table, the speed and
    // zoom lists, their editors and the window's push buttons); 0 for none.
    std::uint8_t panelKey(const QObject* watched, const QKeyEvent& event) const;
    bool keyboardKey(QObject* watched, QKeyEvent* event);
    QString keyToolTip(std::uint8_t key) const;

    const Application& application_;
    FrontPanel panel_;
    std::unique_ptr<Simulator> simulator_;
    SimulatorDisplay* display_ = nullptr;
    QTableWidget* tags_ = nullptr;
    EventLog* log_ = nullptr;
    LiveNodesPanel* nodes_ = nullptr;
    QPushButton* pause_ = nullptr;
    QPushButton* step_ = nullptr;
    QComboBox* speed_ = nullptr;
    QComboBox* zoom_ = nullptr;
    QCheckBox* touchAreas_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* note_ = nullptr;
    std::map<std::uint8_t, QToolButton*> keys_;
    std::set<std::uint8_t> held_;
    QString keyboardNote_;
    bool sized_ = false;
    std::vector<const Tag*> rows_;
    QTimer timer_;
    double carry_ = 0.0;
};

} // namespace quillon::gui
