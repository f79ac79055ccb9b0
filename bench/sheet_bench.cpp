// The data sheet with a file at its size limit, measured in the desktop program itself (offscreen):
// the time to load the file into the sheet and show it, and the time of one key press typed into it
// (the key event through the application's filters, and the repaint of the sheet). Prints one JSON
// object.
//
//   varnex_sheet_bench FOLDER [LIMITTEXT] [KEYS]
//
// FOLDER receives the configuration and the data file; LIMITTEXT defaults to the configuration's
// default, 256 (thousand bytes); KEYS (default 200) key presses are timed.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "bench_messages.h"
#include "app/desktop.h"
#include "app/main_window.h"
#include "app/sheet_commands.h"
#include "datasheet/data_sheet.h"
#include "document/sheet_file.h"
#include "util/numbers.h"

namespace {

using varnex::bench::SilentMessageBoxes;

// Rows of x and three signals up to the sheet's limit: the whole file loads (limittext × 1000 − 256
// bytes of sheet text at most).
std::string makeData(std::int64_t capacity) {
    std::string text = "Sheet benchmark\n\nsignal a  signal b  signal c\n";
    for (int i = 0;; ++i) {
        const double x = i * 0.01;
        const std::string row = varnex::formatFixed(x, 2) + ' ' + varnex::formatFixed(100 * std::sin(x / 5), 6) + ' ' +
                                varnex::formatFixed(60 * std::cos(x / 3), 6) + ' ' +
                                varnex::formatFixed(std::exp(-x / 50), 6) + '\n';
        // Every line gains one byte in the sheet ("\r\n" for "\n").
        const auto sheetBytes = static_cast<std::int64_t>(text.size() + row.size()) + i + 4;
        if (sheetBytes > capacity - varnex::kSheetReserve) break;
        text += row;
    }
    return text;
}

double millisecondsOf(const QElapsedTimer& timer) { return static_cast<double>(timer.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::cerr << "usage: varnex_sheet_bench FOLDER [LIMITTEXT] [KEYS]\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string folder = std::filesystem::absolute(argv[1]).string();
    const int limittext = argc >= 3 ? std::max(1, varnex::parseLeadingInt(argv[2])) : 256;
    const int keys = argc == 4 ? std::max(1, varnex::parseLeadingInt(argv[3])) : 200;
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/varnexw32.ini") << "print width=15\nwidth graph=0.3\nwidth frame=0.3\next=dat\nlimittext="
                                             << limittext << "\n";
    const std::string data = folder + "/sheet.dat";
    std::ofstream(data, std::ios::binary) << makeData(static_cast<std::int64_t>(limittext) * 1000);

    QApplication app(argc, argv);
    SilentMessageBoxes messages;
    varnex::DesktopOptions options;
    options.programPath = folder + "/varnexw32";
    varnex::Desktop desktop(std::move(options), messages);
    desktop.start(data);
    desktop.window().resize(1200, 850);
    desktop.showPage(varnex::kDataPage);
    varnex::SheetCommands& commands = desktop.sheet();
    varnex::DataSheet& sheet = commands.sheet();
    QApplication::processEvents();

    // Load: read the file into the sheet and paint it, best of five.
    double load = 1e9;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer timer;
        timer.start();
        commands.reloadSheet(0);
        sheet.viewport()->repaint();
        load = std::min(load, millisecondsOf(timer));
    }
    if (!sheet.isComplete()) {
        std::cerr << "the file did not load whole\n";
        return 1;
    }

    // Typing in the middle of the text: each key press with its repaint.
    sheet.setFocus();
    QTextCursor cursor = sheet.textCursor();
    cursor.setPosition(sheet.document()->characterCount() / 2);
    sheet.setTextCursor(cursor);
    sheet.centerCursor();
    QApplication::processEvents();
    std::vector<double> times;
    for (int i = 0; i < keys; ++i) {
        const auto key = static_cast<Qt::Key>(Qt::Key_0 + i % 10);
        const QString text(QChar('0' + i % 10));
        QElapsedTimer timer;
        timer.start();
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(&sheet, &press);
        QApplication::sendEvent(&sheet, &release);
        sheet.viewport()->repaint();
        times.push_back(millisecondsOf(timer));
    }
    std::sort(times.begin(), times.end());
    std::cout << "{\"limittext\":" << limittext << ",\"bytes\":" << std::filesystem::file_size(data)
              << ",\"lines\":" << sheet.document()->blockCount() << ",\"load_ms\":" << varnex::formatG(load)
              << ",\"key_median_ms\":" << varnex::formatG(times[times.size() / 2])
              << ",\"key_max_ms\":" << varnex::formatG(times.back()) << "}\n";
    return 0;
}
