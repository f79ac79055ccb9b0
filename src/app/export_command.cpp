#include "app/export_command.h"

#include <filesystem>

#include "app/desktop.h"
#include "document/model.h"
#include "graph/graph_view.h"
#include "render/output/qt/export.h"
#include "util/message_boxes.h"

namespace varnex {

SaveDialogRequest exportDialogRequest(const std::string& dataFile) {
    const std::filesystem::path data(dataFile);
    SaveDialogRequest request;
    request.title = "Export";
    request.folder = data.parent_path().string();
    request.proposedName = data.stem().string() + ".png";
    request.filter = "PNG Image (*.png)|*.png|SVG Picture (*.svg)|*.svg|PDF Document (*.pdf)|*.pdf|";
    request.defaultExtension = "png";
    request.confirmOverwrite = true;
    return request;
}

bool exportGraph(Desktop& d) {
    d.applyAndRedraw();
    const Document& doc = d.document();
    const Picture* picture = d.graph().picture();
    if (doc.data == 0 || !picture || !d.dialogs().save) return false;
    const std::string name = d.dialogs().save(exportDialogRequest(doc.files.name(0)));
    if (name.empty()) return false;
    std::string error;
    if (exportPicture(*picture, name, doc.printw, d.configuration().exportSize, &error)) return true;
    d.messages().inform(kCaption, error);
    return false;
}

}  // namespace varnex
