#include "formats/format_table.h"

#include "formats/format_state.h"

namespace ts {

std::string* FormatSection::textField(int field) {
    return const_cast<std::string*>(static_cast<const FormatSection*>(this)->textField(field));
}

const std::string* FormatSection::textField(int field) const {
    switch (field) {
        case kFieldDeclaration: return &declaration;
        case kFieldEveryX: return &everyX;
        case kFieldElement: return &element;
        case kFieldElement2: return &element2;
        case kFieldElement3: return &element3;
        case kFieldLine: return &line;
        case kFieldEnd: return &end;
        case kFieldExt: return &ext;
        case kFieldRefInfo: return &refInfo;
        default: return nullptr;
    }
}

namespace {

// The header comments stay French in every edition; "M\xE9moire" is Windows-1252.
// Packed data (LZ77 or run-length) get one more comment line, and their array is one of 32-bit
// words: %packed% of them, %memory% bytes. Bitmap arrays take the type of their pixels (%type%:
// char up to 8 bits, short at 15, long at 32), so that 15- and 32-bit pixels are not cut to bytes.
#define PACKED_COMMENT "%+ifpacked%//Compression: %packing%, %unpacked% octets\r\n%+end%"
const char kBitmapDeclaration[] =
    "//%file%\r\n//Converti avec Tilesmithery par Orvane\r\n//Bitmap %depth% bits (\"%link%\")\r\n"
    "//Taille: %sizex%*%sizey%\r\n//M\xE9" "moire: %memory% octets\r\n" PACKED_COMMENT "\r\n"
    "const unsigned %type% %user[2]%%name%_bitmap8%+ifpacked%[%packed%]=\t{\r\n"
    "%+else%[%sizey%][%sizex%]=\t{\r\n%+end%";

const char kPaletteDeclaration[] =
    "//%file%\r\n//Converti avec Tilesmithery par Orvane\r\n//Palette\r\n//Taille: %size%\r\n"
    "//M\xE9" "moire: %memory% octets\r\n\r\n"
    "const unsigned short %user[2]%%name%_palette[%size%]=\t{\r\n";

const char kTilesetDeclaration[] =
    "//%file%\r\n//Converti avec Tilesmithery par Orvane\r\n"
    "//Tileset %+if<>(%%depth% bits (\"%link%\")%+else%(\"%link%\")%+end%\r\n"
    "//Taille: %tilex%*%tiley%*%size%\r\n//M\xE9" "moire: %memory% octets\r\n" PACKED_COMMENT "\r\n"
    "const unsigned %type% %user[2]%%name%_tiles[%+ifpacked%%packed%]%+else%%memory%]%+end%=\t{\r\n";

const char kMapDeclaration[] =
    "//%file%\r\n//Converti avec Tilesmithery par Orvane\r\n"
    "//Map (\"%null%\",\"%link%\"%+if=,%,%tilebase%,%$gfxmask%)%+else%)%+end%\r\n"
    "//Taille: %tilex%*%tiley% * %sizex%*%sizey%\r\n//M\xE9" "moire: %memory% octets\r\n" PACKED_COMMENT
    "%+if<>c%\r\nc%+else%c%+endif%onst unsigned %type% %user[2]%%name%_map"
    "%+ifpacked%[%packed%]=\t{\r\n%+else%[%sizey%][%sizex%]=\t{\r\n\t{%+end%";
#undef PACKED_COMMENT

const char kListDeclaration[] =
    "//%file%\r\n//Converti avec Tilesmithery par Orvane\r\n"
    "//Liste (\"%link%\"%+if=,%, \"%model%\")%+else%)%+end%\r\n"
    "//Taille: %tilex%*%tiley%\r\n//M\xE9" "moire: %memory% octets\r\n\r\n"
    "%user[1]%\r\n\r\nconst unsigned int %name%_liste_nbEle=%size%;\r\n\r\n"
    "%user[2]%const %type% %name%_liste[]=\t{";

// Packed map data are one array without rows.
const char kMapEnd[] = "%+ifpacked%\b\b};\r\n%+else%\b\b\b\b\b\r\n};\r\n%+end%";

FormatSection makeSection(const char* declaration, int nEvery, const char* everyX, const char* element,
                          const char* element2, const char* element3, const char* line, const char* end,
                          const char* ext) {
    FormatSection s;
    s.declaration = declaration;
    s.nEvery = nEvery;
    s.everyX = everyX;
    s.element = element;
    s.element2 = element2;
    s.element3 = element3;
    s.line = line;
    s.end = end;
    s.ext = ext;
    return s;
}

}  // namespace

FormatRecord standardFormat() {
    FormatRecord f;
    f.name = "Standard";
    f.sections[kSectionBitmap] = makeSection(kBitmapDeclaration, 12, "\b\r\n", "0x%02x, ", "0x%04x, ",
                                             "0x%08x, ", "", "\b\b};\r\n", ".bmp.c");
    f.sections[kSectionPalette] = makeSection(kPaletteDeclaration, 8, "\b\r\n", "0x%04x, ", "", "", "\b\r\n",
                                              "\b\b};\r\n", ".pal.c");
    f.sections[kSectionTileset] = makeSection(kTilesetDeclaration, 12, "\b\r\n", "0x%02x, ", "0x%04x, ",
                                              "0x%08x, ", "", "\b\b};\r\n", ".til.c");
    f.sections[kSectionMap] = makeSection(kMapDeclaration, 8, "\b\r\n", "0x%04x, ", "0x%02x, ", "0x%08x, ",
                                          "\b\b},\r\n\t{", kMapEnd, ".map.c");
    f.sections[kSectionList] = makeSection(kListDeclaration, 0, "", "\r\n\t{#type#,#x#,#y##+param:\",\":\"\"#},",
                                           "", "", "", "\r\n};\r\n", ".lst.c");
    f.type8 = "char";
    f.type16 = "short";
    f.type32 = "long";
    f.typesd = "SPRITE_LISTE";
    f.user[0] = "#include \"def.h\"";
    return f;
}

int findFormat(const App& app, const std::string& name) {
    const auto& records = formatState(app).records;
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].name == name) return int(i);
    return -1;
}

void applyFormat(App& app, int index) {
    if (index < 0 || size_t(index) >= formatState(app).records.size()) return;
    const FormatRecord& record = formatState(app).records[size_t(index)];
    FormatRecord& current = formatState(app).current;
    current.name = record.name;
    for (int s = kSectionBitmap; s <= kSectionList; ++s) current.sections[size_t(s)] = record.sections[size_t(s)];
    current.type8 = record.type8;
    current.type16 = record.type16;
    current.type32 = record.type32;
    current.typesd = record.typesd;
    current.bits4 = record.bits4;
    current.bits8 = record.bits8;
    current.user = record.user;
    formatState(app).currentIndex = index;
    formatState(app).currentName = record.name;
    formatState(app).selectedSinceStartUp = true;
}

const FormatSection& currentSection(const App& app, int section) {
    if (section < 0 || section >= kSectionCount) section = kSectionEmpty;
    return formatState(app).current.sections[size_t(section)];
}

}  // namespace ts
