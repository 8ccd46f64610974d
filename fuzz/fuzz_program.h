#pragma once
// The program state a fuzz target runs its inputs against: made and initialised once, as the
// program starts, with a recording host whose boxes are forgotten before every input.
#include "app/app_init.h"
#include "app/app_state.h"
#include "host/host_services.h"

namespace fuzz {

struct Program {
    ts::RecordingHost host;
    ts::App app{host};
};

inline ts::App& startedProgram() {
    static Program* program = [] {
        auto* p = new Program;
        ts::initializeApp(p->app);
        return p;
    }();
    program->host.boxes.clear();
    return program->app;
}

}  // namespace fuzz
