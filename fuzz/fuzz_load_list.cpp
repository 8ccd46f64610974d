// Fuzzes the object-list loader: strict reading, the recovery question (answered OK or Cancel by
// the option byte) and the tolerant re-reading, with a model that has integer and raw parameters.
#include "formats/model.h"
#include "formats/object_list.h"
#include "fuzz_load_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    fuzzload::State& s = fuzzload::prepare(bytes, size, ".lst.c", ts::TYPE_LISTE);
    if (ts::findModel(s.app, "Enemy") < 0) {
        ts::Model model;
        model.name = "Enemy";
        ts::addModelParam(model, "life", ts::ParamInteger, 4, "3");
        ts::addModelParam(model, "tag", ts::ParamRaw, 6, "abc");
        ts::addModelParam(model, "tiny", ts::ParamInteger, 2, "0x7fff");
        s.app.models.models.push_back(model);
    }
    s.app.models.current = 0;
    s.host.answers = {ts::Answer::Ok, ts::Answer::Ok, ts::Answer::Ok};
    if (size && (bytes[0] & 0x80)) s.host.answers.push_back(ts::Answer::Cancel);
    ts::ObjectList list;
    ts::resetObjectList(list, ts::currentModel(s.app));
    int ok = ts::currentPlatform(s.app).loadList(s.app, 0, list, s.data, nullptr, nullptr);
    if (ok && list.entries.size() != size_t(list.count) * size_t(list.entrySize)) __builtin_trap();
    // Saving what was read must work on any list that loaded.
    if (ok) ts::currentPlatform(s.app).saveList(s.app, 0, s.data, &s.tileset, list, 8, 8);
    return 0;
}
