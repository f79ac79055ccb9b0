#include "app/config/external_programs.h"

#include <QDesktopServices>
#include <QProcess>

#include "app/config/command_words.h"
#include "app/config/configuration.h"
#include "render/output/qt/text_codec.h"

namespace varnex {

ExternalPrograms::ExternalPrograms(Starter starter, UrlOpener opener)
    : m_starter(std::move(starter)), m_opener(std::move(opener)) {
    if (!m_starter) {
        m_starter = [](const QString& program, const QStringList& arguments) {
            return QProcess::startDetached(program, arguments);
        };
    }
    if (!m_opener) m_opener = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
}

bool ExternalPrograms::run(std::string_view commandLine, const std::string* extraArgument) const {
    const auto words = splitCommandWords(commandLine);
    if (!words || words->empty()) return false;
    QStringList arguments;
    for (std::size_t i = 1; i < words->size(); ++i) arguments << fromCodePage((*words)[i]);
    if (extraArgument) arguments << fromCodePage(*extraArgument);
    return m_starter(fromCodePage(words->front()), arguments);
}

bool ExternalPrograms::editWithEditor(const Configuration& config, const std::string& fileName) const {
    const auto words = splitCommandWords(config.editor);
    if (words && words->empty()) return m_opener(QUrl::fromLocalFile(fromCodePage(fileName)));
    return run(config.editor, &fileName);
}

void ExternalPrograms::runTool(const Configuration& config, int id) const {
    for (const UserTool& tool : config.tools) {
        if (tool.id == 0) return;
        if (tool.id == id) {
            run(tool.commandLine);
            return;
        }
    }
}

void ExternalPrograms::help(const Configuration& config) const {
    m_opener(QUrl::fromLocalFile(fromCodePage(config.helpPath)));
}

}  // namespace varnex
