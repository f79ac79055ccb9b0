// The desktop program with a large file, measured in the program itself (offscreen): the time from
// the start of the process to the first picture painted in the graph window and the memory held
// then, and the redraw after a change of the x range (the picture path a panel change or a range
// command takes: record the picture, paint it). Prints one JSON object.
//
//   varnex_desktop_bench FOLDER FILE [REDRAWS]
//
// FOLDER receives the configuration; FILE is opened as the command line opens it.
#include <QApplication>
#include <QElapsedTimer>
#include <QRect>
#include <QWindow>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "app/background_load.h"
#include "app/desktop.h"
#include "app/main_window.h"
#include "bench_messages.h"
#include "graph/graph_view.h"
#include "graph/graph_window.h"
#include "util/numbers.h"

namespace {

using varnex::bench::SilentMessageBoxes;

double secondsSince(const timespec& start) {
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<double>(now.tv_sec - start.tv_sec) + static_cast<double>(now.tv_nsec - start.tv_nsec) / 1e9;
}

// When this process started, on the clock of CLOCK_BOOTTIME (to the kernel's tick, 10 ms), so that
// the figure counts loading the program and its libraries as a run of --info does.
timespec processStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // Field 22, counted after the command name in parentheses (which may hold blanks).
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {
    }
    const double seconds = static_cast<double>(std::stoll(field)) / static_cast<double>(sysconf(_SC_CLK_TCK));
    timespec start{};
    start.tv_sec = static_cast<time_t>(seconds);
    start.tv_nsec = static_cast<long>((seconds - static_cast<double>(start.tv_sec)) * 1e9);
    return start;
}

double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double peakMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

double currentMiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// Records and paints the picture of the current Document, as every redraw does.
void redrawAndPaint(varnex::Desktop& desktop) {
    desktop.graph().redraw(desktop.document());
    desktop.window().graphWindow().repaint();
}

}  // namespace

int main(int argc, char** argv) {
    const timespec started = processStart();
    if (argc < 3 || argc > 4) {
        std::cerr << "usage: varnex_desktop_bench FOLDER FILE [REDRAWS]\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string folder = std::filesystem::absolute(argv[1]).string();
    const std::string file = std::filesystem::absolute(argv[2]).string();
    const int redraws = argc == 4 ? std::max(1, varnex::parseLeadingInt(argv[3])) : 5;
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/varnexw32.ini") << "print width=15\nwidth graph=0.3\nwidth frame=0.3\next=dat\n";

    QApplication app(argc, argv);
    SilentMessageBoxes messages;
    varnex::DesktopOptions options;
    options.programPath = folder + "/varnexw32";
    varnex::Desktop desktop(std::move(options), messages);
    desktop.start(file);
    // A big file is read in the background: the window is there at once and the event loop keeps
    // answering; the longest wait of a 10 ms timer during the read shows how well.
    QApplication::processEvents();
    const double windowShown = secondsSince(started);
    double longestWaitMs = 0;
    if (desktop.backgroundLoad().running()) {
        QEventLoop loop;
        QElapsedTimer sinceTick;
        sinceTick.start();
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            longestWaitMs = std::max(longestWaitMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
            sinceTick.restart();
        });
        QObject::connect(&desktop.backgroundLoad(), &varnex::BackgroundLoad::ended, &loop, &QEventLoop::quit);
        tick.start(10);
        loop.exec();
    }
    // A window paints only once the platform has exposed it (at most a few event-loop turns).
    QElapsedTimer exposing;
    exposing.start();
    while (!(desktop.window().windowHandle() && desktop.window().windowHandle()->isExposed()) &&
           exposing.elapsed() < 5000) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    desktop.window().graphWindow().repaint();
    const double firstPicture = secondsSince(started);
    const double firstProcessor = processorSeconds();
    const double firstPeak = peakMiB();
    const double firstHeld = currentMiB();
    if (desktop.graph().picture() == nullptr) {
        std::cerr << "varnex_desktop_bench: no picture of " << file << '\n';
        return 1;
    }
    const std::size_t ops = desktop.graph().picture()->ops().size();

    // Zoom into the middle half of the x range and back, as range commands do.
    varnex::Document& doc = desktop.document();
    const double xmin = doc.xmin;
    const double xmax = doc.xmax;
    std::vector<double> times, processor;
    for (int i = 0; i < redraws; ++i) {
        const bool zoomed = i % 2 == 0;
        doc.xmin = zoomed ? xmin + (xmax - xmin) / 4 : xmin;
        doc.xmax = zoomed ? xmax - (xmax - xmin) / 4 : xmax;
        QElapsedTimer timer;
        timer.start();
        const double before = processorSeconds();
        redrawAndPaint(desktop);
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        processor.push_back((processorSeconds() - before) * 1000);
    }
    std::sort(times.begin(), times.end());
    std::sort(processor.begin(), processor.end());

    // A paint with nothing changed (an expose): the window copies the picture it keeps.
    std::vector<double> repaints;
    for (int i = 0; i < redraws; ++i) {
        QElapsedTimer timer;
        timer.start();
        desktop.window().graphWindow().repaint();
        repaints.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(repaints.begin(), repaints.end());
    const QRect client = desktop.window().graphWindow().clientArea();

    // Processor times beside the wall-clock times: on a machine shared with other work they show
    // what the program itself spent.
    std::cout << "{\"first_picture_s\":" << varnex::formatG(firstPicture)
              << ",\"window_shown_s\":" << varnex::formatG(windowShown)
              << ",\"longest_event_wait_ms\":" << varnex::formatG(longestWaitMs)
              << ",\"first_picture_cpu_s\":" << varnex::formatG(firstProcessor)
              << ",\"first_picture_peak_mib\":" << varnex::formatG(firstPeak)
              << ",\"first_picture_held_mib\":" << varnex::formatG(firstHeld)
              << ",\"picture_ops\":" << ops << ",\"redraws\":" << redraws
              << ",\"redraw_median_ms\":" << varnex::formatG(times[times.size() / 2])
              << ",\"redraw_max_ms\":" << varnex::formatG(times.back())
              << ",\"redraw_cpu_median_ms\":" << varnex::formatG(processor[processor.size() / 2])
              << ",\"redraw_cpu_max_ms\":" << varnex::formatG(processor.back())
              << ",\"repaint_median_ms\":" << varnex::formatG(repaints[repaints.size() / 2])
              << ",\"window_px\":" << std::min(client.width(), client.height())
              << ",\"peak_mib\":" << varnex::formatG(peakMiB()) << "}\n";
    return 0;
}
