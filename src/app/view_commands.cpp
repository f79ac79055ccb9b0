#include "app/view_commands.h"

#include "app/command_actions.h"
#include "app/desktop.h"
#include "app/document_commands.h"
#include "app/main_window.h"
#include "app/sheet_commands.h"
#include "document/view_list.h"
#include "document/views.h"
#include "render/output/qt/text_codec.h"
#include "shell/commands.h"
#include "util/message_boxes.h"

namespace varnex {
namespace {

constexpr std::size_t kTitleWidth = 26;

}  // namespace

QString viewEntryText(int i, const TitleText& title) {
    std::string padded = title.str();
    if (padded.size() < kTitleWidth) padded.append(kTitleWidth - padded.size(), ' ');
    return fromCodePage(formatMessage("&%d %s", i, padded.c_str()));
}

ViewCommands::ViewCommands(Desktop& desktop) : m_desktop(desktop) {}

void ViewCommands::attach(QMenu& menu) { m_menu = &menu; }

void ViewCommands::rebuildMenu() {
    if (!m_menu) return;
    m_desktop.applyAndRedraw();
    const ViewList& views = m_desktop.views();
    if (QAction* remove = m_desktop.actions().action(command::kDeleteView)) remove->setEnabled(views.viewCount() > 1);
    for (QAction* entry : m_entries) {
        m_menu->removeAction(entry);
        entry->deleteLater();
    }
    m_entries.clear();
    if (m_desktop.document().data == 0) return;
    m_entries.push_back(m_menu->addSeparator());
    for (int i = 1; i <= views.viewCount(); ++i) {
        const int id = command::kSelectView + i;
        QAction* entry = m_menu->addAction(viewEntryText(i, views.viewAt(i).vtitle));
        entry->setData(id);
        entry->setCheckable(true);
        entry->setChecked(i == views.indexOfCurrent());
        connect(entry, &QAction::triggered, this, [this, id] { m_desktop.actions().runCommand(id); });
        m_entries.push_back(entry);
    }
}

bool ViewCommands::run(int id) {
    if (!isViewCommand(id)) return false;
    switch (runViewCommand(m_desktop.views(), id)) {
        case ViewUpdate::None:
            break;
        case ViewUpdate::Refresh:
            if (m_desktop.hooks().refreshPanels) m_desktop.hooks().refreshPanels(m_desktop.document());
            m_desktop.documents().updateTitle(m_desktop.document());
            break;
        case ViewUpdate::Reload:
            m_desktop.documents().reload();
            // The reload does nothing while a file of the view is missing; the file list must still be
            // the view's, or its commands would act on the files of the view left.
            if (m_desktop.hooks().rebuildFileMenus) m_desktop.hooks().rebuildFileMenus(m_desktop.document());
            m_desktop.sheet().reloadSheet(-1);
            break;
    }
    return true;
}

}  // namespace varnex
