// Keeps the layers of the program apart: each layer includes only itself and
// what lies below it, and the Qt-free layers include no Qt. The check reads the
// include lines of the sources, so it needs no build of the product.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Core: only QtCore, included by module (<QtCore/QLockFile>), so a Qt header
// of another module stands out.
enum class Qt { Allowed, Core, Forbidden };

struct Layer {
    std::string folder;              // the layer's files lie below this folder
    Qt qt;                           // which Qt headers its files may include
    std::vector<std::string> below;  // folders of ours it may include besides its own
};

// The layers from the bottom up. A file belongs to the layer with the longest
// folder that starts its path; "platform/" stands for all three platform
// libraries. Tests and benchmarks lie outside the layers and may include any.
// clang-format off
const std::vector<Layer> kLayers = {
    // folder               Qt              may include, besides itself
    {"platform/core/",      Qt::Forbidden,  {}},
    {"platform/canvas/",    Qt::Allowed,    {"platform/core/"}},
    {"platform/services/",  Qt::Allowed,    {"platform/core/"}},
    {"plant/",              Qt::Forbidden,  {"platform/core/"}},
    {"state/",              Qt::Forbidden,  {"platform/core/", "plant/"}},
    {"modbus/",             Qt::Forbidden,  {"platform/core/", "plant/"}},
    {"archive/",            Qt::Forbidden,  {"platform/core/", "plant/"}},
    {"users/",              Qt::Forbidden,  {"platform/core/"}},
    {"symbols/",            Qt::Allowed,    {"platform/core/", "platform/canvas/"}},
    {"console/",            Qt::Allowed,    {"platform/", "plant/", "state/", "modbus/", "archive/",
                                             "users/", "symbols/"}},
    {"app/",                Qt::Allowed,    {"platform/", "plant/", "state/", "modbus/", "users/",
                                             "symbols/", "console/"}},
    {"tools/grain-sim/",    Qt::Core,       {"platform/core/", "plant/", "state/", "modbus/",
                                             "archive/"}},
    {"tools/gallery/",      Qt::Allowed,    {"platform/", "symbols/"}},
    {"tools/window-shots/", Qt::Allowed,    {"platform/", "plant/", "state/", "symbols/",
                                             "console/"}},
    {"tools/vnc-loopback/", Qt::Forbidden,  {}},
};
// clang-format on

// Libraries that a layer links privately: only its .cpp files include their
// headers, so none of them reaches another layer through a header of ours.
struct PrivateLibrary {
    std::string header;  // the header, or the folder of headers
    std::string layer;
};
// clang-format off
const std::vector<PrivateLibrary> kPrivateLibraries = {
    {"SimpleIni.h", "platform/core/"},
    {"pulse/",      "platform/services/"},
    {"sndfile.h",   "platform/services/"},
    {"xcb/",        "platform/services/"},
    {"modbus/",     "modbus/"},
    {"sqlite3.h",   "archive/"},
    {"unicode/",    "archive/"},
    {"sodium",      "users/"},
};
// clang-format on

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

const Layer* LayerOf(const std::string& file) {
    const Layer* found = nullptr;
    for (const Layer& layer : kLayers)
        if (StartsWith(file, layer.folder) &&
            (found == nullptr || layer.folder.size() > found->folder.size()))
            found = &layer;
    return found;
}

// Qt's headers: <QWidget>, <QtTest/QTest>, and the lower-case <qxxx.h> ones.
bool IsQtHeader(const std::string& header) {
    static const std::regex lowerCase("q[a-z_]*\\.h");
    return StartsWith(header, "Q") || std::regex_match(header, lowerCase);
}

struct Include {
    bool angled;  // <...>: the system's or a library's; "...": ours, from the source root
    std::string path;
};

std::optional<Include> ParseInclude(const std::string& line) {
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^>"]*)[>"])");
    std::smatch match;
    if (!std::regex_search(line, match, include)) return std::nullopt;
    return Include{match[1] == "<", match[2]};
}

// What is wrong with the include lines of one file, one message each.
std::vector<std::string> Violations(const std::string& file,
                                    const std::vector<std::string>& lines) {
    const Layer* layer = LayerOf(file);
    if (layer == nullptr) return {file + " belongs to no layer"};
    const bool isHeader = file.ends_with(".h");
    std::vector<std::string> found;
    for (const std::string& line : lines) {
        const std::optional<Include> include = ParseInclude(line);
        if (!include) continue;
        const std::string& path = include->path;
        const std::string said = file + ": " + line + ": ";
        if (include->angled) {
            if (layer->qt == Qt::Forbidden && IsQtHeader(path))
                found.push_back(said + "no Qt in " + layer->folder);
            if (layer->qt == Qt::Core && IsQtHeader(path) && !StartsWith(path, "QtCore/"))
                found.push_back(said + "only QtCore, as <QtCore/...>, in " + layer->folder);
            for (const PrivateLibrary& library : kPrivateLibraries)
                if (StartsWith(path, library.header) &&
                    (layer->folder != library.layer || isHeader))
                    found.push_back(said + "only the .cpp files of " + library.layer +
                                    " include this library");
            continue;
        }
        const bool ownLayer = StartsWith(path, layer->folder);
        const bool below = std::any_of(layer->below.begin(), layer->below.end(),
                                       [&](const std::string& f) { return StartsWith(path, f); });
        if (!ownLayer && !below) found.push_back(said + layer->folder + " may not include this");
    }
    return found;
}

