// The French table against the English one: every id has exactly one French text, and each
// French text takes the same printf arguments as its English twin, so that a message box never
// reads an argument that is not there.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "resources/printf_arguments.h"
#include "resources/texts.h"

namespace ts {
namespace {

std::string describe(T id) {
    return std::string(textIdName(id)) + " (English: \"" + englishText(id) + "\")";
}

TEST(FrenchTable, EveryIdHasExactlyOneFrenchText) {
    std::vector<std::string> missing, doubled;
    for (int i = 0; i < int(T::Count_); ++i) {
        const T id = T(i);
        const int rows = frenchRowCount(id);
        if (rows == 0) missing.push_back(describe(id));
        if (rows > 1) doubled.push_back(textIdName(id));
    }
    std::string list;
    for (const std::string& m : missing) list += "  " + m + "\n";
    EXPECT_TRUE(missing.empty()) << missing.size() << " ids have no French text:\n" << list;
    list.clear();
    for (const std::string& d : doubled) list += "  " + d + "\n";
    EXPECT_TRUE(doubled.empty()) << "ids given more than once in texts/fr/:\n" << list;
}

TEST(FrenchTable, EveryFrenchTextTakesTheSameArguments) {
    std::string list;
    for (int i = 0; i < int(T::Count_); ++i) {
        const T id = T(i);
        const char* french = frenchTextOrNull(id);
        if (!french) continue;  // reported by the test above
        PrintfArguments en = printfArguments(englishText(id));
        PrintfArguments fr = printfArguments(french);
        if (!en.valid || !fr.valid || en.kinds != fr.kinds)
            list += "  " + std::string(textIdName(id)) + ": \"" + englishText(id) + "\" takes " +
                    en.summary() + ", \"" + french + "\" takes " + fr.summary() + "\n";
    }
    EXPECT_TRUE(list.empty()) << "French texts whose conversions differ from the English ones:\n" << list;
}

// Each English text file has its French twin and the reverse, so a new file is not forgotten.
TEST(FrenchTable, EachTextFileHasItsFrenchTwin) {
    namespace fs = std::filesystem;
    const fs::path english = fs::path(TS_SOURCE_DIR) / "src/resources/texts";
    const fs::path french = english / "fr";
    for (const auto& entry : fs::directory_iterator(english)) {
        if (entry.path().extension() == ".inc") {
            EXPECT_TRUE(fs::exists(french / entry.path().filename())) << entry.path().filename();
        }
    }
    for (const auto& entry : fs::directory_iterator(french)) {
        if (entry.path().extension() == ".inc") {
            EXPECT_TRUE(fs::exists(english / entry.path().filename())) << entry.path().filename();
        }
    }
}

// "\xE9diteur" is not "\xE9" then "diteur": a hex escape takes every hex digit that follows, so
// the compiler keeps a wrong byte (GCC only warns). Such a letter must start a new piece of the
// string: "\xE9" "diteur".
TEST(TextFiles, NoHexEscapeRunsIntoTheNextLetter) {
    namespace fs = std::filesystem;
    const fs::path english = fs::path(TS_SOURCE_DIR) / "src/resources/texts";
    for (const fs::path& folder : {english, english / "fr"})
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() != ".inc") continue;
            std::ifstream in(entry.path());
            std::string line;
            for (int number = 1; std::getline(in, line); ++number)
                for (size_t at = line.find("\\x"); at != std::string::npos; at = line.find("\\x", at + 1))
                    EXPECT_FALSE(at + 4 < line.size() && std::isxdigit(static_cast<unsigned char>(line[at + 4])))
                        << entry.path().filename() << ":" << number << ": " << line;
        }
}

TEST(FrenchTable, TellingRowsAndTextsThatStayFrench) {
    EXPECT_STREQ(frenchText(T::MenuNew), "Nouveau\t   Ctrl+N");
    EXPECT_STREQ(frenchText(T::MenuCopyPreview), "Copier l'aper\xE7u\t   Ctrl+C");
    EXPECT_STREQ(frenchText(T::BranchTilesets), "Mosa\xEFques");
    EXPECT_STREQ(frenchText(T::EditorTitle), "%s - Editeur de maps");
    EXPECT_STREQ(frenchText(T::EditorSaveQuestion), "Voulez-vous enregistrer les modifications apport\xE9" "es \xE0 %s?");
    EXPECT_STREQ(frenchText(T::CaptionTilesConverter), "Convertisseur de mosa\xEFques");
    EXPECT_STREQ(frenchText(T::CaptionChoisitFormat), "Erreur ChoisitFormat");
    EXPECT_STREQ(frenchText(T::ScriptUnknownIdentifier), "L'identificateur %s n'existe pas.");
    EXPECT_STREQ(frenchText(T::BitsRenamePlane), "Renommage des bits: Sp\xE9" "cifiez un fond (Bits[0].BitActif).");
    // The same in both editions.
    for (T id : {T::CaptionScriptError, T::CaptionQuestion, T::CaptionAttentionBang, T::OptionsCaption,
                 T::OptionsTabConversion, T::OptionsTabConversionPlus, T::BranchPalettes, T::BranchBitmaps,
                 T::MenuDocumentation, T::ImgLightingUnknownParameter})
        EXPECT_STREQ(frenchText(id), englishText(id)) << textIdName(id);
}

TEST(PrintfArgumentsCheck, ReadsConversionsAsPrintfDoes) {
    EXPECT_EQ(printfArguments("Format not found: %s").summary(), "(s)");
    EXPECT_EQ(printfArguments("%i x %03i, %#.2f Mo, %04x, %lld, %c, %u").summary(), "(d d f u lld c u)");
    EXPECT_EQ(printfArguments("100%% and %%packing%%").summary(), "()");
    // Stray percent signs in plain texts (never formatted) are no conversions.
    EXPECT_EQ(printfArguments("higher than 100%; instead 200% for the plane").summary(), "()");
    EXPECT_EQ(printfArguments("Valid operators: |, &, +, -, *, /, %, ^, =.").summary(), "()");
    // A French text may move its placeholders, with positional forms only.
    EXPECT_EQ(printfArguments("%2$s dans %1$i").kinds, printfArguments("%i: %s").kinds);
    EXPECT_NE(printfArguments("%s: %i").kinds, printfArguments("%i: %s").kinds);
    EXPECT_FALSE(printfArguments("%2$s and %s").valid);  // mixed forms
    EXPECT_FALSE(printfArguments("%2$s alone").valid);   // a hole at argument 1
    EXPECT_FALSE(printfArguments("text ending in %").valid);
    EXPECT_EQ(printfArguments("%*d").summary(), "(d d)");
}

}  // namespace
}  // namespace ts
