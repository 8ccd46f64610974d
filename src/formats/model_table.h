#pragma once
// Parameter models of object lists: what each list entry carries after its x, y and type.
#include <string>
#include <vector>

namespace ts {

constexpr int kModelCapacity = 10;
constexpr int kModelParamCapacity = 100;
constexpr size_t kModelParamNameMax = 31;
constexpr size_t kModelParamDefaultMax = 15;
constexpr int kModelParamSizeMax = 4096;  // bytes of one parameter (larger sizes are cut)
constexpr int kListEntryHeader = 12;  // x, y and type, 32-bit signed each

enum ModelParamKind : int { ParamInteger = 1, ParamRaw = 2 };

struct ModelParam {
    int kind = ParamInteger;
    int size = 4;              // bytes in an entry
    std::string name;          // at most 31 characters
    std::string defaultText;   // at most 15 characters
};

struct Model {
    std::string name;
    std::vector<ModelParam> params;  // at most kModelParamCapacity
    int entrySize = kListEntryHeader;  // 12 + the sum of the parameter sizes
};

struct ModelTable {
    std::vector<Model> models;  // at most kModelCapacity, in definition order
    int current = 0;
    bool selectedSinceStartUp = false;  // a model was selected after the start-up step
};

struct App;
// The ModelTable of the running program (held by the process state).
ModelTable& modelTable(App& app);
const ModelTable& modelTable(const App& app);

}  // namespace ts
