// The project file writer: the infos section of settings, the files section of element records
// and the data section as it was read.
#include <charconv>

#include "formats/project_lines.h"
#include "host/file_system.h"
#include "host/message_box.h"
#include "convert/convert_settings.h"
#include "editor/editor_settings.h"
#include "host/host_services.h"
#include "project/element_record.h"
#include "project/project_paths.h"
#include "script/settings.h"
#include "project/element_types.h"
#include "project/project_file.h"
#include "resources/texts.h"
#include "script/values.h"

namespace ts {

const char* const kProjectMagicLine = "#Fichier de projet Tilesmithery\n";

namespace {

// Fixed-point text of a number, independent of the process locale.
std::string fixed(double value, int precision) {
    char buffer[400];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    return r.ec == std::errc() ? std::string(buffer, r.ptr) : std::string("0");
}

const char* flag(int32_t value) { return value ? "true" : "false"; }

// A value as it goes into one line: cut at a NUL like the C strings it stands for, and line
// breaks made blanks so that a value can never start a line of its own.
std::string lineValue(const std::string& value) {
    std::string v(value.c_str());
    for (char& c : v)
        if (c == '\n' || c == '\r') c = ' ';
    return v;
}

void writeConvertLines(const App& app, std::string& out) {
    const ConvertSettings& c = convertSettings(app);
    out += formatText("\n  convert.maskColor = RGB(%i,%i,%i)\n", c.maskRed, c.maskGreen, c.maskBlue);
    // The gamma is stored as its inverse: write the value the user gave.
    out += "  convert.lighting   GAMMA=RGB(" + fixed(1.0 / c.gamma[0], 3) + "," + fixed(1.0 / c.gamma[1], 3) +
           "," + fixed(1.0 / c.gamma[2], 3) + ")  ADD=RGB(" + fixed(c.add[0], 1) + "," + fixed(c.add[1], 1) +
           "," + fixed(c.add[2], 1) + ")  ALPHA=RGB(" + fixed(c.alpha[0], 1) + "," + fixed(c.alpha[1], 1) +
           "," + fixed(c.alpha[2], 1) + ")\n";
    out += formatText("  convert.mode = %i\n\n", c.quantization);
}

// Settings written only when they differ from their defaults (saveMapsParamsAuto always).
void writeSettingLines(const App& app, std::string& out) {
    const SystemSettings& s = systemSettings(app);
    const ConvertSettings& c = convertSettings(app);
    if (s.saveMapsParams == 0) out += "  system.saveMapsParams = false\n";
    out += formatText("  system.saveMapsParamsAuto = %s\n", flag(s.saveMapsParamsAuto));
    if (s.maxObjects != 1024) out += formatText("  system.maxObjects = %i\n", s.maxObjects);
    if (editorSettings(app).timing != 10) out += formatText("  editor.Timing = %i\n", editorSettings(app).timing);
    if (s.maxMemory != 33554432u) out += "  system.MaxMemory = " + formatSize(s.maxMemory) + "\n";
    if (s.autoFormatSelection == 0) out += "  system.autoFormatSelection = false\n";
    // The shades are stored as their number minus one.
    if (c.shades + 1 != 256) out += formatText("  convert.shades = %i\n", c.shades + 1);
    if (c.shadesBefore != 0) out += "  convert.shadesBefore = true\n";
    if (c.truncate != 0) out += "  convert.truncate = true\n";
    if (c.useMaxColors != 0) out += "  convert.useMaxColors = true\n";
    if (c.maxPrecision != 512) out += formatText("  convert.maxPrecision = %i\n", c.maxPrecision);
    if (s.emulGba != 0) out += "  system.emulGBA = true\n";
    if (c.colorization != 0) out += formatText("  convert.colorization = %i\n", c.colorization);
    if (c.fastPalReduction != 1) out += formatText("  convert.fastPalReduction = %s\n", flag(c.fastPalReduction));
    if (c.palReducPost != 1) out += formatText("  convert.palReducPost = %s\n", flag(c.palReducPost));
    if (c.dither != 0) out += formatText("  convert.dither = %i\n", c.dither);
    if (c.exactPacking == 0) out += "  convert.exactPacking = false\n";
    if (c.flipMerge != 0) out += "  convert.flipMerge = true\n";
    if (c.compression != 0) out += formatText("  convert.compression = %i\n", c.compression);
}

void writeElementLines(const App& app, std::string& out) {
    for (const ElementRecord& r : elementTable(app).records) {
        out += " #--------------\n  Element: " + lineValue(r.name) + "\n";
        if (r.isFolder()) {
            out += "  Type: folder\n";
        } else {
            // The same names in both editions, so that either edition writes back what the other
            // wrote; both languages are read.
            out += std::string("  Type: ") + englishElementTypeName(r.type()) + "\n  File: " + lineValue(r.file) +
                   "\n  Base: " + lineValue(r.baseFile) + "\n";
        }
        if (r.inFolder()) out += "  Folder: " + lineValue(r.folder) + "\n";
    }
}

}  // namespace

std::string projectFileText(const App& app) {
    std::string out;
    out.reserve(64 * 1024 + elementTable(app).records.size() * 160 + projectPaths(app).dataSection.size());
    out += kProjectMagicLine;
    out += "\n#Useful informations about the last session\n .section infos\n";
    out += "  Directory = \"" + lineValue(currentDirectory()) + "\"\n  Script = \"" +
           lineValue(systemSettings(app).scriptName) + "\"\n  UserHelp = \"" + lineValue(systemSettings(app).userHelp) + "\"\n";
    writeConvertLines(app, out);
    writeSettingLines(app, out);
    for (size_t slot = 0; slot < systemSettings(app).defFolders.size(); ++slot) {
        const std::string& folder = systemSettings(app).defFolders[slot];
        if (!folder.empty()) out += formatText("  DefFolder[%i] = \"", int(slot + 1)) + lineValue(folder) + "\"\n";
    }
    out += projectFormatLines(app);
    out += projectModelLines(app);
    out += projectPlatformLines(app);
    out += "  End\n";
    out += "\n#Project tree elements\n .section files\n";
    writeElementLines(app, out);
    out += " End\n";
    out += "\n#Section where you can enter any script command. It permits you to set here different variables.\n"
           " .section data\n";
    if (projectPaths(app).dataSectionRead)
        out += projectPaths(app).dataSection;
    else
        out += "  End\n\n\n\n";
    return out;
}

std::string withProjectExtension(const std::string& name) {
    if (name.empty() || fileNameOf(name).find('.') != std::string::npos) return name;
    return name + ".tsp";
}

WriteProjectResult WriteProject(App& app, const std::string& path, const AskProjectName& askName,
                                std::string* writtenPath) {
    std::string target = path;
    if (target.empty()) {
        if (askName) target = askName();
        if (target.empty()) return WriteProjectResult::Cancelled;
        target = withProjectExtension(target);
    }
    // A project read with elements left out is never written back over itself: they would be lost.
    const std::string& incomplete = projectPaths(app).incompleteProject;
    if (!incomplete.empty() && absolutePath(target) == incomplete) {
        showBox(hostServices(app), tr(T::CaptionError), formatText(tr(T::ProjectNotRewritten), target.c_str()),
                Icon::Error);
        return WriteProjectResult::Failed;
    }
    std::string text = projectFileText(app);
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') bytes += '\r';
        bytes += c;
    }
    std::string reason;
    if (!writeFileAtomically(target, bytes, &reason)) {
        showBox(hostServices(app), tr(T::CaptionError),
                formatText(tr(T::ProjectWriteFailed), target.c_str(), reason.c_str()), Icon::Error);
        return WriteProjectResult::Failed;
    }
    if (writtenPath) *writtenPath = target;
    return WriteProjectResult::Written;
}

}  // namespace ts
