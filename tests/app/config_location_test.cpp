// Where the configuration and the help page are found: beside a program in its build folder, per user
// for an installed one (created from the installed default, never written beside the program).
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "app/config/config_location.h"
#include "app/config/configuration.h"
#include "app/desktop.h"
#include "app/main_window.h"
#include "shell/commands.h"
#include "app/command_actions.h"
#include "support/recording_message_boxes.h"

namespace varnex {

namespace fs = std::filesystem;

class ConfigLocationTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void place_data();
    void place();
    void helpBesideWhenNoneIsInstalled();
    void installedProgramCreatesThePerUserFileOnce();
    void unwritableConfigHomeReadsTheInstalledDefault();
    void installedDesktopEditsAndHelpsFromTheRightPlaces();

private:
    void write(const fs::path& path, const std::string& text) {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    fs::path root() const { return fs::path(m_dir->path().toStdString()); }
    std::string program() const { return (root() / "usr/bin/varnexw32").string(); }
    std::string configHome() const { return (root() / "home/config").string(); }
    fs::path installedDefault() const { return root() / "usr/share/varnex/varnexw32.ini"; }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void ConfigLocationTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    write(program(), "");
    write(installedDefault(), "ext=dat txt\n");
    write(root() / "usr/share/varnex/varnexw32.html", "<html/>");
}

void ConfigLocationTest::place_data() {
    QTest::addColumn<bool>("iniBeside");
    QTest::addColumn<bool>("iniWritable");
    QTest::addColumn<bool>("helpBeside");
    QTest::addColumn<QString>("configuration");  // relative to the temporary root
    QTest::addColumn<QString>("help");
    QTest::addColumn<bool>("perUser");
    QTest::newRow("build folder") << true << true << true << "usr/bin/varnexw32.ini" << "usr/bin/varnexw32.html" << false;
    QTest::newRow("installed") << false << false << false << "home/config/varnex/varnexw32.ini"
                               << "usr/share/varnex/varnexw32.html" << true;
    QTest::newRow("read-only ini beside") << true << false << false << "home/config/varnex/varnexw32.ini"
                                          << "usr/share/varnex/varnexw32.html" << true;
    QTest::newRow("help beside only") << false << false << true << "home/config/varnex/varnexw32.ini"
                                      << "usr/bin/varnexw32.html" << true;
}

void ConfigLocationTest::helpBesideWhenNoneIsInstalled() {
    // With no help page anywhere the program names the one beside itself, as a build folder has it.
    fs::remove(root() / "usr/share/varnex/varnexw32.html");
    QCOMPARE(fs::path(locateConfiguration(program(), configHome()).helpPath), root() / "usr/bin/varnexw32.html");
}

void ConfigLocationTest::place() {
    QFETCH(bool, iniBeside);
    QFETCH(bool, iniWritable);
    QFETCH(bool, helpBeside);
    QFETCH(QString, configuration);
    QFETCH(QString, help);
    QFETCH(bool, perUser);
    if (::getuid() == 0 && iniBeside && !iniWritable) QSKIP("root may write any file");
    const fs::path bin = root() / "usr/bin";
    if (iniBeside) {
        write(bin / "varnexw32.ini", "ext=txt\n");
        if (!iniWritable) fs::permissions(bin / "varnexw32.ini", fs::perms::owner_read | fs::perms::group_read);
    }
    if (helpBeside) write(bin / "varnexw32.html", "<html/>");
    const ConfigurationPlace place = locateConfiguration(program(), configHome());
    QCOMPARE(QString::fromStdString(place.configurationPath), QString::fromStdString((root() / configuration.toStdString()).string()));
    QCOMPARE(QString::fromStdString(place.helpPath), QString::fromStdString((root() / help.toStdString()).string()));
    QCOMPARE(place.perUser, perUser);
    QCOMPARE(place.defaultPath.empty(), !perUser);
    if (perUser) QCOMPARE(fs::path(place.defaultPath), installedDefault());
}

void ConfigLocationTest::installedProgramCreatesThePerUserFileOnce() {
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(configHome()));
    const fs::path userFile = fs::path(configHome()) / "varnex/varnexw32.ini";
    for (int run = 0; run < 2; ++run) {
        testing::RecordingMessageBoxes boxes;
        const Configuration config = readConfiguration(program(), boxes);
        QCOMPARE(fs::path(config.configurationPath), userFile);
        QCOMPARE(config.extensions, (run == 0 ? std::vector<std::string>{"dat", "txt"} : std::vector<std::string>{"csvx"}));
        QVERIFY(boxes.messages().empty());
        // The user edits the copy; a second start keeps the edit.
        if (run == 0) std::ofstream(userFile, std::ios::app) << "ext=csvx\n";
    }
    QVERIFY(fs::is_regular_file(userFile));
    QVERIFY((fs::status(userFile).permissions() & fs::perms::owner_write) != fs::perms::none);
    QVERIFY(!fs::exists(root() / "usr/bin/varnexw32.ini"));
    QCOMPARE(std::distance(fs::directory_iterator(root() / "usr/bin"), fs::directory_iterator()), 1);
}

void ConfigLocationTest::unwritableConfigHomeReadsTheInstalledDefault() {
    // A configuration home that is a file cannot hold the folder.
    write(configHome(), "not a folder");
    ConfigurationPlace place = locateConfiguration(program(), configHome());
    const std::string note = prepareConfiguration(place);
    QVERIFY2(note.starts_with("cannot create the configuration file "), note.c_str());
    QCOMPARE(fs::path(place.configurationPath), installedDefault());
    // Without an installed default there is nothing to copy: the missing file is reported as ever.
    fs::remove(installedDefault());
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString((root() / "elsewhere").string()));
    testing::RecordingMessageBoxes boxes;
    readConfiguration(program(), boxes);
    QCOMPARE(boxes.messages().size(), std::size_t{1});
    QCOMPARE(boxes.messages()[0].kind, std::string("fatal"));
}

void ConfigLocationTest::installedDesktopEditsAndHelpsFromTheRightPlaces() {
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(configHome()));
    std::vector<QUrl> opened;
    DesktopOptions options;
    options.programPath = program();
    options.programs = ExternalPrograms([](const QString&, const QStringList&) { return true; },
                                        [&opened](const QUrl& url) {
                                            opened.push_back(url);
                                            return true;
                                        });
    testing::RecordingMessageBoxes boxes;
    {
        Desktop desktop(std::move(options), boxes);
        desktop.start("");
        const fs::path userFile = fs::path(configHome()) / "varnex/varnexw32.ini";
        QCOMPARE(fs::path(desktop.configuration().configurationPath), userFile);
        desktop.actions().runCommand(command::kEditIniFile);
        desktop.actions().runCommand(command::kHelp);
        desktop.window().close();
    }
    QCOMPARE(opened.size(), std::size_t{2});
    QCOMPARE(opened[0].toLocalFile().toStdString(), (fs::path(configHome()) / "varnex/varnexw32.ini").string());
    QCOMPARE(opened[1].toLocalFile().toStdString(), (root() / "usr/share/varnex/varnexw32.html").string());
    QVERIFY(boxes.messages().empty());
    // The program's folder holds the program only; the window's state went to the per-user folder.
    QCOMPARE(std::distance(fs::directory_iterator(root() / "usr/bin"), fs::directory_iterator()), 1);
    QVERIFY(fs::exists(fs::path(configHome()) / "varnex/state.ini"));
}

}  // namespace varnex

QTEST_MAIN(varnex::ConfigLocationTest)
#include "config_location_test.moc"
