// DocumentCommands: saving the parameter file and pasting data or files from the clipboard.
#include <QMimeData>
#include <QUrl>

#include "app/document_commands.h"
#include "document/child_files.h"
#include "document/parameter_file.h"
#include "document/parameter_writer.h"
#include "document/view_list.h"
#include "graph/graph_view.h"
#include "render/output/qt/text_codec.h"
#include "shell/shell_hooks.h"
#include "util/file_stamp.h"
#include "util/message_boxes.h"
#include "util/paths.h"

namespace varnex {
namespace {

// The longest file name taken from a clipboard list, in bytes.
constexpr std::size_t kMaxPastedName = 260;

// The local files of a clipboard list, in order, in the code page.
std::vector<std::string> pastedFiles(const QMimeData& data) {
    std::vector<std::string> files;
    for (const QUrl& url : data.urls()) {
        if (!url.isLocalFile()) continue;
        std::string name = toCodePage(url.toLocalFile());
        if (name.size() <= kMaxPastedName) files.push_back(std::move(name));  // a cut name names another file
    }
    return files;
}

}  // namespace

bool DocumentCommands::saveParameters() {
    const Document& doc = m_views.current();
    if (doc.data <= 0 || isPasteFile(doc.files.name(0))) return false;
    const std::string name = parameterFileName(doc.files.name(0));
    if (fileStamp(name) != m_parameterStamp &&
        m_messages.askDefaultNo(kCaption, formatMessage(kChangedOnDiskQuestion, name.c_str())) != 1) {
        return false;
    }
    if (writeParameters(m_views) != WriteResult::Written) {
        m_messages.inform(kErrorCaption,
                          formatMessage("%s\ncannot be written. The settings are not saved.", name.c_str()));
        return false;
    }
    markSaved();
    return true;
}

int DocumentCommands::pasteAppend(const std::string& name) {
    const int sets = load(LoadMode::Append, name);
    Document& doc = m_views.current();
    const int files = doc.files.appendedCount();
    // The sets of the pasted file are the last ones, if the file was read and kept in the list.
    if (sets > 0 && m_pasteMarkers && files >= 1 && doc.files.name(files) == absPath(name).value_or(name)) {
        const int count = std::min<int>(doc.filesets[static_cast<std::size_t>(files)], doc.data);
        defaultMarkers(doc.setRange(doc.data - count + 1, count));
        if (m_hooks.refreshPanels) m_hooks.refreshPanels(doc);
    }
    m_graph.redraw(doc);
    return sets;
}

void DocumentCommands::paste(const QMimeData& data, bool asNewGraph) {
    // A file manager offers a copied file list also as text (its addresses): the list comes first.
    const std::vector<std::string> files = pastedFiles(data);
    if (!files.empty()) {
        bool openNew = asNewGraph;
        for (const std::string& file : files) {
            const auto accepted = accept(file);
            if (!accepted) continue;
            if (openNew || m_views.current().data == 0) {
                open(*accepted);
                openNew = false;
            } else {
                pasteAppend(*accepted);
            }
        }
        return;
    }
    if (!data.hasText()) return;
    const std::string text = toCodePage(data.text());
    const bool append = !asNewGraph && m_views.current().data > 0;
    const std::string main = append ? m_views.current().files.name(0) : std::string();
    const std::optional<std::string> file = newChildName(main);
    if (!file || !writePastedText(*file, text)) {
        const std::string shown = file ? *file : main.empty() ? std::string(kPasteFileName) : main + ".n.@";
        m_messages.inform(kErrorCaption,
                          formatMessage("%s\ncannot be written. The pasted data is not kept.", shown.c_str()));
        return;
    }
    m_made.add(*file);
    if (append) {
        pasteAppend(*file);
    } else {
        open(*file);
    }
}

}  // namespace varnex
