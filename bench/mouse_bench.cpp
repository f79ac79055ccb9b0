// The mouse on the graph window, measured in the desktop program itself (offscreen) on a large file:
// the time from a mouse move to the updated read-out in the status bar, and from a position command
// ("To here" on the x axis) to the new picture painted in the graph window. Prints one JSON object.
//
//   varnex_mouse_bench FILE [COMMANDS]
//
// FILE is opened as the command line opens it, with the configuration varnexw32.ini beside the bench
// program (the build puts the program's own there).
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <algorithm>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_actions.h"
#include "app/desktop.h"
#include "app/main_window.h"
#include "bench_messages.h"
#include "document/model.h"
#include "graph/graph_mouse.h"
#include "graph/graph_view.h"
#include "graph/graph_window.h"
#include "util/numbers.h"

namespace {

using varnex::bench::SilentMessageBoxes;

void moveTo(QWidget& widget, QPointF at) {
    QMouseEvent event(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

double milliseconds(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

// Processor time of this thread: on a busy machine it shows the work apart from the waiting.
double threadMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Summary {
    double median = 0, p99 = 0, longest = 0;
};

Summary summarise(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 99 / 100], times.back()};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: varnex_mouse_bench FILE [COMMANDS]\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const int commands = argc == 3 ? std::max(1, varnex::parseLeadingInt(argv[2])) : 10;
    QApplication app(argc, argv);
    SilentMessageBoxes messages;
    varnex::DesktopOptions options;
    options.programPath = (QCoreApplication::applicationDirPath() + "/varnexw32").toStdString();
    varnex::Desktop desktop(std::move(options), messages);
    desktop.start(argv[1]);
    if (desktop.document().data == 0) {
        std::cerr << "no data in " << argv[1] << '\n';
        return 1;
    }
    varnex::MainWindow& window = desktop.window();
    window.resize(1200, 800);
    QApplication::processEvents();
    varnex::GraphWindow& graph = window.graphWindow();
    const QRect client = graph.clientArea();
    const int side = std::min(client.width(), client.height());
    // Page point (px, py) of the frame as a window position.
    const auto at = [&](double px, double py) {
        return QPointF(client.x() + px / 100 * side, client.y() + (100 - py) / 100 * side);
    };

    // Mouse moves over the frame: each one ends with the read-out painted in the status bar.
    std::vector<double> moves;
    for (int i = 0; i < 2000; ++i) {
        const QPointF p = at(26 + (i * 37) % 68, 26 + (i * 53) % 68);
        QElapsedTimer timer;
        timer.start();
        moveTo(graph, p);
        moves.push_back(milliseconds(timer));
    }
    const std::string readout = window.statusText(varnex::kCursorPart).toStdString();

    // "To here" on the x axis at three quarters of the frame, then the full range again (not timed).
    std::vector<double> recorded, painted, processor;
    for (int i = 0; i < commands; ++i) {
        moveTo(graph, at(25 + 0.75 * 70, 60));
        const varnex::Picture* before = desktop.graph().picture();
        const double cpu = threadMilliseconds();
        QElapsedTimer timer;
        timer.start();
        desktop.actions().runCommand(1502);
        recorded.push_back(milliseconds(timer));
        graph.repaint();
        painted.push_back(milliseconds(timer));
        processor.push_back(threadMilliseconds() - cpu);
        if (desktop.graph().picture() == before) {
            std::cerr << "the position command drew no new picture\n";
            return 1;
        }
        desktop.actions().runCommand(108);
    }

    // The first move pays for the status bar's first paint of a text; the others are the steady cost.
    const double firstMove = moves.front();
    const Summary move = summarise(std::vector<double>(moves.begin() + 1, moves.end()));
    const Summary record = summarise(recorded);
    const Summary paint = summarise(painted);
    const Summary cpu = summarise(processor);
    std::cout << "{\"moves\":" << moves.size() << ",\"move_median_ms\":" << varnex::formatG(move.median)
              << ",\"move_p99_ms\":" << varnex::formatG(move.p99) << ",\"move_max_ms\":" << varnex::formatG(move.longest)
              << ",\"move_first_ms\":" << varnex::formatG(firstMove) << ",\"commands\":" << commands
              << ",\"record_median_ms\":" << varnex::formatG(record.median)
              << ",\"command_median_ms\":" << varnex::formatG(paint.median)
              << ",\"command_max_ms\":" << varnex::formatG(paint.longest)
              << ",\"command_cpu_median_ms\":" << varnex::formatG(cpu.median) << ",\"sets\":" << desktop.document().data
              << ",\"readout\":\"" << readout << "\"}\n";
    return 0;
}