std::vector<std::string> LinesOf(const fs::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

struct Case {
    std::string file;
    std::string line;
    bool allowed;
};

TEST(Layering, RulesTellAnIncludeFromBelowFromOneFromAbove) {
    const std::vector<Case> cases = {
        {"plant/Controller.cpp", "#include <vector>", true},
        {"plant/Controller.cpp", "#include \"platform/core/Rounding.h\"", true},
        {"plant/Controller.cpp", "#include \"plant/Plant.h\"", true},
        {"plant/Controller.cpp", "#include <QString>", false},
        {"plant/Controller.cpp", "  #  include <QtCore/QString>", false},
        {"plant/Controller.cpp", "#include \"console/MainFrm.h\"", false},
        {"plant/Controller.cpp", "#include \"symbols/Pump.h\"", false},
        {"plant/Controller.cpp", "#include \"state/StateFile.h\"", false},
        {"plant/Controller.cpp", "#include \"modbus/Server.h\"", false},
        {"plant/Controller.cpp", "#include \"platform/canvas/Canvas.h\"", false},
        {"plant/Controller.cpp", "#include \"Plant.h\"", false},
        {"platform/core/ProfileFile.cpp", "#include <SimpleIni.h>", true},
        {"platform/core/ProfileFile.h", "#include <SimpleIni.h>", false},
        {"platform/core/Rounding.h", "#include <qglobal.h>", false},
        {"platform/core/Rounding.h", "#include <queue>", true},
        {"platform/core/Rounding.h", "#include \"plant/Plant.h\"", false},
        {"platform/canvas/QtCanvas.cpp", "#include \"platform/services/WavePlayer.h\"", false},
        {"symbols/Pump.cpp", "#include <QWidget>", true},
        {"symbols/Pump.cpp", "#include \"platform/canvas/QtCanvas.h\"", true},
        {"symbols/Pump.cpp", "#include \"plant/Plant.h\"", false},
        {"symbols/Pump.cpp", "#include \"console/MainFrm.h\"", false},
        {"symbols/Pump.cpp", "#include \"state/StateFile.h\"", false},
        {"symbols/Pump.cpp", "#include \"modbus/Server.h\"", false},
        {"symbols/Pump.cpp", "#include \"platform/services/WavePlayer.h\"", false},
        {"symbols/Title.cpp", "#include <xcb/xcb.h>", false},
        {"modbus/Server.cpp", "#include <QObject>", false},
        {"modbus/Server.cpp", "#include \"symbols/Pump.h\"", false},
        {"modbus/Server.cpp", "#include \"console/MainFrm.h\"", false},
        {"modbus/Responder.cpp", "#include <modbus/modbus.h>", true},
        {"archive/Store.cpp", "#include <sqlite3.h>", true},
        {"archive/Store.h", "#include <sqlite3.h>", false},
        {"archive/Reader.cpp", "#include <QString>", false},
        {"archive/Reader.cpp", "#include \"console/MainFrm.h\"", false},
        {"archive/Reader.cpp", "#include \"modbus/Server.h\"", false},
        {"modbus/Server.cpp", "#include \"archive/Archive.h\"", false},
        {"state/StateFile.cpp", "#include <QLockFile>", false},
        {"users/Password.cpp", "#include <sodium.h>", true},
        {"users/Password.h", "#include <sodium.h>", false},
        {"users/UsersFile.cpp", "#include <QString>", false},
        {"users/UsersFile.cpp", "#include \"plant/Plant.h\"", false},
        {"console/MainFrm.cpp", "#include <sodium/crypto_pwhash.h>", false},
        {"state/StateFile.cpp", "#include \"plant/Plant.h\"", true},
        {"console/MainFrm.cpp", "#include \"plant/Plant.h\"", true},
        {"console/MainFrm.cpp", "#include \"platform/services/MessageBoxes.h\"", true},
        {"console/MainFrm.cpp", "#include \"tests/support/RecordingCanvas.h\"", false},
        {"tools/grain-sim/main.cpp", "#include <QtCore/QLockFile>", true},
        {"tools/grain-sim/main.cpp", "#include <QLockFile>", false},
        {"tools/grain-sim/Runner.cpp", "#include <QtWidgets/QWidget>", false},
        {"tools/grain-sim/Runner.cpp", "#include <qstring.h>", false},
        {"tools/grain-sim/Runner.cpp", "#include \"tools/gallery/Gallery.h\"", false},
        {"platform/Stray.cpp", "#include <vector>", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Violations(c.file, {c.line}).empty(), c.allowed) << c.file << ": " << c.line;
}

TEST(Layering, SourcesKeepTheirLayersApart) {
    const fs::path root = GT_SOURCE_DIR;
    std::vector<std::string> topFolders;
    for (const Layer& layer : kLayers) {
        const std::string top = layer.folder.substr(0, layer.folder.find('/'));
        if (std::find(topFolders.begin(), topFolders.end(), top) == topFolders.end())
            topFolders.push_back(top);
    }
    std::vector<std::string> files;
    for (const std::string& top : topFolders)
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            const std::string extension = entry.path().extension().string();
            if (entry.is_regular_file() && (extension == ".h" || extension == ".cpp"))
                files.push_back(entry.path().lexically_relative(root).generic_string());
        }

    std::vector<std::string> violations;
    for (const std::string& file : files) {
        const std::vector<std::string> found = Violations(file, LinesOf(root / file));
        violations.insert(violations.end(), found.begin(), found.end());
    }
    EXPECT_THAT(violations, ::testing::IsEmpty());

    // A folder that was renamed or emptied would silently escape the rules.
    for (const Layer& layer : kLayers)
        EXPECT_TRUE(std::any_of(files.begin(), files.end(),
                                [&](const std::string& f) { return LayerOf(f) == &layer; }))
            << "no sources in " << layer.folder;
}

}  // namespace
