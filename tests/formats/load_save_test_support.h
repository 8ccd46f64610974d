#pragma once
// Helpers shared by the load and save tests: project elements and data files in a temporary folder.
#include <string>

#include "app/app_state.h"
#include "test_support.h"

namespace ts::test {

inline ElementRecord makeElement(uint32_t type, const std::string& file, const std::string& name,
                                 const std::string& base = "gfx/hero.png") {
    ElementRecord e;
    e.typeAndFlags = type;
    e.file = file;
    e.name = name;
    e.baseFile = base;
    return e;
}

// Adds the element to the project and gives it back.
inline ElementRecord addElement(App& app, uint32_t type, const std::string& file, const std::string& name) {
    ElementRecord e = makeElement(type, file, name);
    app.elements.records.push_back(e);
    return e;
}

}  // namespace ts::test
