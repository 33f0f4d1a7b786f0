// The yardstick of the start-up benchmark: a bare Qt Widgets main window with a menu bar and a status
// bar, started and timed the same way as the tool (--quit-when-idle quits once the loop is idle).

#include <cstring>

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    bool quitWhenIdle = false;
    for (int i = 1; i < argc; ++i) {
        quitWhenIdle = quitWhenIdle || std::strcmp(argv[i], "--quit-when-idle") == 0;
    }
    QMainWindow window;
    window.setWindowTitle("Bare window");
    window.menuBar()->addMenu("&File")->addAction("E&xit", &app, &QApplication::quit);
    window.statusBar()->showMessage("Ready");
    window.showMaximized();
    if (quitWhenIdle) {
        QTimer::singleShot(0, &app, &QApplication::quit);
    }
    return QApplication::exec();
}
