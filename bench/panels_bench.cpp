// The parameter panels with 255 data sets, measured in the desktop program itself (offscreen): the
// time from the end of a load to the panels filled, when all rows are built (opening after a file
// without data) and when they are reused (reopening), the first showing of the graph page with its
// 255 rows, and an apply of the panels with no change and with one change. Prints one JSON object
// of medians in milliseconds.
//
//   varnex_panels_bench FOLDER [REPEATS]
//
// FOLDER receives the configuration and the data files.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "bench_messages.h"
#include "app/desktop.h"
#include "app/document_commands.h"
#include "app/main_window.h"
#include "panels/graph_panel.h"
#include "panels/parameter_panels.h"
#include "util/numbers.h"

namespace {

using varnex::bench::SilentMessageBoxes;

// 255 sets of 50 points in blocks of four (a data line holds at most 255 bytes).
std::string makeData() {
    std::string text = "Panels benchmark\n\n";
    for (int first = 1; first <= 255; first += 4) {
        text += "block " + std::to_string(first / 4 + 1) + '\n';
        for (int j = 1; j <= 50; ++j) {
            text += std::to_string(j);
            for (int i = first; i <= std::min(first + 3, 255); ++i) text += ' ' + std::to_string(i * j % 997);
            text += '\n';
        }
    }
    return text;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double milliseconds(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: varnex_panels_bench FOLDER [REPEATS]\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::string folder = std::filesystem::absolute(argv[1]).string();
    const int repeats = argc == 3 ? std::max(1, varnex::parseLeadingInt(argv[2])) : 9;
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/varnexw32.ini") << "print width=15\nwidth graph=0.3\nwidth frame=0.3\next=dat\n";
    const std::string sets = folder + "/sets255.dat";
    const std::string empty = folder + "/nodata.dat";
    std::ofstream(sets, std::ios::binary) << makeData();
    std::ofstream(empty, std::ios::binary) << "no data\n";

    QApplication app(argc, argv);
    SilentMessageBoxes messages;
    varnex::DesktopOptions options;
    options.programPath = folder + "/varnexw32";
    varnex::Desktop desktop(std::move(options), messages);
    desktop.start("");

    // The rebuild hook runs right after the loader: rows for the sets, filled, values taken back.
    double lastRebuild = 0;
    auto rebuild = desktop.hooks().rebuildPanels;
    desktop.hooks().rebuildPanels = [&](varnex::Document& doc) {
        QElapsedTimer timer;
        timer.start();
        rebuild(doc);
        lastRebuild = milliseconds(timer);
    };

    std::vector<double> build, firstShow, refill;
    for (int i = 0; i < repeats; ++i) {
        desktop.documents().open(empty);  // no rows
        desktop.documents().open(sets);
        if (desktop.panels().graph().rowCount() != 255) {
            std::cerr << "expected 255 rows\n";
            return 1;
        }
        build.push_back(lastRebuild);
        QCoreApplication::processEvents();  // the graph window paints the new picture
        // Showing the graph page for the first time with its new rows, until painted.
        QElapsedTimer timer;
        timer.start();
        desktop.showPage(varnex::kGraphPage);
        QCoreApplication::processEvents();
        firstShow.push_back(milliseconds(timer));
        desktop.showPage(varnex::kAxisPage);
        desktop.documents().open(sets);  // the rows stay
        refill.push_back(lastRebuild);
    }

    varnex::ParameterPanels& panels = desktop.panels();
    varnex::Document& doc = desktop.document();
    std::vector<double> applySame, applyChange;
    QComboBox* lineType = panels.graph().row(200).lists[1];
    for (int i = 0; i < 5 * repeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        const bool changed = panels.apply(doc);
        applySame.push_back(milliseconds(timer));
        lineType->setCurrentIndex((lineType->currentIndex() + 1) % 5);
        timer.start();
        const bool changedNow = panels.apply(doc);
        applyChange.push_back(milliseconds(timer));
        if (changed || !changedNow) {
            std::cerr << "apply reported the wrong change\n";
            return 1;
        }
    }

    std::cout << "{\"rows\":255,\"build_ms\":" << varnex::formatG(median(build))
              << ",\"first_show_ms\":" << varnex::formatG(median(firstShow))
              << ",\"refill_ms\":" << varnex::formatG(median(refill))
              << ",\"apply_same_ms\":" << varnex::formatG(median(applySame))
              << ",\"apply_change_ms\":" << varnex::formatG(median(applyChange)) << "}\n";
    return 0;
}
