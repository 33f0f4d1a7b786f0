// One drag step of a 255-object selection on the 320 x 240 model at zoom 30, as the canvas does it while
// the mouse moves: the move proposal for the new pointer position and the frame shown (the screen's
// picture, kept while the drag lasts, with every handle and every outline). Compare with
// BM_RepaintFullScreen: a step must cost at most two full repaints.

#include "edit/screen/EditorSession.h"
#include "model/Application.h"
#include "model/PanelFont.h"
#include "model/RecordingPrompter.h"
#include "model/RectangleObject.h"
#include "model/Screen.h"
#include "model/TextObject.h"
#include "screen/ScreenCanvas.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

using namespace quillon;

namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

void BM_DragStepOfFullSelection(benchmark::State& state) {
    (void)application();
    RecordingPrompter prompter;
    auto app = Application::create(520, prompter);
    Screen* screen = *app->addScreen(std::make_unique<Screen>(1));
    for (int i = 0; i < 255; ++i) {
        std::unique_ptr<ScreenObject> object;
        if (i % 2 == 0) {
            object = std::make_unique<RectangleObject>();
        } else {
            auto text = std::make_unique<TextObject>();
            static_cast<void>(text->setText("Abc"));
            object = std::move(text);
        }
        const int x = (i % 16) * 18;
        const int y = (i / 16) * 14 + 8;
        object->left = x;
        object->top = y;
        object->right = x + 17;
        object->bottom = y + 7;
        static_cast<void>(screen->appendObject(std::move(object)));
    }
    EditorSession session(*app);
    static_cast<void>(session.open(*screen));
    while (session.setZoom(+1)) {
    }
    session.selectAll();
    gui::ScreenCanvas canvas(session, PanelFont::builtIn());
    const CanvasGeometry geometry = session.geometry();
    canvas.resize(geometry.windowWidth(), geometry.windowHeight());
    static_cast<void>(canvas.frame());
    // The button goes down inside the selection, then each step is one pointer move and the frame.
    const QPointF start(geometry.toWindowStart(5), geometry.toWindowStart(10));
    QMouseEvent press(QEvent::MouseButtonPress, start, start, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&canvas, &press);
    int step = 0;
    for (auto _ : state) {
        ++step;
        const QPointF at = start + QPointF((step % 7) * 3 + 3, (step % 5) * 3 + 3);
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&canvas, &move);
        benchmark::DoNotOptimize(canvas.frame());
    }
    if (session.drag() == nullptr) {
        state.SkipWithError("the press did not start a drag of the selection");
    }
    session.cancelDrag();
}
BENCHMARK(BM_DragStepOfFullSelection)->Unit(benchmark::kMicrosecond);

} // namespace
