// Starting the external editor and the user tools, and opening the help page.
//
// Programs start detached (the shell does not wait for them) from a command line split into words as
// a shell would split it (command_words.h), but never through a shell: a file name holding shell
// characters is only ever an argument. Failures are not reported to the user.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <string>
#include <string_view>

namespace varnex {

struct Configuration;

class ExternalPrograms {
public:
    // Starts program with arguments detached; true when it started.
    using Starter = std::function<bool(const QString& program, const QStringList& arguments)>;
    // Opens a file or page with the desktop's default application; true when that worked.
    using UrlOpener = std::function<bool(const QUrl& url)>;

    // Empty functions choose QProcess::startDetached and QDesktopServices::openUrl.
    explicit ExternalPrograms(Starter starter = {}, UrlOpener opener = {});

    // Runs a command line exactly as written (no expansion of '%' or '$'); extraArgument, when given,
    // is added as one more argument, unchanged. False for a blank or incomplete command line (an
    // unclosed quote) or when the program could not be started.
    bool run(std::string_view commandLine, const std::string* extraArgument = nullptr) const;

    // Runs the configured editor with fileName as its last argument, as one word whatever it holds
    // (blanks, quotes, shell characters). Without a configured editor the file is opened with the
    // desktop's default application.
    bool editWithEditor(const Configuration& config, const std::string& fileName) const;

    // Runs the command line of the first tool whose identifier is id; nothing for any other id.
    void runTool(const Configuration& config, int id) const;

    // Opens the program's help page (the HTML file beside the program).
    void help(const Configuration& config) const;

private:
    Starter m_starter;
    UrlOpener m_opener;
};

}  // namespace varnex
