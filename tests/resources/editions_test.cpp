// The English and the French program side by side: they write the same files, read each other's
// projects without a change, and both accept the script keywords of both languages.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <dlfcn.h>
#include <sys/wait.h>
#include <string>
#include <vector>

#include "resources/texts.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

struct Edition {
    const char* name;
    const char* program;
};
const Edition kEnglish{"English", TS_PROGRAM};
const Edition kFrench{"French", TS_PROGRAM_FR};

struct RunResult {
    int status = -1;
    std::string err;
};

RunResult run(const Edition& edition, const std::string& folder, const std::string& arguments) {
    RunResult r;
    int status = -1;
    // Standard error only: the command's own "2>&1" is put after the subshell.
    r.err = ts::test::runCommand("(cd '" + folder + "' && '" + edition.program + "' " + arguments + " >/dev/null)", status);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

// A copy of the demo project (pictures, script and project file) in a fresh folder.
void copyDemo(const ts::test::TempDir& dir) {
    for (const auto& entry : fs::directory_iterator(fs::path(TS_SOURCE_DIR) / "examples/demo"))
        fs::copy_file(entry.path(), fs::path(dir.path()) / entry.path().filename(), fs::copy_options::overwrite_existing);
}

// Every file of a folder with its bytes, sorted by name; the run's lock file is left out and the
// folder's own path (the project file notes it) reads "<folder>".
std::vector<std::pair<std::string, std::string>> snapshot(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name.find(".lock") != std::string::npos) continue;
        std::string bytes = ts::test::readFile(entry.path().string());
        for (size_t at = bytes.find(folder); at != std::string::npos; at = bytes.find(folder, at))
            bytes.replace(at, folder.size(), "<folder>");
        files.emplace_back(name, bytes);
    }
    std::sort(files.begin(), files.end());
    return files;
}

void expectSameFiles(const std::string& a, const std::string& b) {
    auto left = snapshot(a), right = snapshot(b);
    ASSERT_EQ(left.size(), right.size());
    for (size_t i = 0; i < left.size(); ++i) {
        EXPECT_EQ(left[i].first, right[i].first);
        EXPECT_TRUE(left[i].second == right[i].second) << left[i].first << " differs between the editions";
    }
}

// The demo's conversions give the same files, byte for byte, in both editions: nothing written
// depends on the edition (element type names, header comments, settings).
TEST(Editions, BothEditionsWriteTheSameFiles) {
    ts::test::TempDir en, fr;
    copyDemo(en);
    copyDemo(fr);
    const std::string build = "demo.tsp 'do \"script.spt\", \"build\"'";
    ASSERT_EQ(run(kEnglish, en.path(), build).status, 0);
    ASSERT_EQ(run(kFrench, fr.path(), build).status, 0);
    EXPECT_TRUE(fs::exists(en.file("ship.map.c")));
    expectSameFiles(en.path(), fr.path());
    const std::string project = en.read("demo.tsp");
    EXPECT_EQ(project.rfind("#Fichier de projet Tilesmithery\r\n", 0), 0u);
    EXPECT_NE(project.find("  Type: map\r\n"), std::string::npos);
    EXPECT_NE(en.read("ship.til.c").find("//Converti avec Tilesmithery"), std::string::npos);
}

// A project written by one edition is read by the other and written back unchanged.
TEST(Editions, ProjectWrittenByOneEditionIsReadByTheOtherUnchanged) {
    for (const auto& [writer, reader] : {std::pair{kEnglish, kFrench}, std::pair{kFrench, kEnglish}}) {
        SCOPED_TRACE(std::string(writer.name) + " writes, " + reader.name + " reads");
        ts::test::TempDir dir;
        copyDemo(dir);
        // Settings away from their defaults, a folder and converted elements.
        ASSERT_EQ(run(writer, dir.path(),
                      "demo.tsp 'convert.shades = 16;system.saveMapsParams = false;"
                      "do \"script.spt\", \"build\"'")
                      .status,
                  0);
        const std::string written = dir.read("demo.tsp");
        const std::string index = dir.read("demo.ref");
        ASSERT_FALSE(written.empty());
        // A run that changes nothing: the reader writes the project back as it read it.
        ASSERT_EQ(run(reader, dir.path(), "demo.tsp 'messages = 1'").status, 0);
        EXPECT_TRUE(dir.read("demo.tsp") == written) << "after:\n" << dir.read("demo.tsp") << "\nbefore:\n" << written;
        EXPECT_TRUE(dir.read("demo.ref") == index);
    }
}

