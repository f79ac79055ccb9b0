// Automatic reload, measured in the desktop program itself (offscreen): the time from a rewrite of a
// 100,000-row data file to the new picture, and the processor time the watch costs while nothing
// changes. Prints one JSON object.
//
//   varnex_watch_bench FOLDER [REWRITES]
//
// FOLDER receives the configuration and the data file.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "app/command_actions.h"
#include "app/desktop.h"
#include "bench_messages.h"
#include "graph/graph_view.h"
#include "shell/commands.h"
#include "util/numbers.h"

namespace {

using varnex::bench::SilentMessageBoxes;

// 100,000 rows of x and two smooth signals, as a measurement writes them; `round` shifts their phase
// so that every rewrite draws anew.
std::string makeData(int round) {
    std::string text = "Watch benchmark\n\nsignal\n";
    text.reserve(4'000'000);
    for (int i = 0; i < 100'000; ++i) {
        const double x = i * 0.01;
        text += varnex::formatG(x, 8) + ' ' + varnex::formatG(100 * std::sin(x / 50 + round), 6) + ' ' +
                varnex::formatG(60 * std::cos(x / 20 + round), 6) + '\n';
    }
    return text;
}

void writeData(const std::string& path, const std::string& text) {
    // Written to a temporary name and renamed, as measurement programs often replace their files.
    const std::string temporary = path + ".new";
    std::ofstream(temporary, std::ios::binary) << text;
    std::filesystem::rename(temporary, path);
}

// Runs the event loop until done() holds, looking every millisecond.
void runUntil(const std::function<bool()>& done) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    check.start(1);
    loop.exec();
}

double processSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: varnex_watch_bench FOLDER [REWRITES]\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string folder = std::filesystem::absolute(argv[1]).string();
    const int rewrites = argc == 3 ? std::max(1, varnex::parseLeadingInt(argv[2])) : 20;
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/varnexw32.ini") << "print width=15\nwidth graph=0.3\nwidth frame=0.3\next=dat\n";
    const std::string data = folder + "/watched.dat";
    writeData(data, makeData(0));

    QApplication app(argc, argv);
    SilentMessageBoxes messages;
    varnex::DesktopOptions options;
    options.programPath = folder + "/varnexw32";
    varnex::Desktop desktop(std::move(options), messages);
    desktop.start(data);
    desktop.actions().runCommand(varnex::command::kWatch);

    // File times may be as coarse as the file system's clock: let each rewrite land later.
    std::vector<double> latencies;
    for (int round = 1; round <= rewrites; ++round) {
        const varnex::Picture* before = desktop.graph().picture();
        const std::string text = makeData(round);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        // From the moment the new file is in place to the moment its picture is recorded.
        writeData(data, text);
        QElapsedTimer timer;
        timer.start();
        runUntil([&] { return desktop.graph().picture() != before || timer.elapsed() > 5000; });
        latencies.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(latencies.begin(), latencies.end());

    // Idle: the watch runs, nothing changes.
    const double idleSeconds = 3;
    const double cpuBefore = processSeconds();
    QElapsedTimer idle;
    idle.start();
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(idleSeconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    const double cpuShare = (processSeconds() - cpuBefore) / (static_cast<double>(idle.elapsed()) / 1000);

    std::cout << "{\"rewrites\":" << rewrites << ",\"median_ms\":" << varnex::formatG(latencies[latencies.size() / 2])
              << ",\"max_ms\":" << varnex::formatG(latencies.back())
              << ",\"idle_cpu_percent\":" << varnex::formatG(100 * cpuShare) << "}\n";
    return 0;
}
