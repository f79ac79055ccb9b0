// A growing file, measured in the desktop program itself (offscreen): a logger appending rows at a
// steady rate to a watched file (the program's processor time and the delay from each write to the
// row in the Document), the processor time of one appended row, and of the idle watch. Prints one
// JSON object.
//
//   varnex_live_bench FOLDER FILE ROWS_PER_SECOND SECONDS
//
// FOLDER receives the configuration and a copy of FILE (the copy grows, FILE stays as it is).
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <mutex>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <vector>

#include "app/background_load.h"
#include "app/command_actions.h"
#include "app/desktop.h"
#include "app/reload_scheduler.h"
#include "bench_messages.h"
#include "shell/commands.h"
#include "util/numbers.h"

namespace {

using Clock = std::chrono::steady_clock;
using varnex::bench::SilentMessageBoxes;

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The number of columns and the x of the file's last line.
std::pair<int, double> lastRow(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(0, std::ios::end);
    const auto size = static_cast<std::streamoff>(in.tellg());
    in.seekg(std::max<std::streamoff>(0, size - 4096));
    std::string tail((std::istreambuf_iterator<char>(in)), {});
    while (!tail.empty() && (tail.back() == '\n' || tail.back() == '\r')) tail.pop_back();
    std::istringstream line(tail.substr(tail.rfind('\n') + 1));
    std::vector<std::string> words;
    for (std::string word; line >> word;) words.push_back(word);
    return {static_cast<int>(words.size()), words.empty() ? 0 : varnex::parseLeadingNumber(words.front())};
}

class Writer {
public:
    Writer(std::string path, int columns, double x) : m_path(std::move(path)), m_columns(columns), m_x(x) {}
    void row() {
        m_x += 0.001;
        std::string text = varnex::formatG(m_x, 12);
        for (int c = 1; c < m_columns; ++c) text += ' ' + varnex::formatG(c * 1.5, 6);
        text += '\n';
        std::ofstream(m_path, std::ios::binary | std::ios::app) << text;
    }

private:
    std::string m_path;
    int m_columns;
    double m_x;
};

void runFor(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void runUntil(const std::function<bool()>& done, int everyMs) {
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) loop.quit();
    });
    check.start(everyMs);
    loop.exec();
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: varnex_live_bench FOLDER FILE ROWS_PER_SECOND SECONDS\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string folder = std::filesystem::absolute(argv[1]).string();
    const double rate = std::max(0.1, varnex::parseLeadingNumber(argv[3]));
    const double seconds = std::max(1.0, varnex::parseLeadingNumber(argv[4]));
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/varnexw32.ini") << "print width=15\nwidth graph=0.3\nwidth frame=0.3\next=dat\n";
    const std::string data = folder + "/growing.dat";
    std::filesystem::copy_file(argv[2], data, std::filesystem::copy_options::overwrite_existing);
    const auto [columns, lastX] = lastRow(data);

    QApplication app(argc, argv);
    SilentMessageBoxes messages;
    varnex::DesktopOptions options;
    options.programPath = folder + "/varnexw32";
    varnex::Desktop desktop(std::move(options), messages);
    desktop.start(data);
    runUntil([&] { return !desktop.backgroundLoad().running(); }, 20);
    if (desktop.document().data == 0) {
        std::cerr << "varnex_live_bench: no data in " << data << '\n';
        return 1;
    }
    desktop.actions().runCommand(varnex::command::kWatch);
    runFor(1000);
    const auto rows = [&] { return desktop.document().sets[1].count; };
    Writer writer(data, columns, lastX);

    // The logger: a thread writes rows at the rate; every 5 ms the loop notes when a new count shows.
    const int total = static_cast<int>(rate * seconds);
    const int base = rows();
    std::vector<Clock::time_point> written(static_cast<std::size_t>(total));
    std::vector<Clock::time_point> seen(static_cast<std::size_t>(total));
    std::vector<bool> isSeen(static_cast<std::size_t>(total), false);
    std::atomic<int> done{0};
    const double cpuBefore = processorSeconds();
    const auto start = Clock::now();
    std::thread logger([&] {
        for (int k = 0; k < total; ++k) {
            std::this_thread::sleep_until(start + std::chrono::duration<double>(k / rate));
            written[static_cast<std::size_t>(k)] = Clock::now();
            writer.row();
            done = k + 1;
        }
    });
    runUntil(
        [&] {
            const int shown = std::min(total, rows() - base);
            const auto now = Clock::now();
            for (int k = 0; k < shown; ++k) {
                if (!isSeen[static_cast<std::size_t>(k)]) {
                    isSeen[static_cast<std::size_t>(k)] = true;
                    seen[static_cast<std::size_t>(k)] = now;
                }
            }
            return shown >= total || Clock::now() - start > std::chrono::duration<double>(seconds + 10);
        },
        5);
    logger.join();
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double loggerCpu = (processorSeconds() - cpuBefore) / wall;
    std::vector<double> delays;
    for (int k = 0; k < total; ++k) {
        if (isSeen[static_cast<std::size_t>(k)])
            delays.push_back(std::chrono::duration<double, std::milli>(seen[static_cast<std::size_t>(k)] -
                                                                        written[static_cast<std::size_t>(k)]).count());
    }
    const auto missing = static_cast<int>(total - static_cast<int>(delays.size()));

    // One appended row: the processor time from the write to the row in the Document.
    std::vector<double> oneRow;
    for (int i = 0; i < 5; ++i) {
        runFor(500);
        const int before = rows();
        const double cpu = processorSeconds();
        writer.row();
        runUntil([&] { return rows() > before; }, 5);
        oneRow.push_back(processorSeconds() - cpu);
    }

    // Idle with Watch on.
    runFor(500);
    const double idleCpu = processorSeconds();
    const auto idleStart = Clock::now();
    runFor(5000);
    const double idleShare =
        (processorSeconds() - idleCpu) / std::chrono::duration<double>(Clock::now() - idleStart).count();

    const double longest = delays.empty() ? 0 : *std::max_element(delays.begin(), delays.end());
    std::cout << "{\"rows\":" << base << ",\"logger_rows\":" << total << ",\"missing\":" << missing
              << ",\"logger_cpu_percent\":" << varnex::formatG(100 * loggerCpu)
              << ",\"delay_median_ms\":" << varnex::formatG(median(delays))
              << ",\"delay_max_ms\":" << varnex::formatG(longest)
              << ",\"reloads\":" << desktop.reloads().reloads()
              << ",\"one_row_cpu_s\":" << varnex::formatG(median(oneRow))
              << ",\"idle_cpu_percent\":" << varnex::formatG(100 * idleShare) << "}\n";
    return 0;
}