// The same script in French and in English keywords, run by both editions: the four runs
// write the same project and show the same messages.
TEST(Editions, FrenchAndEnglishKeywordsRunTheSameInBothEditions) {
    const std::string french =
        "# Script en fran\xE7" "ais\r\n"
        "convert.nuances = 16\r\n"
        "convert.tronquer = vrai\r\n"
        "plateforme \"Game Boy Advance, Nintendo\"\r\n"
        "inclure \"inc.spt\"\r\n"
        "conv tset src=ship\r\n"
        "faire \"lib.spt\", \"proc\"\r\n"
        "msgbox \"jamais\", \"Fin\"\r\n";
    const std::string english =
        "# A script in English keywords\r\n"
        "convert.shades = 16\r\n"
        "convert.truncate = true\r\n"
        "platform \"Game Boy Advance, Nintendo\"\r\n"
        "include \"inc.spt\"\r\n"
        "conv tset src=ship\r\n"
        "do \"lib.spt\", \"proc\"\r\n"
        "msgbox \"jamais\", \"Fin\"\r\n";
    const std::string included = "msgbox \"inclus\", \"Lib\"\r\n";
    // The procedure's "end" ends the whole run: the message after "do" never shows.
    const std::string lib = "_proc:\r\nmsgbox \"proc\", \"Lib\"\r\nfin\r\nmsgbox \"jamais\", \"Lib\"\r\n";

    std::vector<std::pair<std::string, std::string>> reference;
    std::string referenceErr;
    for (const Edition& edition : {kEnglish, kFrench}) {
        for (const std::string* script : {&french, &english}) {
            SCOPED_TRACE(std::string(edition.name) + (script == &french ? ", French keywords" : ", English keywords"));
            ts::test::TempDir dir;
            copyDemo(dir);
            dir.write("run.spt", *script);
            dir.write("lib.spt", lib);
            dir.write("inc.spt", included);
            RunResult r = run(edition, dir.path(), "demo.tsp 'include \"run.spt\"'");
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.err, "Lib: inclus\nLib: proc\n");
            fs::remove(dir.file("run.spt"));
            auto files = snapshot(dir.path());
            EXPECT_NE(dir.read("demo.tsp").find("convert.shades = 16"), std::string::npos);
            EXPECT_NE(dir.read("demo.tsp").find("convert.truncate = true"), std::string::npos);
            if (reference.empty()) {
                reference = files;
            } else {
                EXPECT_TRUE(files == reference) << "the files written differ from the first run's";
            }
        }
    }
}

// The editions differ in what the user reads.
TEST(Editions, MessagesFollowTheEdition) {
    ts::test::TempDir dir;
    RunResult en = run(kEnglish, dir.path(), "p.tsp 'frobnicate 1'");
    RunResult fr = run(kFrench, dir.path(), "p.tsp 'frobnicate 1'");
    EXPECT_EQ(en.status, 1);
    EXPECT_EQ(fr.status, 1);
    // The script error caption stays French in both editions (printed in UTF-8).
    EXPECT_EQ(en.err, "Erreur d'ex\xC3\xA9" "cution du script: The identifier frobnicate doesn't exist.\n");
    EXPECT_EQ(fr.err, "Erreur d'ex\xC3\xA9" "cution du script: L'identificateur frobnicate n'existe pas.\n");
    EXPECT_EQ(run(kFrench, dir.path(), "--version").status, 0);
}

// Each program opens the window module of its own edition, and each module was linked with the
// texts of that edition.
TEST(Editions, EachProgramHasTheWindowModuleOfItsEdition) {
    struct Case {
        const Edition& program;
        const char* module;
        ts::Edition edition;
        const char* branch;
    };
    for (const Case& c : {Case{kEnglish, "tilesmithery-ui.so", ts::Edition::English, "Tilesets"},
                          Case{kFrench, "tilesmithery-fr-ui.so", ts::Edition::French, "Mosa\xEFques"}}) {
        SCOPED_TRACE(c.module);
        const fs::path module = fs::path(c.program.program).parent_path() / c.module;
        if (!fs::exists(module)) GTEST_SKIP() << "built without the window";
        // Alone in a folder, the program names the module it looks for.
        ts::test::TempDir alone;
        fs::copy_file(c.program.program, fs::path(alone.path()) / "program");
        RunResult r;
        int status = -1;
        r.err = ts::test::runCommand("cd '" + alone.path() + "' && QT_QPA_PLATFORM=offscreen ./program p.tsp", status);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2);
        EXPECT_NE(r.err.find(std::string("/") + c.module), std::string::npos) << r.err;

        void* handle = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << dlerror();
        using EditionFn = ts::Edition (*)();
        using TrFn = const char* (*)(ts::T);
        auto editionOf = reinterpret_cast<EditionFn>(dlsym(handle, "_ZN2ts7editionEv"));
        auto trOf = reinterpret_cast<TrFn>(dlsym(handle, "_ZN2ts2trENS_1TE"));
        ASSERT_NE(editionOf, nullptr);
        ASSERT_NE(trOf, nullptr);
        EXPECT_EQ(editionOf(), c.edition);
        EXPECT_STREQ(trOf(ts::T::BranchTilesets), c.branch);
    }
}

}  // namespace
