// Fuzzes the definemodel block reader and the project lines written back from its models.
#include <memory>

#include "formats/model.h"
#include "formats/object_list.h"
#include "formats/project_lines.h"
#include "host/text_file.h"
#include "fuzz_load_support.h"
#include "fuzz_program.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    ts::App* app = &fuzz::startedProgram();
    ts::initializeModels(*app);
    std::unique_ptr<ts::TextFile> file =
        ts::TextFile::fromText(std::string(reinterpret_cast<const char*>(bytes), size));
    for (int i = 0; i < 12 && !file->eof(); ++i) ts::defineModelFromFile(*app, *file, "M" + std::to_string(i % 11));
    for (const ts::Model& model : app->models.models) {
        if (model.params.size() > 100) __builtin_trap();
        int sum = 12;
        for (const ts::ModelParam& p : model.params) {
            if (p.name.size() > 31 || p.defaultText.size() > 15) __builtin_trap();
            sum += p.size;
        }
        if (sum != model.entrySize) __builtin_trap();
        ts::ObjectList list;
        ts::resetObjectList(list, model);
        ts::addListEntry(*app, list, 1, 2, 3);
    }
    if (app->models.models.size() > 10) __builtin_trap();
    ts::projectModelLines(*app);
    return 0;
}
